#include <SDL.h>
#include <gtest/gtest.h>

#include "input/input.h"
#include "platform/events.h"
#include "support/gl_test_context.h"

namespace {

// SDL's virtual joystick without a pad mapping stands in for a real stick: the platform layer
// cannot tell them apart.
TEST(Joystick, CapturePostsThePositionAtOnceThenMotionAndButtonsArriveAsMessages) {
    // SDL drops stick input while a window of this process exists without focus, as the
    // test's offscreen window does when GL tests ran first in the same process.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 2, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_NE(stick, nullptr);
    SDL_JoystickSetVirtualAxis(stick, 0, -32768);  // pushed fully left
    SDL_JoystickSetVirtualAxis(stick, 1, 0);
    SDL_JoystickUpdate();

    platform::captureJoystick();
    Message message;
    ASSERT_TRUE(platform::peekMessage(message));
    EXPECT_EQ(message.message, MM_JOY1MOVE);
    windowProc(message);
    EXPECT_TRUE(input.joyLeft);
    EXPECT_FALSE(input.joyUp || input.joyDown || input.joyRight);

    SDL_JoystickSetVirtualAxis(stick, 1, 32767);  // pulled fully down
    SDL_JoystickSetVirtualButton(stick, 1, SDL_PRESSED);
    SDL_JoystickUpdate();
    bool sawButton = false;
    while (platform::peekMessage(message)) {
        sawButton |= message.message == MM_JOY1BUTTONDOWN;
        windowProc(message);
    }
    EXPECT_TRUE(sawButton);
    EXPECT_TRUE(input.joyDown);
    EXPECT_TRUE(input.joyButton2);
    EXPECT_FALSE(input.joyButton1);

    // Without further motion nothing more is posted: the loops keep drawing frames.
    SDL_JoystickUpdate();
    EXPECT_FALSE(platform::peekMessage(message));

    platform::releaseJoystick();
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
}

TEST(Joystick, ButtonsStillArriveWhileTheWindowIsInTheBackground) {
    REQUIRE_GL();  // a window of ours exists and has no focus
    ASSERT_EQ(SDL_GetKeyboardFocus(), nullptr);
    platform::captureJoystick();  // starts the joystick system; no stick is attached yet
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 2, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    platform::captureJoystick();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    Message message;
    while (platform::peekMessage(message)) windowProc(message);

    SDL_JoystickSetVirtualButton(stick, 0, SDL_PRESSED);
    SDL_JoystickUpdate();
    bool sawButton = false;
    while (platform::peekMessage(message)) sawButton |= message.message == MM_JOY1BUTTONDOWN;
    EXPECT_TRUE(sawButton) << "the button was dropped while the game was in the background";

    platform::releaseJoystick();
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
}

TEST(Joystick, CaptureWithoutAJoystickPostsNothing) {
    platform::captureJoystick();
    Message message;
    EXPECT_FALSE(platform::peekMessage(message));
    platform::releaseJoystick();
}

}  // namespace
