#include "png.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace gen {
namespace {

uint32_t crc32(const uint8_t* bytes, std::size_t count, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < count; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    putBigEndian32(out, static_cast<uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian32(out, crc32(&out[typeAt], 4 + data.size()));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> storeInZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out{0x78, 0x01};
    constexpr std::size_t kMaxBlock = 65535;
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(kMaxBlock, raw.size() - at);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + length);
        at += length;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian32(out, (b << 16) | a);
    return out;
}

}  // namespace

std::vector<uint8_t> encodePng(const std::vector<uint8_t>& rgba, int width, int height) {
    std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBigEndian32(header, static_cast<uint32_t>(width));
    putBigEndian32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    putChunk(out, "IHDR", header);

    std::vector<uint8_t> rows;
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // filter type: none
        rows.insert(rows.end(), rgba.begin() + y * stride, rgba.begin() + (y + 1) * stride);
    }
    putChunk(out, "IDAT", storeInZlib(rows));
    putChunk(out, "IEND", {});
    return out;
}

std::vector<uint8_t> encodeIco(const std::vector<IconImage>& images) {
    std::vector<uint8_t> out;
    auto put16 = [&out](uint32_t value) {
        out.push_back(static_cast<uint8_t>(value));
        out.push_back(static_cast<uint8_t>(value >> 8));
    };
    auto put32 = [&put16](uint32_t value) {
        put16(value & 0xFFFF);
        put16(value >> 16);
    };
    put16(0);  // reserved
    put16(1);  // an icon, not a cursor
    put16(static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (const IconImage& image : images) {
        // An edge of 256 is written as 0.
        out.push_back(static_cast<uint8_t>(image.edge & 0xFF));
        out.push_back(static_cast<uint8_t>(image.edge & 0xFF));
        out.push_back(0);  // no palette
        out.push_back(0);
        put16(1);   // colour planes
        put16(32);  // bits per pixel
        put32(static_cast<uint32_t>(image.png.size()));
        put32(offset);
        offset += static_cast<uint32_t>(image.png.size());
    }
    for (const IconImage& image : images) out.insert(out.end(), image.png.begin(), image.png.end());
    return out;
}

}  // namespace gen
