#include "app/input.h"

#include "app/game_window.h"
#include "platform/events.h"

KeyTable keys;
int32_t mouseLeftDown = 0;
int32_t mouseRightDown = 0;
int32_t clickX = 0;
int32_t clickY = 0;
bool joyUp = false, joyDown = false, joyLeft = false, joyRight = false;
bool joyButton1 = false, joyButton2 = false;

namespace {

// Whether a press has been seen by a frame, and whether its release is waiting for that.
struct PressLatch {
    bool unseen = false;
    bool releaseWaiting = false;
};

PressLatch keyLatches[256];
PressLatch mouseLeftLatch;
PressLatch mouseRightLatch;
PressLatch joyButton1Latch;
PressLatch joyButton2Latch;

// A fresh press (not an auto-repeat of one already held) must reach a frame; a press that
// follows a waiting release in the same pass is fresh too.
bool notePress(PressLatch& latch, bool alreadyDown) {
    const bool fresh = !alreadyDown || latch.releaseWaiting;
    if (fresh) latch.unseen = true;
    latch.releaseWaiting = false;
    return fresh;
}

// True when the release applies now; false when it waits for the end of the next frame.
bool releaseNow(PressLatch& latch) {
    if (!latch.unseen) return true;
    latch.releaseWaiting = true;
    return false;
}

template <typename T>
void settle(PressLatch& latch, T& state) {
    if (latch.releaseWaiting) state = T{};
    latch = PressLatch{};
}

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

void setJoyButton(bool& button, PressLatch& latch, bool pressed) {
    if (pressed) {
        notePress(latch, button);
        button = true;
    } else if (releaseNow(latch)) {
        button = false;
    }
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
            notePress(keyLatches[wParam & 0xFF], keys.down[wParam & 0xFF] != 0);
            keys.down[wParam & 0xFF] = 1;
            return 0;
        case WM_KEYUP:
            if (releaseNow(keyLatches[wParam & 0xFF])) keys.down[wParam & 0xFF] = 0;
            return 0;
        case WM_SYSCOMMAND:
            if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
            return platform::defWindowProc(m);
        case WM_LBUTTONDOWN:
            // Only the press records a position; holding and dragging keeps it.
            if (notePress(mouseLeftLatch, mouseLeftDown != 0)) {
                mouseLeftDown = 1;
                recordClick(lParam);
            }
            return 0;
        case WM_LBUTTONUP:
            if (releaseNow(mouseLeftLatch)) mouseLeftDown = 0;
            return 0;
        case WM_RBUTTONDOWN:
            if (notePress(mouseRightLatch, mouseRightDown != 0)) {
                mouseRightDown = 1;
                recordClick(lParam);
            }
            return 0;
        case WM_RBUTTONUP:
            if (releaseNow(mouseRightLatch)) mouseRightDown = 0;
            return 0;
        case MM_JOY1MOVE:
            readStick(lParam);
            return platform::defWindowProc(m);
        case MM_JOY1BUTTONDOWN:
        case MM_JOY1BUTTONUP: {
            // When both change bits are set only button 1 is recorded.
            const bool pressed = message == MM_JOY1BUTTONDOWN;
            if (wParam & JOY_BUTTON1CHG) {
                setJoyButton(joyButton1, joyButton1Latch, pressed);
            } else if (wParam & JOY_BUTTON2CHG) {
                setJoyButton(joyButton2, joyButton2Latch, pressed);
            }
            return platform::defWindowProc(m);
        }
        default:
            return platform::defWindowProc(m);
    }
}

void endInputFrame() {
    for (int key = 0; key < 256; ++key) settle(keyLatches[key], keys.down[key]);
    settle(mouseLeftLatch, mouseLeftDown);
    settle(mouseRightLatch, mouseRightDown);
    settle(joyButton1Latch, joyButton1);
    settle(joyButton2Latch, joyButton2);
}
