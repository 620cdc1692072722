// The game's icon: the ship seen from behind twice, a red copy and a blue one a little apart,
// as the anaglyph picture shows it, on a dark disc. The asset generator writes it as the
// desktop icon and the window shows the same pixels, so both always match.
#pragma once

#include <cstdint>
#include <vector>

constexpr int gameIconEdge = 64;  // the window's icon

// The desktop's icon theme gets the icon drawn afresh at each of these edges, so small ones
// stay sharp and large ones are not blown up.
constexpr int desktopIconEdges[] = {16, 22, 24, 32, 48, 64, 128, 256};

// edge x edge RGBA pixels, rows from the top, straight (not premultiplied) alpha. The same
// bytes on every call.
std::vector<uint8_t> drawGameIcon(int edge = gameIconEdge);
