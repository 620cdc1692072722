// The generated textures uploaded the way the game's loaders do and drawn the way the game
// draws them: title buttons must light exactly what the mouse can hit, and every atlas picture
// must show inside its rectangle with black around it.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/gl_test_context.h"

namespace {

std::vector<uint8_t> readTexture(const std::string& name) {
    std::ifstream in(std::filesystem::path(VOXMERE_ASSETS_DIR) / "Textures" / name,
                     std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

// Uploads a ".tex" file as the loaders do: repeat wrap, linear filters, mipmaps rebuilt by GLU.
GLuint upload(const std::string& name, bool rgba, bool mipmaps) {
    const auto texels = readTexture(name);
    const int edge = static_cast<int>(std::lround(std::sqrt(texels.size() / (rgba ? 4.0 : 1.0))));
    const GLenum format = rgba ? GL_RGBA : GL_LUMINANCE;
    GLuint id = 0;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, rgba ? GL_RGBA8 : GL_LUMINANCE8, edge, edge, 0, format,
                 GL_UNSIGNED_BYTE, texels.data());
    if (mipmaps)
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, edge, edge, format, GL_UNSIGNED_BYTE, texels.data());
    return id;
}

void texturedState() {
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1, 1, 1, 1);
}

using Frame = std::vector<uint8_t>;

int brightness(const Frame& f, int x, int y) {
    const uint8_t* p = &f[(static_cast<size_t>(y) * 640 + x) * 3];
    return std::max({p[0], p[1], p[2]});
}

// ---- Title pages, drawn through the title camera ----

struct Rect {
    int l, t, r, b;
};

void titleCamera() {
    testgl::clearAll();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(30, 0, 0, -350, 0, 0, 0, 1, 0);
    texturedState();
}

// A quad in the page plane x = -10, corners top-left, top-right, bottom-right, bottom-left.
void pageQuad(float yTop, float yBottom, float zLeft, float zRight, float s0, float s1, float t0,
              float t1) {
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex3f(-10, yTop, zLeft);
    glTexCoord2f(s1, t0);
    glVertex3f(-10, yTop, zRight);
    glTexCoord2f(s1, t1);
    glVertex3f(-10, yBottom, zRight);
    glTexCoord2f(s0, t1);
    glVertex3f(-10, yBottom, zLeft);
    glEnd();
}

constexpr int kLit = 24;

