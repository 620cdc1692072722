// The SDL events a player causes, pushed into SDL's queue without any display, come out of the
// platform layer as the window messages the game understands, and the window procedure
// records them.
#include <SDL.h>
#include <gtest/gtest.h>

#include "app/program_reset.h"
#include "input/input.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "support/gl_test_context.h"

namespace {

struct SdlEvents : ::testing::Test {
    void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError(); }
    void TearDown() override {
        platform::setFocusHandler(nullptr);
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
    }

    // SDL ends a poll at its own end-of-pump marker, so an event can take a second look to
    // come out, as it takes the game's loop a second pass.
    static bool nextMessage(Message& message) {
        return platform::peekMessage(message) || platform::peekMessage(message);
    }
    static Message translated(const SDL_Event& event) {
        SDL_Event copy = event;
        EXPECT_EQ(SDL_PushEvent(&copy), 1) << SDL_GetError();
        Message message;
        EXPECT_TRUE(nextMessage(message));
        return message;
    }
    static SDL_Event key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
        SDL_Event event{};
        event.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = sym;
        event.key.keysym.mod = mod;
        return event;
    }
    static SDL_Event windowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        event.window.data1 = data1;
        event.window.data2 = data2;
        return event;
    }
};

// Windows virtual-key codes, as the game's key table is indexed.
TEST_F(SdlEvents, GameKeysArriveAsKeyMessagesAndAreHeldUntilReleased) {
    const struct {
        SDL_Keycode sym;
        int virtualKey;
    } cases[] = {
        {SDLK_LCTRL, 17},    {SDLK_RCTRL, 17},  {SDLK_SPACE, 32}, {SDLK_LEFT, 37},
        {SDLK_UP, 38},       {SDLK_RIGHT, 39},  {SDLK_DOWN, 40},  {SDLK_RETURN, 13},
        {SDLK_KP_ENTER, 13}, {SDLK_ESCAPE, 27}, {SDLK_p, 'P'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SDL_GetKeyName(c.sym));
        const Message down = translated(key(SDL_KEYDOWN, c.sym));
        EXPECT_EQ(down.message, WM_KEYDOWN);
        EXPECT_EQ(down.wParam, static_cast<uint64_t>(c.virtualKey));
        windowProc(down);
        EXPECT_TRUE(input.keys.isDown(c.virtualKey));
        const Message up = translated(key(SDL_KEYUP, c.sym));
        EXPECT_EQ(up.message, WM_KEYUP);
        windowProc(up);
        EXPECT_FALSE(input.keys.isDown(c.virtualKey));
    }
}

TEST_F(SdlEvents, AltAndItsCombinationsAreSystemKeysTheGameNeverRecords) {
    const struct {
        SDL_Keycode sym;
        Uint16 mod;
    } cases[] = {{SDLK_LALT, KMOD_LALT},
                 {SDLK_RALT, KMOD_RALT},
                 {SDLK_LCTRL, KMOD_LALT},
                 {SDLK_SPACE, KMOD_RALT},
                 {SDLK_F10, KMOD_NONE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(SDL_GetKeyName(c.sym));
        const Message down = translated(key(SDL_KEYDOWN, c.sym, c.mod));
        EXPECT_EQ(down.message, WM_SYSKEYDOWN);
        windowProc(down);
        for (int vk = 0; vk < 256; ++vk) ASSERT_FALSE(input.keys.isDown(vk)) << vk;
        EXPECT_EQ(translated(key(SDL_KEYUP, c.sym, c.mod)).message, WM_SYSKEYUP);
    }
    // Alt+F4 closes the window, as on the desktop.
    EXPECT_EQ(translated(key(SDL_KEYDOWN, SDLK_F4, KMOD_LALT)).message, WM_CLOSE);
}

TEST_F(SdlEvents, MouseButtonsCarryTheClientPixelAndOtherButtonsAreIgnored) {
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.button = SDL_BUTTON_LEFT;
    press.button.x = 357;
    press.button.y = 290;
    const Message left = translated(press);
    EXPECT_EQ(left.message, WM_LBUTTONDOWN);
    windowProc(left);
    EXPECT_EQ(input.mouseLeftDown, 1);
    EXPECT_EQ(input.clickX, 357);
    EXPECT_EQ(input.clickY, 290);

    press.button.button = SDL_BUTTON_RIGHT;
    EXPECT_EQ(translated(press).message, WM_RBUTTONDOWN);
    press.type = SDL_MOUSEBUTTONUP;
    EXPECT_EQ(translated(press).message, WM_RBUTTONUP);

    press.button.button = SDL_BUTTON_MIDDLE;
    ASSERT_EQ(SDL_PushEvent(&press), 1);
    Message none;
    EXPECT_FALSE(nextMessage(none));
}

TEST_F(SdlEvents, FocusSizeCloseAndQuitBecomeTheirWindowMessages) {
    static int focusCalls = 0;
    static bool lastFocus = true;
    platform::setFocusHandler([](bool focused) {
        ++focusCalls;
        lastFocus = focused;
    });
    EXPECT_EQ(translated(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST)).message, WM_ACTIVATE);
    EXPECT_EQ(focusCalls, 1);
    EXPECT_FALSE(lastFocus);
    EXPECT_EQ(translated(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)).message, WM_ACTIVATE);
    EXPECT_EQ(focusCalls, 2);
    EXPECT_TRUE(lastFocus);

    const Message size = translated(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600));
    EXPECT_EQ(size.message, WM_SIZE);
    EXPECT_EQ(size.lParam & 0xFFFF, 800);
    EXPECT_EQ(size.lParam >> 16, 600);

    EXPECT_EQ(translated(windowEvent(SDL_WINDOWEVENT_CLOSE)).message, WM_CLOSE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(translated(quit).message, WM_QUIT);
}

TEST_F(SdlEvents, PostedMessagesComeBeforeNativeEvents) {
    SDL_Event press = key(SDL_KEYDOWN, SDLK_SPACE);
    ASSERT_EQ(SDL_PushEvent(&press), 1);
    platform::postMessage(WM_CLOSE);
    Message message;
    ASSERT_TRUE(nextMessage(message));
    EXPECT_EQ(message.message, WM_CLOSE);
    ASSERT_TRUE(nextMessage(message));
    EXPECT_EQ(message.message, WM_KEYDOWN);
}

// A test's fresh start: nothing left to read, the real clock, no focus handler of the last one.
TEST_F(SdlEvents, TheProgramResetDropsWaitingMessagesAndGivesTheRealClockBack) {
    static bool focusSeen = false;
    platform::setFocusHandler([](bool) { focusSeen = true; });
    platform::setMillisecondClock([] { return 0xFFFFFFF0u; });
    platform::postMessage(WM_KEYDOWN, VK_P, 0);
    SDL_Event event = key(SDL_KEYDOWN, SDLK_SPACE);
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();

    resetProgramState();
    Message left;
    EXPECT_FALSE(nextMessage(left)) << "message " << left.message << " was left";
    EXPECT_NE(platform::timeGetTime(), 0xFFFFFFF0u);
    platform::notifyFocus(false);
    EXPECT_FALSE(focusSeen);
}

TEST(ScreenSaver, StaysOffWhileTheGameRuns) {
    REQUIRE_GL();
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());
}

}  // namespace
