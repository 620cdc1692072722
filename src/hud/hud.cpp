#include "hud/hud.h"

#include <GL/gl.h>

#include "assets/banner_layout.h"
#include "assets/sprite_layout.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "view/fade.h"

TimeDisplay timeDisplay;
ScoreDisplay scoreDisplay;
LivesDisplay livesDisplay;
BarGauge hullGauge;
BarGauge shieldGauge;

namespace {

void beginAtlas(uint32_t texture) {
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void endAtlas() {
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
}

}  // namespace

void DigitGlyph::setGlyph(int n) {
    // Taken as a signed byte, as the cell is stored: values past the row leave it unchanged.
    const int8_t wanted = static_cast<int8_t>(n);
    if (wanted >= 0 && wanted < kDigitCells) cell = wanted;
    const AtlasRect rect = digitCell(cell);
    uLeft = rect.uLeft;
    uRight = rect.uRight;
    vTop = rect.vTop;
    vBottom = rect.vBottom;
}

void DigitGlyph::draw() const {
    const float remembered = currentAlpha();
    setFadedAlpha(brightness);
    beginAtlas(textures.hudAtlas);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glBegin(GL_QUADS);
    glTexCoord2f(uLeft, vTop);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glTexCoord2f(uRight, vTop);
    glVertex3f(0.0f, 0.0f, -width);
    glTexCoord2f(uRight, vBottom);
    glVertex3f(0.0f, -height, -width);
    glTexCoord2f(uLeft, vBottom);
    glVertex3f(0.0f, -height, 0.0f);
    glEnd();
    glPopMatrix();
    endAtlas();
    setFadedAlpha(remembered);
}

TimeDisplay::TimeDisplay() {
    for (DigitGlyph& glyph : glyphs) glyph.setGlyph(0);
    glyphs[2].setGlyph(kDigitSeparator);
    glyphs[5].setGlyph(kDigitSeparator);
}

void TimeDisplay::setBrightness(float b) {
    for (DigitGlyph& glyph : glyphs) glyph.setBrightness(b);
}

void TimeDisplay::arrange(int32_t newMode) {
    mode = newMode;
    const float glyphWidth = width * 0.125f;
    for (int i = 0; i < 8; ++i) {
        glyphs[i].setSize(glyphWidth, height);
        // Glyphs overlap: each starts 0.7 glyph widths right of the one before.
        glyphs[i].setPosition(position.x, position.y,
                              position.z - static_cast<float>(i) * glyphWidth * 0.7f);
    }
}

void TimeDisplay::update() {
    if (!active) return;
    elapsed += shared.frameSeconds;
    // In double precision: in float, elapsed x 100 loses the hundredths after a few minutes.
    const double seconds = static_cast<double>(elapsed);
    const int minutes = static_cast<int>(seconds * 0.016666668);
    const int wholeSeconds = static_cast<int>(seconds - 60.0 * minutes);
    const int hundredths =
        static_cast<int>(seconds * 100.0 - 100.0 * wholeSeconds - 6000.0 * minutes);
    glyphs[0].setGlyph(minutes / 10);
    glyphs[1].setGlyph(minutes % 10);
    glyphs[3].setGlyph(wholeSeconds / 10);
    glyphs[4].setGlyph(wholeSeconds % 10);
    glyphs[6].setGlyph(hundredths / 10);
    glyphs[7].setGlyph(hundredths % 10);
}

void TimeDisplay::draw() const {
    if (!active) return;
    const int shown = mode == 1 ? 8 : mode == 2 ? 5 : 0;
    for (int i = 0; i < shown; ++i) glyphs[i].draw();
}

ScoreDisplay::ScoreDisplay() {
    for (DigitGlyph& glyph : glyphs) glyph.setGlyph(0);
}

void ScoreDisplay::setBrightness(float b) {
    for (DigitGlyph& glyph : glyphs) glyph.setBrightness(b);
}

void ScoreDisplay::arrange(bool visible) {
    const float glyphWidth = width * 0.16666667f;
    for (int i = 0; i < 6; ++i) {
        glyphs[i].setSize(glyphWidth, height);
        // The digits start just right of the label, which is half the row wide.
        glyphs[i].setPosition(
            position.x, position.y,
            position.z - width * 0.5263157894736842f - static_cast<float>(i) * glyphWidth * 0.7f);
    }
    active = visible;
}

void ScoreDisplay::addScore(int32_t points) {
    // Wraps like the 32-bit register it models instead of overflowing into undefined behaviour.
    total = static_cast<int32_t>(static_cast<uint32_t>(total) + static_cast<uint32_t>(points));
    glyphs[5].setGlyph(total % 10);
    glyphs[4].setGlyph(total % 100 / 10);
    glyphs[3].setGlyph(total % 1000 / 100);
    glyphs[2].setGlyph(total % 10000 / 1000);
    glyphs[1].setGlyph(total % 100000 / 10000);
    glyphs[0].setGlyph(total / 100000);
}

void ScoreDisplay::draw() const {
    if (!active) return;
    beginAtlas(textures.hudAtlas);
    const float x = position.x, y = position.y, z = position.z;
    const float labelRight = z - 0.5f * width;
    const float labelBottom = y - 1.05f * height;
    glBegin(GL_QUADS);
    const AtlasRect& label = kScoreLabelRect;
    glTexCoord2f(label.uLeft, label.vTop);
    glVertex3f(x, y, z);
    glTexCoord2f(label.uRight, label.vTop);
    glVertex3f(x, y, labelRight);
    glTexCoord2f(label.uRight, label.vBottom);
    glVertex3f(x, labelBottom, labelRight);
    glTexCoord2f(label.uLeft, label.vBottom);
    glVertex3f(x, labelBottom, z);
    glEnd();
    endAtlas();
    for (const DigitGlyph& glyph : glyphs) glyph.draw();
}

void LivesDisplay::draw() const {
    if (!active) return;
    const float remembered = currentAlpha();
    beginAtlas(textures.spriteAtlas);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    for (int i = 0; i < count; ++i) {
        // The last life left is shown dimmed.
        if (i == count - 1) setFadedAlpha(0.4f);
        const float left = 2.5f - 5.0f * static_cast<float>(i);
        const float right = -2.5f - 5.0f * static_cast<float>(i);
        glBegin(GL_QUADS);
        glTexCoord2f(kLifeIconRect.uLeft, kLifeIconRect.vTop);
        glVertex3f(0.0f, 2.5f, left);
        glTexCoord2f(kLifeIconRect.uRight, kLifeIconRect.vTop);
        glVertex3f(0.0f, 2.5f, right);
        glTexCoord2f(kLifeIconRect.uRight, kLifeIconRect.vBottom);
        glVertex3f(0.0f, -2.5f, right);
        glTexCoord2f(kLifeIconRect.uLeft, kLifeIconRect.vBottom);
        glVertex3f(0.0f, -2.5f, left);
        glEnd();
    }
    glPopMatrix();
    endAtlas();
    setFadedAlpha(remembered);
}

void BarGauge::draw() const {
    if (!active) return;
    const float remembered = currentAlpha();
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    const float half = height * 0.5f;
    const float length = -0.2f * value;
    setFadedAlpha(0.45f);
    glBegin(GL_QUADS);
    glVertex3f(0.0f, half, 0.0f);
    glVertex3f(0.0f, half, length);
    glVertex3f(0.0f, -half, length);
    glVertex3f(0.0f, -half, 0.0f);
    glEnd();
    // The backing shows the full 100 and sits just behind the bar.
    setFadedAlpha(0.25f);
    glBegin(GL_QUADS);
    glVertex3f(-0.1f, half, 0.0f);
    glVertex3f(-0.1f, half, -20.0f);
    glVertex3f(-0.1f, -half, -20.0f);
    glVertex3f(-0.1f, -half, 0.0f);
    glEnd();
    glPopMatrix();
    glEnable(GL_LIGHTING);
    setFadedAlpha(remembered);
}