// The button lights a good part of the pixels the mouse can hit (l + 1 .. r - 1) and nothing
// on the edge pixels or in a band around them.
void expectButton(const Frame& f, const Rect& hit, double minLitShare, const char* what) {
    SCOPED_TRACE(what);
    int lit = 0, inside = 0, minX = 640, maxX = -1, minY = 480, maxY = -1;
    for (int y = hit.t + 1; y < hit.b; ++y) {
        for (int x = hit.l + 1; x < hit.r; ++x) {
            ++inside;
            if (brightness(f, x, y) > kLit) {
                ++lit;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    EXPECT_GE(static_cast<double>(lit) / inside, minLitShare) << lit << " of " << inside << " lit";
    const int band = 6;
    int stray = 0;
    for (int y = hit.t - band; y <= hit.b + band; ++y) {
        for (int x = hit.l - band; x <= hit.r + band; ++x) {
            const bool hittable = x > hit.l && x < hit.r && y > hit.t && y < hit.b;
            if (!hittable && y >= 0 && y < 480 && brightness(f, x, y) > kLit) {
                if (stray++ < 3)
                    ADD_FAILURE() << "lit outside the hit rectangle at " << x << ", " << y;
            }
        }
    }
    EXPECT_EQ(stray, 0);
}

TEST(AssetTitlePages, MainPageButtonsLightExactlyTheirHitRectangles) {
    REQUIRE_GL();
    upload("Texture4.tex", true, false);
    titleCamera();
    pageQuad(8, -8, 8, -8, 0, 1, 0, 1);
    const Frame f = testgl::readFrame();
    expectButton(f, {356, 289, 408, 313}, 0.6, "start");
    expectButton(f, {429, 289, 481, 313}, 0.6, "quit");
    expectButton(f, {161, 289, 229, 313}, 0.6, "help");
    expectButton(f, {246, 289, 334, 313}, 0.6, "options");
    // The title is there too: the upper third of the page is far from black.
    int lit = 0;
    for (int y = 70; y < 160; ++y) {
        for (int x = 150; x < 490; ++x) lit += brightness(f, x, y) > 128;
    }
    EXPECT_GT(lit, 3000);
}

TEST(AssetTitlePages, OptionsPageButtonsLightExactlyTheirHitRectangles) {
    REQUIRE_GL();
    const GLuint options = upload("Texture6.tex", true, false);
    titleCamera();
    glBindTexture(GL_TEXTURE_2D, options);
    pageQuad(8, -4, 8, -8, 0, 1, 0, 0.75f);                  // the page as drawn with stereo on
    pageQuad(-3.8f, -5, -3.5f, -6, 0.83f, 1, 0.83f, 0.92f);  // back button
    const Frame f = testgl::readFrame();
    expectButton(f, {195, 149, 257, 191}, 0.1, "stereo on");
    expectButton(f, {375, 149, 440, 191}, 0.1, "stereo off");
    expectButton(f, {192, 255, 241, 276}, 0.03, "separation 5");
    expectButton(f, {287, 255, 339, 276}, 0.08, "separation 3.5");
    expectButton(f, {388, 255, 444, 276}, 0.03, "separation 2");
    expectButton(f, {401, 326, 448, 345}, 0.6, "back");
}

TEST(AssetTitlePages, OptionsWidgetsLandOnBlackAndTheStereoMarkerStaysInItsButton) {
    REQUIRE_GL();
    upload("Texture6.tex", true, false);
    // The page alone is black where the widgets are drawn over it.
    titleCamera();
    pageQuad(8, -4, 8, -8, 0, 1, 0, 0.75f);
    Frame f = testgl::readFrame();
    const auto darkUnder = [&](float yTop, float yBottom, float zLeft, float zRight,
                               const char* what) {
        const double k = 240.0 / (40.0 * std::tan(15.0 * M_PI / 180.0));
        const int x0 = static_cast<int>(std::ceil(320 - k * zLeft)),
                  x1 = static_cast<int>(320 - k * zRight);
        const int y0 = static_cast<int>(std::ceil(240 - k * yTop)),
                  y1 = static_cast<int>(240 - k * yBottom);
        int lit = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) lit += brightness(f, x, y) > kLit;
        }
        EXPECT_EQ(lit, 0) << what;
    };
    darkUnder(4, 2, 1.5f, -1.5f, "on/off label");
    // The widgets drawn alone at their places: the label and the stereo marker are lit, and the
    // marker stays inside the hit rectangle of the button it marks.
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on ? "stereo on" : "stereo off");
        titleCamera();
        if (on) {
            pageQuad(3.6f, 2.5f, 5.3f, 3, 0.58f, 0.75f, 0.83f, 0.92f);
        } else {
            pageQuad(3.6f, 2.5f, -2.8f, -5.1f, 0.58f, 0.75f, 0.83f, 0.92f);
        }
        pageQuad(4, 2, 1.5f, -1.5f, on ? 0.0f : 0.25f, on ? 0.25f : 0.5f, 0.83f, 1);
        f = testgl::readFrame();
        const Rect hit = on ? Rect{195, 149, 257, 191} : Rect{375, 149, 440, 191};
        int markerLit = 0, stray = 0;
        for (int y = 100; y < 240; ++y) {
            for (int x = 150; x < 480; ++x) {
                if (x >= 270 && x <= 370) continue;  // the label between the buttons
                if (brightness(f, x, y) <= kLit) continue;
                ++markerLit;
                stray += !(x > hit.l && x < hit.r && y > hit.t && y < hit.b);
            }
        }
        EXPECT_GT(markerLit, 100);
        EXPECT_EQ(stray, 0);
        int labelLit = 0;
        for (int y = 150; y < 195; ++y) {
            for (int x = 287; x < 353; ++x) labelLit += brightness(f, x, y) > kLit;
        }
        EXPECT_GT(labelLit, 200);
    }
}

