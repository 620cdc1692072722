// The part of a texture rectangle that can light anything. Under additive blending a black
// texel adds nothing, so a quad needs to cover only the texels that linear filtering (without
// mipmaps) can reach from a lit one; the rest of it shades pixels to add zero.
#pragma once

#include "assets/atlas_rect.h"

// The smallest rectangle inside `rect` (texture coordinates of a luminance texture `edge`
// texels square, rows from t = 0) holding every lit texel grown by one texel on each side:
// outside it, a linearly filtered sample reads only black texels. Empty (uLeft == uRight) when
// no texel in `rect` is lit.
AtlasRect litPart(const unsigned char* luminance, int edge, const AtlasRect& rect);

// Whether the rectangle covers anything.
constexpr bool covers(const AtlasRect& r) {
    return r.uRight > r.uLeft && r.vBottom > r.vTop;
}
