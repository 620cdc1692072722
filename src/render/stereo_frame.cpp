#include "render/stereo_frame.h"

#include <GL/gl.h>
#include <GL/glext.h>  // OpenGL 1.3 names, which Windows' gl.h leaves out

#include <cmath>
#include <cstdlib>
#include <initializer_list>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "platform/video.h"
#include "player/player_ship.h"
#include "view/flight_camera.h"
#include "view/glasses.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"
#include "world/pickup.h"

namespace {

// OpenGL 1.3's multitexture calls, asked of the driver: Windows' opengl32 exports only 1.1.
// Looked up with each GL context, when the frame checks that they are there.
struct MultitextureCalls {
    void(APIENTRY* activeTexture)(GLenum) = nullptr;
    void(APIENTRY* multiTexCoord2f)(GLenum, GLfloat, GLfloat) = nullptr;
};
MultitextureCalls multitexture;

// One texture repeat per 600 units of sideways or vertical movement.
constexpr float kBackdropScroll = 0.0016666667f;

// The backdrop's scroll, on the current texture matrix.
void scrollBackdrop() {
    glTranslatef((player.shakeOffset.z + player.position.z) * kBackdropScroll,
                 (player.shakeOffset.y + player.position.y) * kBackdropScroll, 0.0f);
}

// The backdrop quad's corners: the plane x = -965, y and z from -500 to 500, texture
// coordinates s = (500 - z) * 0.003 and t = (500 - y) * 0.003 (0 to 3).
constexpr float kBackdropX = -965.0f;
constexpr float kBackdropCorners[4][4] = {
    {0, 0, 500, 500}, {0, 3, -500, 500}, {3, 3, -500, -500}, {3, 0, 500, -500}};  // s t y z

using Matrix3 = double[3][3];

void multiply(const Matrix3& a, const Matrix3& b, Matrix3& out) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            out[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
}

bool invert(const Matrix3& m, Matrix3& out) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (det == 0.0) return false;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            // The cofactor of (c, r), over the determinant.
            const int r0 = (c + 1) % 3, r1 = (c + 2) % 3, c0 = (r + 1) % 3, c1 = (r + 2) % 3;
            out[r][c] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
        }
    return true;
}

// Where the point (s, t) of the backdrop's texture lands on the screen through the camera of
// `eyeOffset`: clip x, y and w as rows, of (s, t, 1).
void backdropToClip(float eyeOffset, Matrix3& out) {
    GLdouble projection[16], modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    loadFlightCamera(eyeOffset);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    // (s, t, 1) to the plane's (y, z, 1).
    constexpr double kUnits = 1000.0 / 3.0;
    const Matrix3 plane = {{0, -kUnits, 500}, {-kUnits, 0, 500}, {0, 0, 1}};
    Matrix3 clip;  // rows clip x, y, w; columns y, z, 1 at x = kBackdropX
    const int rows[3] = {0, 1, 3};
    for (int r = 0; r < 3; ++r) {
        double pm[4];  // row rows[r] of projection x modelview
        for (int c = 0; c < 4; ++c) {
            pm[c] = 0;
            for (int k = 0; k < 4; ++k) pm[c] += projection[k * 4 + rows[r]] * modelview[c * 4 + k];
        }
        clip[r][0] = pm[1];
        clip[r][1] = pm[2];
        clip[r][2] = pm[0] * kBackdropX + pm[3];
    }
    multiply(clip, plane, out);
}

bool combinedBackdropAvailable() {
    // Two texture units and the combiner's interpolation are OpenGL 1.3.
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version == nullptr) return false;
    char* rest = nullptr;
    const long major = std::strtol(version, &rest, 10);
    const long minor = rest != nullptr && *rest == '.' ? std::strtol(rest + 1, nullptr, 10) : 0;
    // A driver that names a version but hands out no entry point gets the two passes.
    return (major > 1 || (major == 1 && minor >= 3)) &&
           platform::glFunction("glActiveTexture", multitexture.activeTexture) &&
           platform::glFunction("glMultiTexCoord2f", multitexture.multiTexCoord2f);
}

float unitClamped(float v) {
    return v < 0.0f ? 0.0f : v > 1.0f ? 1.0f : v;
}

