// Bold text through FreeType, rendered as coverage masks cropped to their ink.
#pragma once

#include <string>

#include "raster.h"

namespace gen {

class Font {
  public:
    Font() = default;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    ~Font();

    // False with a reason in `error` when FreeType or the face cannot be loaded.
    bool open(const std::string& path, std::string& error);

    // Renders `text` (lines split at '\n', each centred) at a nominal pixel height, with glyphs
    // stretched horizontally by `xStretch` and `tracking` extra pixels between letters. The
    // result is cropped to the ink.
    Gray render(const std::string& text, float pixelHeight, float xStretch,
                float tracking = 0.0f) const;

    // The largest rendering whose ink fits inside boxW x boxH texels. `xStretch` pre-distorts
    // the glyphs for a quad whose on-screen aspect differs from its texture rectangle.
    Gray fit(const std::string& text, float boxW, float boxH, float xStretch,
             float trackingEm = 0.0f) const;
    // The nominal pixel height that `fit` would use.
    float fitSize(const std::string& text, float boxW, float boxH, float xStretch,
                  float trackingEm = 0.0f) const;

  private:
    Gray renderLine(const std::string& line, float pixelHeight, float xStretch,
                    float tracking) const;

    void* library_ = nullptr;
    void* face_ = nullptr;
};

// Default typeface of the game's writing.
const char* boldFontPath();

}  // namespace gen
