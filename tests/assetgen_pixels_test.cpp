// The generated textures loaded by the game's own loaders and drawn the way the game
// draws them: title buttons must light exactly what the mouse can hit, and every atlas picture
// must show inside its rectangle with black around it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/banner_layout.h"
#include "assets/sprite_layout.h"
#include "assets/texture_loader.h"
#include "assets/texture_table.h"
#include "assets/title_layout.h"
#include "support/gl_test_context.h"
#include "view/flight_camera.h"

namespace {

// Loads the generated textures with the game's own loaders, from the build's Textures/.
void loadGenerated(void (*load)()) {
    const std::filesystem::path original = std::filesystem::current_path();
    std::filesystem::current_path(VOXMERE_ASSETS_DIR);
    load();
    std::filesystem::current_path(original);
}

// Binds a loaded texture and returns its edge in texels.
int bindTexture(GLuint name) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint edge = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &edge);
    return edge;
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

void titleCamera() {
    testgl::clearAll();
    glMatrixMode(GL_MODELVIEW);
    loadFlightCamera();
    texturedState();
}

// A quad of the title layout, drawn as the title screen draws it.
void pageQuad(const TitleQuad& q) {
    const auto f = [](double v) { return static_cast<float>(v); };
    glBegin(GL_QUADS);
    glTexCoord2f(f(q.sLeft), f(q.tTop));
    glVertex3f(-10, f(q.top), f(q.left));
    glTexCoord2f(f(q.sRight), f(q.tTop));
    glVertex3f(-10, f(q.top), f(q.right));
    glTexCoord2f(f(q.sRight), f(q.tBottom));
    glVertex3f(-10, f(q.bottom), f(q.right));
    glTexCoord2f(f(q.sLeft), f(q.tBottom));
    glVertex3f(-10, f(q.bottom), f(q.left));
    glEnd();
}

constexpr int kLit = 24;

