// The head-up display: play time, score, lives and the hull and shield bars. Flat quads in
// front of the camera, drawn in both eye passes so the HUD floats at its own depth. Owners push
// the values in; only the clock advances by itself.
#pragma once

#include <cstdint>

#include "common/hud_element.h"
#include "common/vec3.h"

// One cell of the digit row of the HUD atlas: 0..9 the digits, 10 the separator, 11 spare.
struct DigitGlyph {
    int8_t cell = 0;
    Vec3 position;  // top-left corner; the quad extends right (-z) and down (-y)
    float width = 0.0f;
    float height = 0.0f;
    float uLeft = 0.0f;
    float vTop = 0.0f;
    float uRight = 0.0f;
    float vBottom = 0.0f;
    float brightness = 1.0f;  // alpha factor

    // Out-of-range cells keep the old one; the texture rectangle always follows the cell.
    void setGlyph(int n);
    void setPosition(float x, float y, float z) { position = {x, y, z}; }
    void setSize(float w, float h) {
        width = w;
        height = h;
    }
    void setBrightness(float b) { brightness = b; }
    void draw() const;
};

// The play-time clock mm:ss:cc (mode 1) or mm:ss (mode 2).
struct TimeDisplay : HudElement {
    float elapsed = 0.0f;  // never reset: the clock runs for the whole game
    float width = 0.0f;    // of the whole row
    float height = 0.0f;
    int32_t mode = 0;
    DigitGlyph glyphs[8];

    TimeDisplay();
    void setSize(float w, float h) {
        width = w;
        height = h;
    }
    void setBrightness(float b);
    void arrange(int32_t newMode);
    void update();
    void draw() const;
};

// The score label followed by six digits.
struct ScoreDisplay : HudElement {
    float width = 0.0f;
    float height = 0.0f;
    int32_t total = 0;
    DigitGlyph glyphs[6];

    ScoreDisplay();
    void setSize(float w, float h) {
        width = w;
        height = h;
    }
    void setBrightness(float b);
    void arrange(bool visible);
    void addScore(int32_t points);
    // The digits keep showing the old score until the next addScore.
    void resetScore() { total = 0; }
    void draw() const;
};

// A row of up to five ship icons; the last one is dimmed.
struct LivesDisplay : HudElement {
    int32_t count = 0;

    void setCount(int32_t n) { count = n; }
    void addLife() {
        if (count < 5) ++count;
    }
    void removeLife() {
        if (count > 0) --count;
    }
    void draw() const;
};

// A bar 0.2 units long per point of value (100 fills the 20-unit backing), not clamped.
struct BarGauge : HudElement {
    float value = 0.0f;
    float height = 1.0f;

    void setValue(float v) { value = v; }
    void draw() const;
};

extern TimeDisplay timeDisplay;
extern ScoreDisplay scoreDisplay;
extern LivesDisplay livesDisplay;
extern BarGauge hullGauge;
extern BarGauge shieldGauge;