TEST(AssetTitlePages, HelpPageBackButtonLightsExactlyItsHitRectangle) {
    REQUIRE_GL();
    const GLuint help = upload("Texture2.tex", true, false);
    const GLuint options = upload("Texture6.tex", true, false);
    titleCamera();
    glBindTexture(GL_TEXTURE_2D, help);
    pageQuad(8, -8, 8, -8, 0, 1, 0, 1);
    glBindTexture(GL_TEXTURE_2D, options);
    glTranslatef(0, -4.5f, -1.5f);
    pageQuad(-3.8f, -5, -3.5f, -6, 0.83f, 1, 0.83f, 0.92f);
    const Frame f = testgl::readFrame();
    expectButton(f, {434, 427, 481, 446}, 0.6, "back");
    // The controls are written on the page.
    int lit = 0;
    for (int y = 140; y < 300; ++y) {
        for (int x = 150; x < 490; ++x) lit += brightness(f, x, y) > 128;
    }
    EXPECT_GT(lit, 1500);
}

// ---- Atlases, each picture drawn magnified on its own ----

void flatCamera() {
    testgl::clearAll();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 480, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_FOG);
    texturedState();
}

struct Shot {
    Frame frame;
    int x0, y0, x1, y1;  // pixels covered by the picture
};

// Draws texture rectangle (s0, t0) .. (s1, t1) filling a box of the same aspect, at most 400 x
// 400 pixels (t down the screen, as the game draws its quads).
Shot drawRect(int texels, float s0, float t0, float s1, float t1) {
    flatCamera();
    const float w = (s1 - s0) * texels, h = (t1 - t0) * texels;
    const float scale = std::min(600.0f / w, 400.0f / h);
    const int pw = static_cast<int>(w * scale), ph = static_cast<int>(h * scale);
    const int x0 = (640 - pw) / 2, y0 = (480 - ph) / 2;
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2i(x0, y0);
    glTexCoord2f(s1, t0);
    glVertex2i(x0 + pw, y0);
    glTexCoord2f(s1, t1);
    glVertex2i(x0 + pw, y0 + ph);
    glTexCoord2f(s0, t1);
    glVertex2i(x0, y0 + ph);
    glEnd();
    return {testgl::readFrame(), x0, y0, x0 + pw, y0 + ph};
}

// Non-empty inside, black along the rim where the rectangle meets its neighbours.
void expectFramedPicture(const Shot& s, const std::string& what, int rim = 2) {
    SCOPED_TRACE(what);
    int lit = 0, rimLit = 0, peak = 0;
    for (int y = s.y0; y < s.y1; ++y) {
        for (int x = s.x0; x < s.x1; ++x) {
            const int v = brightness(s.frame, x, y);
            const bool onRim =
                x < s.x0 + rim || x >= s.x1 - rim || y < s.y0 + rim || y >= s.y1 - rim;
            if (onRim) {
                rimLit += v > 8;
            } else {
                lit += v > 64;
                peak = std::max(peak, v);
            }
        }
    }
    EXPECT_GT(lit, (s.x1 - s.x0) * (s.y1 - s.y0) / 50) << "picture nearly empty";
    EXPECT_GT(peak, 200) << "picture too dim to read through one colour filter";
    EXPECT_EQ(rimLit, 0) << "picture touches the edge of its rectangle";
}