// The button lights a good part of the pixels the mouse can hit (l + 1 .. r - 1) and nothing
// on the edge pixels or in a band around them.
void expectButton(const Frame& f, const MenuRect& hit, double minLitShare, const char* what) {
    SCOPED_TRACE(what);
    int lit = 0, inside = 0, minX = 640, maxX = -1, minY = 480, maxY = -1;
    for (int y = hit.top + 1; y < hit.bottom; ++y) {
        for (int x = hit.left + 1; x < hit.right; ++x) {
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
    for (int y = hit.top - band; y <= hit.bottom + band; ++y) {
        for (int x = hit.left - band; x <= hit.right + band; ++x) {
            const bool hittable = x > hit.left && x < hit.right && y > hit.top && y < hit.bottom;
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
    loadGenerated(loadTitleTextures);
    titleCamera();
    bindTexture(textures.titleMainPage);
    pageQuad(kPageSquare);
    const Frame f = testgl::readFrame();
    expectButton(f, kStartButton, 0.6, "start");
    expectButton(f, kQuitButton, 0.6, "quit");
    expectButton(f, kHelpButton, 0.6, "help");
    expectButton(f, kOptionsButton, 0.6, "options");
    // The title is there too: the upper third of the page is far from black.
    int lit = 0;
    for (int y = 70; y < 160; ++y) {
        for (int x = 150; x < 490; ++x) lit += brightness(f, x, y) > 128;
    }
    EXPECT_GT(lit, 3000);
}

TEST(AssetTitlePages, OptionsPageButtonsLightExactlyTheirHitRectangles) {
    REQUIRE_GL();
    loadGenerated(loadTitleTextures);
    titleCamera();
    bindTexture(textures.titleOptionsPage);
    pageQuad(kOptionsPageStereo);
    pageQuad(kBackButtonQuad);
    const Frame f = testgl::readFrame();
    expectButton(f, kStereoOnButton, 0.1, "stereo on");
    expectButton(f, kStereoOffButton, 0.1, "stereo off");
    expectButton(f, kSeparationButtons[0], 0.03, "separation 5");
    expectButton(f, kSeparationButtons[1], 0.08, "separation 3.5");
    expectButton(f, kSeparationButtons[2], 0.03, "separation 2");
    expectButton(f, kOptionsBackButton, 0.6, "back");
}

TEST(AssetTitlePages, OptionsWidgetsLandOnBlackAndTheStereoMarkerStaysInItsButton) {
    REQUIRE_GL();
    loadGenerated(loadTitleTextures);
    // The page alone is black where the widgets are drawn over it.
    titleCamera();
    bindTexture(textures.titleOptionsPage);
    pageQuad(kOptionsPageStereo);
    Frame f = testgl::readFrame();
    const auto darkUnder = [&](const TitleQuad& q, const char* what) {
        const double k = 240.0 / (40.0 * std::tan(15.0 * M_PI / 180.0));
        const int x0 = static_cast<int>(std::ceil(320 - k * q.left)),
                  x1 = static_cast<int>(320 - k * q.right);
        const int y0 = static_cast<int>(std::ceil(240 - k * q.top)),
                  y1 = static_cast<int>(240 - k * q.bottom);
        int lit = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) lit += brightness(f, x, y) > kLit;
        }
        EXPECT_EQ(lit, 0) << what;
    };
    darkUnder(kOnLabelQuad, "on/off label");
    // The widgets drawn alone at their places: the label and the stereo marker are lit, and the
    // marker stays inside the hit rectangle of the button it marks.
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on ? "stereo on" : "stereo off");
        titleCamera();
        bindTexture(textures.titleOptionsPage);
        pageQuad(on ? kStereoOnMarker : kStereoOffMarker);
        pageQuad(on ? kOnLabelQuad : kOffLabelQuad);
        f = testgl::readFrame();
        const MenuRect& hit = on ? kStereoOnButton : kStereoOffButton;
        int markerLit = 0, stray = 0;
        for (int y = 100; y < 240; ++y) {
            for (int x = 150; x < 480; ++x) {
                if (x >= 270 && x <= 370) continue;  // the label between the buttons
                if (brightness(f, x, y) <= kLit) continue;
                ++markerLit;
                stray += !(x > hit.left && x < hit.right && y > hit.top && y < hit.bottom);
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
    loadGenerated(loadTitleTextures);
    titleCamera();
    bindTexture(textures.titleHelpPage);
    pageQuad(kPageSquare);
    bindTexture(textures.titleOptionsPage);
    glTranslatef(0, static_cast<float>(kHelpBackShiftY), static_cast<float>(kHelpBackShiftZ));
    pageQuad(kBackButtonQuad);
    const Frame f = testgl::readFrame();
    expectButton(f, kHelpBackButton, 0.6, "back");
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
Shot drawRect(int texels, float s0, float t0, float s1, float t1);

Shot drawRect(int texels, const AtlasRect& r) {
    return drawRect(texels, r.uLeft, r.vTop, r.uRight, r.vBottom);
}

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

TEST(AssetAtlases, BannerPicturesLabelsAndShieldCaptionSitInsideTheirRectangles) {
    REQUIRE_GL();
    loadGenerated(loadGameTextures);
    const int texels = bindTexture(textures.hudAtlas);
    const auto expectRect = [&](const AtlasRect& r, const std::string& what) {
        expectFramedPicture(drawRect(texels, r.uLeft, r.vTop, r.uRight, r.vBottom), what);
    };
    for (int image = BannerOpeningCard; image <= BannerNewBest; ++image)
        expectRect(bannerPicture(image)->rect, "banner picture " + std::to_string(image));
    expectRect(kScoreLabelRect, "score label");
    expectRect(kBestLabelRect, "best label");
    expectRect(kShieldCaptionRect, "shield caption");
}

TEST(AssetAtlases, DigitCellsHoldFiguresThatClearTheOverlappingNeighbours) {
    REQUIRE_GL();
    loadGenerated(loadGameTextures);
    const int texels = bindTexture(textures.hudAtlas);
    for (int cell = 0; cell <= kDigitSeparator; ++cell) {
        const Shot s = drawRect(texels, cell * kDigitCellWidth, kDigitRowTop,
                                (cell + 1) * kDigitCellWidth, kDigitRowBottom);
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
    loadGenerated(loadGameTextures);
    const int texels = bindTexture(textures.spriteAtlas);
    expectFramedPicture(drawRect(texels, kCubeFaceRect), "cube face");
    expectFramedPicture(drawRect(texels, kPlateRect), "plate");
    expectFramedPicture(drawRect(texels, kShotBallRect), "missile");
    expectFramedPicture(drawRect(texels, kLifeIconRect), "life icon");
    expectFramedPicture(drawRect(texels, kCrosshairRect), "crosshair");
    // The flash is stretched 2000 units wide: it must be black well inside its rectangle.
    const Shot flash = drawRect(texels, kExplosionFlashRect);
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
    loadGenerated(loadGameTextures);
    bindTexture(textures.spriteAtlas);
    for (const auto* corners : {&kTetrahedronFaceTexture, &kStarSpikeTexture}) {
        const auto& tri = *corners;
        flatCamera();
        // Texture units to pixels: 0.16 becomes 320 pixels.
        const float k = 2000.0f, ox = 320 - (tri[0][0] + tri[1][0]) * 0.5f * k, oy = 80;
        float px[3], py[3];
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < 3; ++i) {
            px[i] = ox + tri[i][0] * k;
            py[i] = oy + tri[i][1] * k;
            glTexCoord2fv(tri[i]);
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
    loadGenerated(loadGameTextures);
    const int texels = bindTexture(textures.fighterTexture);
    const Shot s = drawRect(texels, kMuzzleFlashRect);
    expectFramedPicture(s, "muzzle flash");
    EXPECT_GT(brightness(s.frame, (s.x0 + s.x1) / 2, (s.y0 + s.y1) / 2), 240) << "hot centre";
}

TEST(AssetAtlases, BeamStripsGrowWiderAndBrighterWithTheLevel) {
    REQUIRE_GL();
    loadGenerated(loadGameTextures);
    const int texels = bindTexture(textures.beamTexture);
    int previousWidth = 0, previousSum = 0;
    for (int level = 0; level < 6; ++level) {
        SCOPED_TRACE(level);
        const Shot s = drawRect(texels, beamStripRect(level));
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