// The texel's factor in each channel an eye writes (0 in the others): the colour that eye's
// backdrop would have been drawn in, times `scale`.
void eyeFactors(const GLfloat (&colour)[4], const float (&channels)[3], float scale,
                GLfloat (&out)[4]) {
    for (int c = 0; c < 3; ++c) out[c] = channels[c] * unitClamped(colour[c]) * scale;
}

// The current texture unit on the backdrop with a combiner: RGB is `mode` of the sources'
// colours (two, or three to interpolate), alpha that of `alphaSource`, `constant` the constant.
void combineBackdrop(GLenum mode, std::initializer_list<GLenum> rgbSources,
                     const GLfloat (&constant)[4], GLenum alphaSource) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures.backdropTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, mode);
    GLenum slot = 0;
    for (GLenum source : rgbSources) {
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB + slot, source);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB + slot, GL_SRC_COLOR);
        ++slot;
    }
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, constant);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, alphaSource);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
}

// What drawing the backdrop leaves for the draws after it in an eye pass.
void leaveBackdropState() {
    glBindTexture(GL_TEXTURE_2D, textures.backdropTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexCoord2f(3, 0);
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
}

// One eye's pass through that eye's colour mask; the backdrop too unless it is drawn already.
void drawEyePass(float eyeOffset, bool withBackdrop) {
    loadFlightCamera(eyeOffset);

    if (!withBackdrop) {
        leaveBackdropState();
    } else {
        glMatrixMode(GL_TEXTURE);
        glPushMatrix();
        glLoadIdentity();
        scrollBackdrop();
        drawBackdrop();
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }

    // Camera-fixed overlays, before the world transform so they stay put on screen.
    if (noticeBanner.isStereo()) noticeBanner.drawBanner();
    if (messageBanner.isStereo()) messageBanner.drawBanner();
    timeDisplay.draw();
    scoreDisplay.draw();
    livesDisplay.draw();
    hullGauge.draw();
    shieldGauge.draw();
    if (shared.playStarted) player.drawCockpitOverlay();

    glRotatef(player.bank, 1, 0, 0);
    glTranslatef(player.position.x + player.cameraOffset.x,
                 player.position.y + player.cameraOffset.y + player.shakeOffset.y,
                 player.position.z + player.cameraOffset.z + player.shakeOffset.z);
    drawScene();
}

// Pickups and enemy fighters have their places in the scene between the rocks and the ship.
void drawPickups() {
    for (const Pickup& pickup : pickups) pickup.draw();
}
void drawFighters() {
    for (const EnemyFighter& fighter : fighters) fighter.draw();
}

}  // namespace