TEST(AssetAtlases, BannerPicturesScoreLabelAndShieldCaptionSitInsideTheirRectangles) {
    REQUIRE_GL();
    upload("Texture5.tex", false, false);
    struct R {
        float u0, v0, u1, v1;
        const char* what;
    };
    const R rects[] = {{0, 0, 0.56f, 0.081f, "opening card"},
                       {0.56f, 0, 0.75f, 0.08f, "start card"},
                       {0.75f, 0, 1, 0.08f, "pause"},
                       {0, 0.08f, 0.66f, 0.16f, "cannons upgraded"},
                       {0.66f, 0.08f, 1, 0.16f, "shield charged"},
                       {0, 0.16f, 0.58f, 0.25f, "cannons added"},
                       {0.58f, 0.16f, 0.83f, 0.25f, "score"},
                       {0, 0.25f, 0.5f, 0.333f, "rapid fire"},
                       {0.5f, 0.25f, 0.83f, 0.333f, "hull repaired"},
                       {0, 0.33f, 0.5f, 0.42f, "game over"},
                       {0.5f, 0.33f, 1, 0.42f, "extra life"},
                       {0, 0.42f, 0.75f, 0.5f, "spread missiles"},
                       {0, 0.5f, 0.58f, 0.58f, "shield caption"}};
    const int texels = static_cast<int>(std::lround(std::sqrt(readTexture("Texture5.tex").size())));
    for (const R& r : rects) expectFramedPicture(drawRect(texels, r.u0, r.v0, r.u1, r.v1), r.what);
}

TEST(AssetAtlases, DigitCellsHoldFiguresThatClearTheOverlappingNeighbours) {
    REQUIRE_GL();
    upload("Texture5.tex", false, false);
    const int texels = static_cast<int>(std::lround(std::sqrt(readTexture("Texture5.tex").size())));
    for (int cell = 0; cell < 11; ++cell) {
        const Shot s = drawRect(texels, cell * 0.0833f, 0.92f, (cell + 1) * 0.0833f, 0.99f);
        expectFramedPicture(s, "cell " + std::to_string(cell));
        // The clock's glyph quads overlap by 30 %: figures stay in the middle 70 %.
        const int w = s.x1 - s.x0;
        int outside = 0;
        for (int y = s.y0; y < s.y1; ++y) {
            for (int x = s.x0; x < s.x1; ++x) {
                const bool middle = x >= s.x0 + w * 15 / 100 && x < s.x1 - w * 15 / 100;
                outside += !middle && brightness(s.frame, x, y) > 24;
            }
        }
        EXPECT_EQ(outside, 0) << "cell " << cell;
    }
}

TEST(AssetAtlases, SpriteRectanglesHoldTheirPicturesOnBlackGutters) {
    REQUIRE_GL();
    upload("Texture7.tex", false, true);
    const int texels = static_cast<int>(std::lround(std::sqrt(readTexture("Texture7.tex").size())));
    expectFramedPicture(drawRect(texels, 0.33f, 0, 0.5f, 0.16f), "cube face");
    expectFramedPicture(drawRect(texels, 0.5f, 0.01f, 0.66f, 0.15f), "plate");
    expectFramedPicture(drawRect(texels, 0.01f, 0.51f, 0.16f, 0.65f), "missile");
    expectFramedPicture(drawRect(texels, 0.166f, 0.51f, 0.333f, 0.666f), "life icon");
    expectFramedPicture(drawRect(texels, 0.33f, 0.5f, 0.5f, 0.66f), "crosshair");
    // The flash is stretched 2000 units wide: it must be black well inside its rectangle.
    const Shot flash = drawRect(texels, 0.5f, 0.51f, 1.0f, 0.99f);
    expectFramedPicture(flash, "explosion flash");
    const float cx = (flash.x0 + flash.x1) * 0.5f, cy = (flash.y0 + flash.y1) * 0.5f;
    const float half = (flash.x1 - flash.x0) * 0.5f;
    int outerLit = 0;
    for (int y = flash.y0; y < flash.y1; ++y) {
        for (int x = flash.x0; x < flash.x1; ++x) {
            if (std::hypot(x - cx, y - cy) > 0.85f * half)
                outerLit += brightness(flash.frame, x, y) > 2;
        }
    }
    EXPECT_EQ(outerLit, 0);
}

