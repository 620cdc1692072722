// Input state written by the window procedure and polled once per frame by the loops and the
// game. Nothing is queued: each global holds only the latest state.
#pragma once

#include <cstdint>

#include "platform/messages.h"

struct KeyTable {
    uint8_t down[256] = {};  // indexed by virtual-key code; 1 while held

    bool isDown(int virtualKey) const { return down[virtualKey & 0xFF] != 0; }
};

struct InputState {
    KeyTable keys;
    int32_t mouseLeftDown = 0;
    int32_t mouseRightDown = 0;
    int32_t clickX = 0;  // client pixel of the last button press (left or right)
    int32_t clickY = 0;
    bool joyUp = false, joyDown = false, joyLeft = false, joyRight = false;
    bool joyButton1 = false, joyButton2 = false;
};

extern InputState input;

// The window procedure: turns one message into input state, turns the
// close request into WM_QUIT and refuses the screen saver. Runs only from the loops' dispatch.
int64_t windowProc(uint32_t message, uint64_t wParam, int64_t lParam);

inline int64_t windowProc(const Message& m) {
    return windowProc(m.message, m.wParam, m.lParam);
}
