#include <gtest/gtest.h>

#include "input/input.h"
#include "platform/events.h"

namespace {

void press(uint32_t message, int x, int y) {
    windowProc(message, 0, makeLParam(x, y));
}

TEST(WindowProc, KeysAreSetOnKeyDownAndClearedOnKeyUpButSystemKeysAreNotRecorded) {
    windowProc(WM_KEYDOWN, VK_CONTROL, 0);
    windowProc(WM_KEYDOWN, VK_CONTROL, 0);  // auto-repeat sets it again
    EXPECT_TRUE(input.keys.isDown(VK_CONTROL));
    windowProc(WM_KEYUP, VK_CONTROL, 0);
    EXPECT_FALSE(input.keys.isDown(VK_CONTROL));

    windowProc(WM_SYSKEYDOWN, 'X', 0);
    EXPECT_FALSE(input.keys.isDown('X'));
}

TEST(WindowProc, OnlyAPressRecordsTheClickPointAndARightPressWhileLeftIsHeldMovesIt) {
    press(WM_LBUTTONDOWN, 100, 200);
    EXPECT_EQ(input.mouseLeftDown, 1);
    EXPECT_EQ(input.clickX, 100);
    EXPECT_EQ(input.clickY, 200);

    press(WM_LBUTTONDOWN, 300, 300);  // still held: a repeated down does not move the point
    EXPECT_EQ(input.clickX, 100);

    press(WM_RBUTTONDOWN, 50, 60);  // the right button moves the point the menu tests
    EXPECT_EQ(input.clickX, 50);
    EXPECT_EQ(input.clickY, 60);
    EXPECT_EQ(input.mouseLeftDown, 1);

    press(WM_LBUTTONUP, 0, 0);
    press(WM_RBUTTONUP, 0, 0);
    EXPECT_EQ(input.mouseLeftDown, 0);
    EXPECT_EQ(input.mouseRightDown, 0);

    press(WM_LBUTTONDOWN, -5, -7);  // outside the client area the coordinates are negative
    EXPECT_EQ(input.clickX, -5);
    EXPECT_EQ(input.clickY, -7);
}

TEST(WindowProc, StickThresholdsAndDeadZone) {
    const auto stick = [](int x, int y) { windowProc(MM_JOY1MOVE, 0, makeLParam(x, y)); };
    stick(32768, 32768);
    EXPECT_FALSE(input.joyUp || input.joyDown || input.joyLeft || input.joyRight);

    stick(26624, 40959);  // the edges of the dead zone
    EXPECT_FALSE(input.joyUp || input.joyDown || input.joyLeft || input.joyRight);

    stick(26623, 40960);  // one step past each edge
    EXPECT_TRUE(input.joyLeft);
    EXPECT_TRUE(input.joyDown);
    EXPECT_FALSE(input.joyRight || input.joyUp);

    stick(65535, 0);
    EXPECT_TRUE(input.joyRight && input.joyUp);
    EXPECT_FALSE(input.joyLeft || input.joyDown);
}

TEST(WindowProc, ButtonMessagesRecordOnlyButtonOneWhenBothChanged) {
    windowProc(MM_JOY1BUTTONDOWN, JOY_BUTTON1CHG | JOY_BUTTON2CHG, 0);
    EXPECT_TRUE(input.joyButton1);
    EXPECT_FALSE(input.joyButton2);
    windowProc(MM_JOY1BUTTONDOWN, JOY_BUTTON2CHG, 0);
    EXPECT_TRUE(input.joyButton2);
    windowProc(MM_JOY1BUTTONUP, JOY_BUTTON1CHG | JOY_BUTTON2CHG, 0);
    EXPECT_FALSE(input.joyButton1);
    EXPECT_TRUE(input.joyButton2);
}

TEST(WindowProc, CloseRequestBecomesQuit) {
    windowProc(WM_CLOSE, 0, 0);
    Message message;
    ASSERT_TRUE(platform::peekMessage(message));
    EXPECT_EQ(message.message, WM_QUIT);
}

}  // namespace