TEST(AssetAtlases, PickupTrianglesAreLitInsideAndBlackAlongTheirEdges) {
    REQUIRE_GL();
    upload("Texture7.tex", false, true);
    const float triangles[2][6] = {{0, 0, 0.16f, 0, 0.083f, 0.16f},
                                   {0.16f, 0, 0.33f, 0, 0.25f, 0.16f}};
    for (const auto& tri : triangles) {
        flatCamera();
        // Texture units to pixels: 0.16 becomes 320 pixels.
        const float k = 2000.0f, ox = 320 - (tri[0] + tri[2]) * 0.5f * k, oy = 80;
        float px[3], py[3];
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < 3; ++i) {
            px[i] = ox + tri[2 * i] * k;
            py[i] = oy + tri[2 * i + 1] * k;
            glTexCoord2f(tri[2 * i], tri[2 * i + 1]);
            glVertex2f(px[i], py[i]);
        }
        glEnd();
        const Frame f = testgl::readFrame();
        // Signed distance from edge e, positive on the side of the triangle's centre.
        const float mx = (px[0] + px[1] + px[2]) / 3, my = (py[0] + py[1] + py[2]) / 3;
        const auto edgeDistance = [&](int e, float x, float y) {
            const int n = (e + 1) % 3;
            const float ex = px[n] - px[e], ey = py[n] - py[e], len = std::hypot(ex, ey);
            const auto raw = [&](float qx, float qy) {
                return ((qx - px[e]) * ey - (qy - py[e]) * ex) / len;
            };
            return raw(mx, my) > 0 ? raw(x, y) : -raw(x, y);
        };
        int nearEdge = 0, lit = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                float inside = 1e9f;
                for (int e = 0; e < 3; ++e)
                    inside = std::min(inside, edgeDistance(e, x + 0.5f, y + 0.5f));
                if (inside < 1.0f) continue;
                const int v = brightness(f, x, y);
                if (inside < 5.0f) nearEdge += v > 8;
                lit += v > 64;
            }
        }
        EXPECT_EQ(nearEdge, 0);
        EXPECT_GT(lit, 2000);
    }
}

TEST(AssetAtlases, MuzzleFlashFitsItsCornerOfTheFighterTexture) {
    REQUIRE_GL();
    upload("Texture1.tex", false, true);
    const int texels = static_cast<int>(std::lround(std::sqrt(readTexture("Texture1.tex").size())));
    const Shot s = drawRect(texels, 0.51f, 0.51f, 0.99f, 0.99f);
    expectFramedPicture(s, "muzzle flash");
    EXPECT_GT(brightness(s.frame, (s.x0 + s.x1) / 2, (s.y0 + s.y1) / 2), 240) << "hot centre";
}

TEST(AssetAtlases, BeamStripsGrowWiderAndBrighterWithTheLevel) {
    REQUIRE_GL();
    upload("Texture3.tex", false, false);
    const int texels = static_cast<int>(std::lround(std::sqrt(readTexture("Texture3.tex").size())));
    int previousWidth = 0, previousSum = 0;
    for (int level = 0; level < 6; ++level) {
        SCOPED_TRACE(level);
        const float t0 = 0.166f * level + 0.01f, t1 = 0.166f * level + 0.165f;
        const Shot s = drawRect(texels, 0.01f, t0, 0.99f, t1);
        // Dark along both long edges of the beam.
        for (int x = s.x0; x < s.x1; x += 7) {
            EXPECT_LT(brightness(s.frame, x, s.y0), 8);
            EXPECT_LT(brightness(s.frame, x, s.y1 - 1), 8);
        }
        const int column = (s.x0 + s.x1) / 2;
        int width = 0, sum = 0;
        for (int y = s.y0; y < s.y1; ++y) {
            const int v = brightness(s.frame, column, y);
            width += v > 96;
            sum += v;
        }
        EXPECT_GT(brightness(s.frame, column, (s.y0 + s.y1) / 2), 150);
        EXPECT_GT(width, previousWidth);
        EXPECT_GT(sum, previousSum);
        previousWidth = width;
        previousSum = sum;
    }
}

}  // namespace
