#include "input/input.h"

#include "platform/events.h"
#include "view/projection.h"

InputState input;

namespace {

int lowWord(int64_t lParam) {
    return static_cast<int>(lParam & 0xFFFF);
}
int highWord(int64_t lParam) {
    return static_cast<int>((lParam >> 16) & 0xFFFF);
}

// Click coordinates are signed 16-bit halves: a press left of or above the client area is
// negative, not 65535.
void recordClick(int64_t lParam) {
    input.clickX = static_cast<int16_t>(lowWord(lParam));
    input.clickY = static_cast<int16_t>(highWord(lParam));
}

// The stick position arrives as two 0..65535 values; five bits of each are enough to tell
// pushed from centred, and 13..19 is the dead zone.
void readStick(int64_t lParam) {
    const int x5 = lowWord(lParam) >> 11;
    const int y5 = highWord(lParam) >> 11;
    input.joyUp = y5 <= 12;
    input.joyDown = y5 >= 20;
    input.joyLeft = x5 <= 12;
    input.joyRight = x5 >= 20;
}

}  // namespace

int64_t windowProc(uint32_t message, uint64_t wParam, int64_t lParam) {
    const Message m{message, wParam, lParam};
    switch (message) {
        case WM_SIZE:
            // The loops follow the window's size before each frame (followWindowSize).
            return 0;
        case WM_ACTIVATE:
            return 0;
        case WM_CLOSE:
            platform::postMessage(WM_QUIT);
            return 0;
        case WM_KEYDOWN:
            input.keys.down[wParam & 0xFF] = 1;
            return 0;
        case WM_KEYUP:
            input.keys.down[wParam & 0xFF] = 0;
            return 0;
        case WM_SYSCOMMAND:
            if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
            return platform::defWindowProc(m);
        case WM_LBUTTONDOWN:
            // Only the press records a position; holding and dragging keeps it.
            if (input.mouseLeftDown == 0) {
                input.mouseLeftDown = 1;
                recordClick(lParam);
            }
            return 0;
        case WM_LBUTTONUP:
            input.mouseLeftDown = 0;
            return 0;
        case WM_RBUTTONDOWN:
            if (input.mouseRightDown == 0) {
                input.mouseRightDown = 1;
                recordClick(lParam);
            }
            return 0;
        case WM_RBUTTONUP:
            input.mouseRightDown = 0;
            return 0;
        case MM_JOY1MOVE:
            readStick(lParam);
            return platform::defWindowProc(m);
        case MM_JOY1BUTTONDOWN:
        case MM_JOY1BUTTONUP: {
            // When both change bits are set only button 1 is recorded.
            const bool pressed = message == MM_JOY1BUTTONDOWN;
            if (wParam & JOY_BUTTON1CHG) {
                input.joyButton1 = pressed;
            } else if (wParam & JOY_BUTTON2CHG) {
                input.joyButton2 = pressed;
            }
            return platform::defWindowProc(m);
        }
        default:
            return platform::defWindowProc(m);
    }
}
