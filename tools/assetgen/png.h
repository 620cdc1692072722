// A minimal PNG writer: 8-bit RGBA, no filtering, deflate's stored blocks. Enough for the
// desktop icon, and free of any image library.
#pragma once

#include <cstdint>
#include <vector>

namespace gen {

// rgba holds width x height pixels, rows from the top.
std::vector<uint8_t> encodePng(const std::vector<uint8_t>& rgba, int width, int height);

// A Windows icon file holding one square PNG image per edge (at most 256), in the given order.
struct IconImage {
    int edge;
    std::vector<uint8_t> png;
};
std::vector<uint8_t> encodeIco(const std::vector<IconImage>& images);

}  // namespace gen
