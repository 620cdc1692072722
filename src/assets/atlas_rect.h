// A rectangle of a texture in texture coordinates, shared by the atlases' layouts.
#pragma once

// v = 0 is the first row of the texture file.
struct AtlasRect {
    float uLeft, vTop, uRight, vBottom;
};

// The four corners of a rectangle as s, t pairs in drawing order: top left, top right, bottom
// right, bottom left.
struct QuadTexture {
    float st[4][2];
};

constexpr QuadTexture quadTexture(const AtlasRect& r) {
    return {{{r.uLeft, r.vTop}, {r.uRight, r.vTop}, {r.uRight, r.vBottom}, {r.uLeft, r.vBottom}}};
}
