#include "assets/lit_area.h"

#include <algorithm>
#include <cmath>

AtlasRect litPart(const unsigned char* luminance, int edge, const AtlasRect& rect) {
    const float size = static_cast<float>(edge);
    // Every texel whose square overlaps the rectangle.
    const int left = std::max(0, static_cast<int>(std::floor(rect.uLeft * size)));
    const int right = std::min(edge - 1, static_cast<int>(std::ceil(rect.uRight * size)) - 1);
    const int top = std::max(0, static_cast<int>(std::floor(rect.vTop * size)));
    const int bottom = std::min(edge - 1, static_cast<int>(std::ceil(rect.vBottom * size)) - 1);
    int litLeft = edge, litRight = -1, litTop = edge, litBottom = -1;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (luminance[static_cast<long>(y) * edge + x] == 0) continue;
            litLeft = std::min(litLeft, x);
            litRight = std::max(litRight, x);
            litTop = std::min(litTop, y);
            litBottom = std::max(litBottom, y);
        }
    }
    if (litRight < 0) return {rect.uLeft, rect.vTop, rect.uLeft, rect.vTop};
    // A linear sample at s reads the texels whose centres lie within one texel of it: texel x
    // reaches s in (x - 0.5, x + 1.5) texels; one whole texel of margin holds that.
    return {std::max(rect.uLeft, static_cast<float>(litLeft - 1) / size),
            std::max(rect.vTop, static_cast<float>(litTop - 1) / size),
            std::min(rect.uRight, static_cast<float>(litRight + 2) / size),
            std::min(rect.vBottom, static_cast<float>(litBottom + 2) / size)};
}
