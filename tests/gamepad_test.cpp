// Pads, headless: SDL's virtual joystick with a controller mapping stands in for a real pad, and
// every message it causes must be one a journal accepts.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "input/input.h"
#include "platform/events.h"
#include "platform/gamepad.h"
#include "player/player_ship.h"
#include "run/journal.h"
#include "support/scratch_folder.h"

namespace {

// Buttons of a virtual pad under SDL's own mapping for it, its axes from kAxis on, its hat kHat.
constexpr int kA = 0, kB = 1, kX = 2, kStart = 6, kDown = 12, kRight = 14, kAxis = 100, kHat = 200;
constexpr int kStickX = kAxis, kLeftTrigger = kAxis + 4, kRightTrigger = kAxis + 5;

Uint16 lastRumble = 0;

// Hands every waiting message to the window procedure, as the loops do.
void deliver() {
    SDL_JoystickUpdate();
    Message message;
    std::string error;
    while (platform::peekMessage(message) || platform::peekMessage(message)) {
        EXPECT_TRUE(checkJournalMessage(message, error)) << error;
        windowProc(message);
    }
}

void set(SDL_Joystick* pad, int control, int value) {
    control >= kHat ? SDL_JoystickSetVirtualHat(pad, 0, static_cast<Uint8>(value))
    : control < kAxis
        ? SDL_JoystickSetVirtualButton(pad, control, static_cast<Uint8>(value))
        : SDL_JoystickSetVirtualAxis(pad, control - kAxis, static_cast<Sint16>(value));
    deliver();
}

SDL_Joystick* attach(SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = static_cast<Uint16>(type);
    desc.naxes = 6;
    desc.nbuttons = 15;
    desc.vendor_id = 0x1234;  // a USB identity, as a real pad's mapping line names
    desc.product_id = 0x5678;
    desc.Rumble = [](void*, Uint16 low, Uint16) { return lastRumble = low, 0; };
    SDL_Joystick* pad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
    EXPECT_NE(pad, nullptr) << SDL_GetError();
    set(pad, kLeftTrigger, -32768);  // triggers rest released, as on a real pad
    set(pad, kRightTrigger, -32768);
    return pad;
}

// A device without a mapping (joystick 1), with `control` at `rest` when it is next opened.
int attachStick(int control = kAxis, int rest = 0) {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 3, 2, 1);
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    set(stick, control, rest);
    SDL_JoystickClose(stick);
    return index;
}

void key(SDL_Keycode sym, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = sym;
    SDL_PushEvent(&event);
    deliver();
}

void openPads(bool game) {
    platform::openGamepads();
    platform::setPadKeys(game ? VK_P : VK_RETURN, game ? 0 : VK_RETURN);
    if (game) platform::captureJoystick();
    deliver();
}

// Input state as the game reads it: steering, the two fire buttons, and the keys pads press.
std::string state() {
    const bool held[] = {
        input.joyUp,      input.joyDown,    input.joyLeft,           input.joyRight,
        input.joyButton1, input.joyButton2, input.keys.isDown(VK_P), input.keys.isDown(VK_RETURN)};
    const char* names[] = {"up ",      "down ",     "left ", "right ",
                           "cannons ", "missiles ", "P ",    "Enter "};
    std::string s;
    for (int i = 0; i < 8; ++i) s += held[i] ? names[i] : "";
    return s;
}

struct Gamepads : ::testing::Test {
    void SetUp() override {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    }
    void TearDown() override {
        platform::releaseJoystick();
        platform::setRumbleEnabled(true);
        while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        input = {};
    }
};

TEST_F(Gamepads, EachControlDoesWhatItsKeyDoesAndLetsGoOnRelease) {
    const struct {
        const char* control;
        bool game;
        int index, pressed, released;
        const char* effect;
    } cases[] = {
        {"stick left", true, kStickX, -32768, 0, "left "},
        {"worn stick resting off centre", true, kStickX, -6000, 0, ""},
        {"d-pad down", true, kDown, 1, 0, "down "},
        {"d-pad right", true, kRight, 1, 0, "right "},
        {"A", true, kA, 1, 0, "cannons "},
        {"right trigger", true, kRightTrigger, 32767, -32768, "cannons "},
        {"B", true, kB, 1, 0, "missiles "},
        {"X", true, kX, 1, 0, "missiles "},
        {"left trigger", true, kLeftTrigger, 32767, -32768, "missiles "},
        {"Start", true, kStart, 1, 0, "P "},
        {"A on the title", false, kA, 1, 0, "Enter "},
        {"Start on the title", false, kStart, 1, 0, "Enter "},
        {"stick on the title", false, kStickX, -32768, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        SDL_Joystick* pad = attach();
        openPads(c.game);
        set(pad, c.index, c.pressed);
        EXPECT_EQ(state(), c.effect);
        set(pad, c.index, c.released);
        EXPECT_EQ(state(), "");
        SDL_JoystickClose(pad);
        TearDown();  // each control on a fresh pad
        SetUp();
    }
}

TEST_F(Gamepads, PadsPluggedInDuringPlaySteerTogetherAndOnePulledOutLetsGoOfAllItHeld) {
    openPads(true);
    SDL_Joystick* first = attach();
    SDL_Joystick* second = attach();
    set(first, kStickX, -32768);
    set(first, kA, 1);
    set(first, kStart, 1);
    set(second, kA, 1);
    set(second, kDown, 1);
    EXPECT_EQ(state(), "down left cannons P ");
    SDL_JoystickClose(first);
    SDL_JoystickDetachVirtual(0);
    deliver();
    EXPECT_EQ(state(), "down cannons ") << "the other pad still holds its own";
    set(second, kA, 0);
    EXPECT_EQ(state(), "down ");
    SDL_JoystickClose(second);
}

// The device has no mapping but the player's own; hits rumble it through the game's hook.
TEST_F(Gamepads, APadMappedInTheConfigFolderFiresAndRumblesHarderForHeavierHits) {
    testsupport::ScratchFolder config;  // its own folder: test runs side by side never share it
    std::filesystem::create_directories(config.path / "voxmere");
    SDL_Joystick* device = attach(SDL_JOYSTICK_TYPE_UNKNOWN);
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(device), guid, sizeof guid);
    testsupport::writeText(config / "voxmere/gamecontrollerdb.txt",
                           std::string(guid) + ",odd pad,a:b9,platform:Linux,\n");
    const char* before = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = before != nullptr ? before : "";
    setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
    openPads(true);
    before != nullptr ? setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    set(device, 9, 1);
    EXPECT_EQ(state(), "cannons ");

    const auto felt = [](float damage) {
        lastRumble = 0;
        player = {};
        player.takeDamage(damage);
        return lastRumble;
    };
    const Uint16 shot = felt(10.0f), rock = felt(22.0f);
    EXPECT_GT(shot, 0);
    EXPECT_GT(rock, shot);
    platform::setRumbleEnabled(false);
    EXPECT_EQ(felt(22.0f), 0);
    SDL_JoystickClose(device);
}

