// Where each picture sits in the sprite atlas (Texture7) and the fighter texture (Texture1).
// The game draws its sprites with these texture coordinates and the asset generator paints
// each picture into the same texels, so moving a picture here moves its art and its quads
// together.
#pragma once

#include "assets/atlas_rect.h"

// Sprite atlas, 512 x 512. The pickups' faces along the top row.
inline constexpr float kTetrahedronFaceTexture[3][2] = {
    {0.0f, 0.0f}, {0.16f, 0.0f}, {0.083f, 0.16f}};
inline constexpr float kStarSpikeTexture[3][2] = {{0.16f, 0.0f}, {0.33f, 0.0f}, {0.25f, 0.16f}};
inline constexpr AtlasRect kCubeFaceRect{0.33f, 0.0f, 0.5f, 0.16f};
inline constexpr AtlasRect kPlateRect{0.5f, 0.01f, 0.66f, 0.15f};
// The lower half: the ball of a missile or a fighter shot, the life icon, the crosshair and the
// explosion flash.
inline constexpr AtlasRect kShotBallRect{0.01f, 0.51f, 0.16f, 0.65f};
inline constexpr AtlasRect kLifeIconRect{0.166f, 0.51f, 0.333f, 0.666f};
inline constexpr AtlasRect kCrosshairRect{0.33f, 0.5f, 0.5f, 0.66f};
inline constexpr AtlasRect kExplosionFlashRect{0.5f, 0.51f, 1.0f, 0.99f};

// Beam texture (Texture3), 256 x 256: one strip per cannon level 0..5, about a sixth of the
// height each, with the beam's tip at uLeft.
constexpr AtlasRect beamStripRect(int level) {
    const float l = static_cast<float>(level);
    return {0.01f, 0.166f * l + 0.01f, 0.99f, 0.166f * l + 0.165f};
}

// Fighter texture, 256 x 256: only the muzzle flash is sampled; the hull is drawn untextured.
inline constexpr AtlasRect kMuzzleFlashRect{0.51f, 0.51f, 0.99f, 0.99f};
