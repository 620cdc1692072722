#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

namespace gen {

const char* boldFontPath() {
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
}

Font::~Font() {
    if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
    if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

bool Font::open(const std::string& path, std::string& error) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        error = "FreeType could not be initialised";
        return false;
    }
    library_ = library;
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        error = "cannot load the font " + path;
        return false;
    }
    face_ = face;
    return true;
}

namespace {

// Crops a mask to the rows and columns that hold any ink.
Gray cropToInk(const Gray& img) {
    int x0 = img.w, y0 = img.h, x1 = -1, y1 = -1;
    for (int y = 0; y < img.h; ++y) {
        for (int x = 0; x < img.w; ++x) {
            if (img.at(x, y) > 0.0f) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    if (x1 < 0) return Gray(1, 1);
    Gray out(x1 - x0 + 1, y1 - y0 + 1);
    for (int y = 0; y < out.h; ++y) {
        for (int x = 0; x < out.w; ++x) out.at(x, y) = img.at(x + x0, y + y0);
    }
    return out;
}

}  // namespace

Gray Font::renderLine(const std::string& line, float pixelHeight, float xStretch,
                      float tracking) const {
    const FT_Face face = static_cast<FT_Face>(face_);
    const auto height26 = static_cast<FT_F26Dot6>(std::lround(pixelHeight * 64.0f));
    const auto width26 = static_cast<FT_F26Dot6>(std::lround(pixelHeight * xStretch * 64.0f));
    FT_Set_Char_Size(face, width26, height26, 72, 72);
    const int ascent = static_cast<int>(std::ceil(pixelHeight * 1.1f));
    const int canvasH = static_cast<int>(std::ceil(pixelHeight * 1.6f)) + 4;
    const int canvasW = static_cast<int>(std::ceil((pixelHeight * xStretch * 1.2f + tracking) *
                                                   static_cast<float>(line.size() + 1))) +
                        8;
    Gray canvas(canvasW, canvasH);
    float pen = 4.0f;
    for (const char ch : line) {
        const float whole = std::floor(pen);
        FT_Vector delta{static_cast<FT_Pos>(std::lround((pen - whole) * 64.0f)), 0};
        FT_Set_Transform(face, nullptr, &delta);
        if (FT_Load_Char(face, static_cast<unsigned char>(ch),
                         FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) {
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const int left = static_cast<int>(whole) + slot->bitmap_left;
        const int top = ascent - slot->bitmap_top + 2;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int x = left + static_cast<int>(col), y = top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= canvas.w || y >= canvas.h) continue;
                const float c =
                    bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col] / 255.0f;
                canvas.at(x, y) = std::max(canvas.at(x, y), c);
            }
        }
        // The transform already carried the fractional pen; advance keeps it unhinted.
        pen = whole + static_cast<float>(slot->advance.x) / 64.0f + tracking;
    }
    FT_Set_Transform(face, nullptr, nullptr);
    return cropToInk(canvas);
}

Gray Font::render(const std::string& text, float pixelHeight, float xStretch,
                  float tracking) const {
    std::vector<Gray> lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        lines.push_back(
            renderLine(text.substr(start, end - start), pixelHeight, xStretch, tracking));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (lines.size() == 1) return lines[0];
    const int gap = static_cast<int>(std::lround(pixelHeight * 0.22f));
    int width = 0, height = 0;
    for (const Gray& line : lines) {
        width = std::max(width, line.w);
        height += line.h;
    }
    height += gap * static_cast<int>(lines.size() - 1);
    Gray out(width, height);
    int y = 0;
    for (const Gray& line : lines) {
        stampMax(out, line, (width - line.w) / 2, y);
        y += line.h + gap;
    }
    return out;
}

float Font::fitSize(const std::string& text, float boxW, float boxH, float xStretch,
                    float trackingEm) const {
    const float probe = 100.0f;
    const Gray measured = render(text, probe, xStretch, trackingEm * probe);
    float size = probe * std::min(boxW / static_cast<float>(measured.w),
                                  boxH / static_cast<float>(measured.h));
    for (int attempt = 0; attempt < 20; ++attempt) {
        const Gray out = render(text, size, xStretch, trackingEm * size);
        if (static_cast<float>(out.w) <= boxW && static_cast<float>(out.h) <= boxH) break;
        size *= 0.97f;
    }
    return size;
}

Gray Font::fit(const std::string& text, float boxW, float boxH, float xStretch,
               float trackingEm) const {
    const float size = fitSize(text, boxW, boxH, xStretch, trackingEm);
    return render(text, size, xStretch, trackingEm * size);
}

}  // namespace gen