// The keyboard and a pad are two hands on one key: it stays down until both have let go.
TEST_F(Gamepads, AKeyTheKeyboardAndAPadBothHoldStaysDownUntilBothLetGo) {
    const struct {
        bool game;
        SDL_Keycode key;
        int button;
        const char* held;
    } cases[] = {{true, SDLK_p, kStart, "P "}, {false, SDLK_RETURN, kA, "Enter "}};
    for (const auto& c : cases) {
        SDL_Joystick* pad = attach();
        openPads(c.game);
        const char* steps = "KBbkBKkb";  // K, k: the key pressed, released; B, b: the button
        for (int i = 0; i < 8; ++i) {
            const bool down = std::isupper(steps[i]) != 0;
            steps[i] == 'K' || steps[i] == 'k' ? key(c.key, down) : set(pad, c.button, down);
            EXPECT_EQ(state(), i % 4 == 3 ? "" : c.held) << c.held << " after step " << i;
        }
        SDL_JoystickClose(pad);
        TearDown();
        SetUp();
    }
}

// Joystick 1 steers from where it rested when opened, as far either way, and with its hat.
TEST_F(Gamepads, JoystickOneSteersFromWhereItRestsEvenlyEitherWayAndWithItsHat) {
    const struct {
        int control, rest, pushed;
        const char* effect;
    } cases[] = {
        {kAxis, -32768, 32767, "right "},   // a pedal resting at one end
        {kAxis + 1, 32767, -32768, "up "},  // a throttle resting at the other
        {kAxis, 0, -7000, "left "},
        {kAxis, 0, 7000, "right "},
        {kHat, SDL_HAT_CENTERED, SDL_HAT_LEFTUP, "up left "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pushed);
        const int index = attachStick(c.control, c.rest);
        openPads(true);
        SDL_Joystick* stick = SDL_JoystickOpen(index);
        EXPECT_EQ(state(), "");
        set(stick, c.control, c.pushed);
        EXPECT_EQ(state(), c.effect);
        set(stick, c.control, c.rest);
        EXPECT_EQ(state(), "");
        SDL_JoystickClose(stick);
        TearDown();
        SetUp();
    }
}

TEST_F(Gamepads, WhenJoystickOneIsPulledOutTheNextDeviceWithoutAMappingSteers) {
    openPads(true);
    SDL_Joystick* first = SDL_JoystickOpen(attachStick());
    SDL_Joystick* second = SDL_JoystickOpen(attachStick());
    set(second, kAxis, -32768);
    EXPECT_EQ(state(), "") << "only joystick 1 steers";
    SDL_JoystickClose(first);
    SDL_JoystickDetachVirtual(0);
    deliver();
    EXPECT_EQ(state(), "left ");
    SDL_JoystickClose(second);
}

// Only a file SDL can use no line of is named, not one that corrects SDL's own mappings.
TEST_F(Gamepads, TheMappingsFileIsNamedOnlyWhenSdlCanUseNoneOfIt) {
    char* own = SDL_GameControllerMappingForIndex(0);  // it names its platform last
    const std::string corrected = std::string(own) + ",\r\n";
    SDL_free(own);
    const std::string file = "voxmere: the pad mappings in |FILE| were not read: ";
    const struct {
        std::string text;  // empty: a folder in its place
        std::string said;  // the start of the one line on standard error
    } cases[] = {
        {corrected, ""},
        {"03000000abcd0000ef01000000000000,odd pad,a:b3,platform:Windows,\n",
         "voxmere: |FILE| holds no pad mapping for Linux\n"},
        {"no name platform:Linux,\n", file + "Couldn't parse name"},
        {"", file + "it is not a regular file\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        testsupport::ScratchFolder config;
        const std::string mappings = config / "voxmere/gamecontrollerdb.txt";
        std::filesystem::create_directories(c.text.empty() ? mappings : config / "voxmere");
        if (!c.text.empty()) testsupport::writeText(mappings, c.text);
        setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
        testing::internal::CaptureStderr();
        platform::openGamepads();
        unsetenv("XDG_CONFIG_HOME");
        const std::string said = testing::internal::GetCapturedStderr();
        std::string expected = c.said;
        if (!expected.empty()) expected.replace(expected.find("|FILE|"), 6, mappings);
        EXPECT_EQ(said.substr(0, expected.size()), expected);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), expected.empty() ? 0 : 1) << said;
        TearDown();
        SetUp();
    }
}

}  // namespace
