#include "input/press_latch.h"

#include "input/input.h"

namespace {

// Keys 0..255, then the two mouse buttons and the two joystick buttons.
constexpr int kMouseLeft = 256;
constexpr int kMouseRight = 257;
constexpr int kJoyButton1 = 258;
constexpr int kJoyButton2 = 259;
constexpr int kControlCount = 260;

struct Latch {
    bool down = false;    // pressed and not (yet) released, as far as the messages tell
    bool unseen = false;  // pressed since the last frame
    bool releaseHeld = false;
    Message release;
};

struct PressLatches {
    Latch latch[kControlCount];
};

PressLatches latches;

enum class Edge { None, Press, Release };

// Which control a message presses or releases; Edge::None for every other message.
Edge edgeOf(const Message& m, int& control) {
    switch (m.message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
            control = static_cast<int>(m.wParam & 0xFF);
            return m.message == WM_KEYDOWN ? Edge::Press : Edge::Release;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            control = kMouseLeft;
            return m.message == WM_LBUTTONDOWN ? Edge::Press : Edge::Release;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            control = kMouseRight;
            return m.message == WM_RBUTTONDOWN ? Edge::Press : Edge::Release;
        case MM_JOY1BUTTONDOWN:
        case MM_JOY1BUTTONUP:
            // As the window procedure reads it: with both change bits only button 1 counts.
            if (m.wParam & JOY_BUTTON1CHG) {
                control = kJoyButton1;
            } else if (m.wParam & JOY_BUTTON2CHG) {
                control = kJoyButton2;
            } else {
                return Edge::None;
            }
            return m.message == MM_JOY1BUTTONDOWN ? Edge::Press : Edge::Release;
        default:
            return Edge::None;
    }
}

}  // namespace

void dispatchInput(const Message& message) {
    int control = 0;
    const Edge edge = edgeOf(message, control);
    if (edge == Edge::None) {
        windowProc(message);
        return;
    }
    Latch& latch = latches.latch[control];
    if (edge == Edge::Press) {
        if (latch.releaseHeld) {
            // Pressed again before any frame: one press, still held. The first press's click
            // point stands, as for a repeated press of a held button.
            latch.releaseHeld = false;
        } else if (!latch.down) {
            latch.unseen = true;  // a fresh press; auto-repeat of a held key is not
        }
        latch.down = true;
        windowProc(message);
        return;
    }
    latch.down = false;
    if (latch.unseen) {
        latch.releaseHeld = true;
        latch.release = message;
        return;
    }
    windowProc(message);
}

void endInputFrame() {
    for (Latch& latch : latches.latch) {
        latch.unseen = false;
        if (!latch.releaseHeld) continue;
        latch.releaseHeld = false;
        windowProc(latch.release);
    }
}

void resetPressLatches() {
    latches = {};
}

void matchPressLatchesToInput() {
    resetPressLatches();
    for (int key = 0; key < 256; ++key) latches.latch[key].down = input.keys.down[key] != 0;
    latches.latch[kMouseLeft].down = input.mouseLeftDown != 0;
    latches.latch[kMouseRight].down = input.mouseRightDown != 0;
    latches.latch[kJoyButton1].down = input.joyButton1;
    latches.latch[kJoyButton2].down = input.joyButton2;
}
