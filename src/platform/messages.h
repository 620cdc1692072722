// The window messages the game's window procedure understands. The platform layer translates
// its native events into these, with Windows virtual-key codes in wParam and client-pixel
// coordinates packed into lParam (x in the low 16 bits, y in the next 16), so the game code
// keeps one input model whatever the platform underneath.
#pragma once

#include <cstdint>

struct Message {
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
};

constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t MM_JOY1MOVE = 0x03A0;
constexpr uint32_t MM_JOY1BUTTONDOWN = 0x03B5;
constexpr uint32_t MM_JOY1BUTTONUP = 0x03B7;

constexpr uint64_t SC_SCREENSAVE = 0xF140;
constexpr uint64_t SC_MONITORPOWER = 0xF170;
constexpr uint64_t JOY_BUTTON1CHG = 0x100;
constexpr uint64_t JOY_BUTTON2CHG = 0x200;

// Virtual-key codes the game reads.
constexpr int VK_RETURN = 13;
constexpr int VK_SHIFT = 16;
constexpr int VK_CONTROL = 17;
constexpr int VK_ESCAPE = 27;
constexpr int VK_SPACE = 32;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int VK_P = 80;

// Packs two client coordinates the way a mouse or size message carries them.
constexpr int64_t makeLParam(int low, int high) {
    return static_cast<int64_t>((static_cast<uint32_t>(high & 0xFFFF) << 16) |
                                static_cast<uint32_t>(low & 0xFFFF));
}
