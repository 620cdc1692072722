#include "input/input.h"

#include "platform/events.h"
#include "view/projection.h"

KeyTable keys;
int32_t mouseLeftDown = 0;
int32_t mouseRightDown = 0;
int32_t clickX = 0;
int32_t clickY = 0;
bool joyUp = false, joyDown = false, joyLeft = false, joyRight = false;
bool joyButton1 = false, joyButton2 = false;

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
    clickX = static_cast<int16_t>(lowWord(lParam));
    clickY = static_cast<int16_t>(highWord(lParam));
}

// The stick position arrives as two 0..65535 values; five bits of each are enough to tell
// pushed from centred, and 13..19 is the dead zone.
void readStick(int64_t lParam) {
    const int x5 = lowWord(lParam) >> 11;
    const int y5 = highWord(lParam) >> 11;
    joyUp = y5 <= 12;
    joyDown = y5 >= 20;
    joyLeft = x5 <= 12;
    joyRight = x5 >= 20;
}

}  // namespace

int64_t windowProc(uint32_t message, uint64_t wParam, int64_t lParam) {
    const Message m{message, wParam, lParam};
    switch (message) {
        case WM_SIZE:
            resizeView(lowWord(lParam), highWord(lParam));
            return 0;
        case WM_ACTIVATE:
            return 0;
        case WM_CLOSE:
            platform::postMessage(WM_QUIT);
            return 0;
        case WM_KEYDOWN:
            keys.down[wParam & 0xFF] = 1;
            return 0;
        case WM_KEYUP:
            keys.down[wParam & 0xFF] = 0;
            return 0;
        case WM_SYSCOMMAND:
            if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
            return platform::defWindowProc(m);
        case WM_LBUTTONDOWN:
            // Only the press records a position; holding and dragging keeps it.
            if (mouseLeftDown == 0) {
                mouseLeftDown = 1;
                recordClick(lParam);
            }
            return 0;
        case WM_LBUTTONUP:
            mouseLeftDown = 0;
            return 0;
        case WM_RBUTTONDOWN:
            if (mouseRightDown == 0) {
                mouseRightDown = 1;
                recordClick(lParam);
            }
            return 0;
        case WM_RBUTTONUP:
            mouseRightDown = 0;
            return 0;
        case MM_JOY1MOVE:
            readStick(lParam);
            return platform::defWindowProc(m);
        case MM_JOY1BUTTONDOWN:
        case MM_JOY1BUTTONUP: {
            // When both change bits are set only button 1 is recorded.
            const bool pressed = message == MM_JOY1BUTTONDOWN;
            if (wParam & JOY_BUTTON1CHG) {
                joyButton1 = pressed;
            } else if (wParam & JOY_BUTTON2CHG) {
                joyButton2 = pressed;
            }
            return platform::defWindowProc(m);
        }
        default:
            return platform::defWindowProc(m);
    }
}