// Both eyes' backdrops in one pass after both eye passes (every draw adds its light, so the
// order does not change the sum): the quad through the right eye's camera, its texture sampled
// on unit 0 where the right eye sees it and on unit 1 where the left eye sees the same pixel
// (the plane mapped from one view into the other, a projective texture matrix), each texel
// scaled into its own eye's channels by the colour that eye's pass had current. The same texels
// land on the same pixels as in two passes, for half the pixels shaded.
void drawStereoBackdrop(float separation, const float (&rightColour)[4],
                        const float (&leftColour)[4]) {
    // renderStereoFrame has looked the calls up for this frame; a caller of its own has not.
    if (multitexture.activeTexture == nullptr && !combinedBackdropAvailable()) return;
    float leftChannels[3], rightChannels[3];
    leftEyeChannels(leftChannels);
    for (int c = 0; c < 3; ++c) rightChannels[c] = 1.0f - leftChannels[c];
    // One alpha blends both eyes, as each eye's own draw was blended, where the two are the
    // same or one eye's is 0 (that eye adds nothing); otherwise each eye's alpha is folded into
    // its factors (a rounding apart).
    const float rightAlpha = unitClamped(rightColour[3]), leftAlpha = unitClamped(leftColour[3]);
    const bool oneAlpha = rightAlpha == leftAlpha || rightAlpha == 0.0f || leftAlpha == 0.0f;
    GLfloat rightFactors[4], leftFactors[4];
    eyeFactors(rightColour, rightChannels, oneAlpha ? rightAlpha > 0.0f : rightAlpha, rightFactors);
    eyeFactors(leftColour, leftChannels, oneAlpha ? leftAlpha > 0.0f : leftAlpha, leftFactors);
    rightFactors[3] = oneAlpha ? std::fmax(rightAlpha, leftAlpha) : 1.0f;
    leftFactors[3] = 0.0f;
    const auto dark = [](const GLfloat (&f)[4]) { return f[0] == 0 && f[1] == 0 && f[2] == 0; };
    if (rightFactors[3] == 0.0f || (dark(rightFactors) && dark(leftFactors))) return;  // faded out

    Matrix3 right, left, leftInverse, rightToLeft;
    backdropToClip(separation, left);
    backdropToClip(-separation, right);  // leaves the right eye's camera loaded
    if (!invert(left, leftInverse)) return;
    multiply(leftInverse, right, rightToLeft);
    const Matrix3& h = rightToLeft;
    const GLdouble texture1[16] = {h[0][0], h[1][0], 0, h[2][0], h[0][1], h[1][1], 0, h[2][1],
                                   0,       0,       1, 0,       h[0][2], h[1][2], 0, h[2][2]};

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    const GLboolean lighting = glIsEnabled(GL_LIGHTING), fog = glIsEnabled(GL_FOG),
                    texturing = glIsEnabled(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    // Unit 0: the right eye's texel times its factors, nothing in the left eye's channels.
    combineBackdrop(GL_MODULATE, {GL_TEXTURE, GL_CONSTANT}, rightFactors, GL_CONSTANT);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    scrollBackdrop();
    // Unit 1: its own texel times the left eye's factors where those are, unit 0's elsewhere.
    multitexture.activeTexture(GL_TEXTURE1);
    combineBackdrop(GL_INTERPOLATE, {GL_TEXTURE, GL_PREVIOUS, GL_CONSTANT}, leftFactors,
                    GL_PREVIOUS);
    glLoadIdentity();
    scrollBackdrop();
    glMultMatrixd(texture1);
    glBegin(GL_QUADS);
    for (const auto& c : kBackdropCorners) {
        multitexture.multiTexCoord2f(GL_TEXTURE0, c[0], c[1]);
        multitexture.multiTexCoord2f(GL_TEXTURE1, c[0], c[1]);
        glVertex3f(kBackdropX, c[2], c[3]);
    }
    glEnd();
    glLoadIdentity();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    multitexture.activeTexture(GL_TEXTURE0);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    if (!texturing) glDisable(GL_TEXTURE_2D);
    if (lighting) glEnable(GL_LIGHTING);
    if (fog) glEnable(GL_FOG);
}

void renderStereoFrame() {
    // Clear all four channels: a back buffer kept by the swap would otherwise carry the title
    // page's green into the game as a ghost. With red/blue glasses nothing in the game writes
    // green afterwards.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT);

    const float separation = shared.stereoEnabled ? shared.eyeSeparation : 0.0f;
    const bool combined = combinedBackdropAvailable();
    GLfloat rightColour[4], leftColour[4];
    glGetFloatv(GL_CURRENT_COLOR, rightColour);
    maskForRightEye();  // behind the blue (or cyan) filter
    drawEyePass(-separation, !combined);
    glGetFloatv(GL_CURRENT_COLOR, leftColour);
    maskForLeftEye();  // behind the red filter
    drawEyePass(separation, !combined);
    if (combined) {
        maskForBothEyes();
        drawStereoBackdrop(separation, rightColour, leftColour);
    }

    // Overlay pass: the same picture for both eyes, so it sits at screen depth.
    maskForBothEyes();
    glColor4f(1.0f, 1.0f, 1.0f, shared.fadeAlpha * 1.0f);
    loadFlightCamera();
    if (!noticeBanner.isStereo()) noticeBanner.drawBanner();
    if (!messageBanner.isStereo()) messageBanner.drawBanner();
}

void drawScene() {
    for (int i = 0; i < asteroids.count; ++i) asteroids.rock[i].draw();
    drawPickups();
    drawFighters();
    player.draw();
}

void drawBackdrop() {
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.backdropTexture);
    // 995 units ahead, just inside the fog's end; fog is off for it anyway.
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-965, 500, 500);
    glTexCoord2f(0, 3);
    glVertex3f(-965, -500, 500);
    glTexCoord2f(3, 3);
    glVertex3f(-965, -500, -500);
    glTexCoord2f(3, 0);
    glVertex3f(-965, 500, -500);
    glEnd();
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
}
