// Pads, headless: SDL's virtual joystick with a controller mapping stands in for a real pad, and
// every message it causes must be one a journal accepts.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/input.h"
#include "app/journal.h"
#include "platform/events.h"
#include "platform/gamepad.h"
#include "player/player_ship.h"

namespace {

// Buttons and axes of a virtual pad under SDL's own mapping for it.
constexpr int kA = 0, kB = 1, kX = 2, kY = 3, kStart = 6, kUp = 11, kDown = 12, kLeft = 13,
              kRight = 14;
constexpr int kStickX = 0, kStickY = 1, kLeftTrigger = 4, kRightTrigger = 5;

Uint16 lastRumble = 0;

struct Gamepads : ::testing::Test {
    void SetUp() override {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        lastRumble = 0;
    }
    void TearDown() override {
        platform::releaseJoystick();
        platform::setRumbleEnabled(true);
        while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        keys = KeyTable{};
        joyUp = joyDown = joyLeft = joyRight = joyButton1 = joyButton2 = false;
    }

    static SDL_Joystick* attach(SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = static_cast<Uint16>(type);
        desc.naxes = 6;
        desc.nbuttons = 15;
        desc.name = "virtual pad";
        desc.vendor_id = 0x1234;  // a USB identity, as a real pad's mapping line names
        desc.product_id = 0x5678;
        desc.Rumble = [](void*, Uint16 low, Uint16) {
            lastRumble = low;
            return 0;
        };
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* pad = SDL_JoystickOpen(index);
        // Triggers rest released, as on a real pad.
        SDL_JoystickSetVirtualAxis(pad, kLeftTrigger, -32768);
        SDL_JoystickSetVirtualAxis(pad, kRightTrigger, -32768);
        SDL_JoystickUpdate();
        return pad;
    }
    static void startGame() {
        platform::openGamepads();
        platform::setPadKeys(VK_P, 0);
        platform::captureJoystick();
        deliver();
    }
    // Hands every waiting message to the window procedure, as the loops do.
    static void deliver() {
        SDL_JoystickUpdate();
        Message message;
        std::string error;
        while (platform::peekMessage(message) || platform::peekMessage(message)) {
            EXPECT_TRUE(checkJournalMessage(message, error)) << error;
            windowProc(message);
        }
    }
    static void set(SDL_Joystick* pad, bool axis, int index, int value) {
        if (axis) {
            SDL_JoystickSetVirtualAxis(pad, index, static_cast<Sint16>(value));
        } else {
            SDL_JoystickSetVirtualButton(pad, index, static_cast<Uint8>(value));
        }
        deliver();
    }
};

// Input state as the game reads it: steering, the two fire buttons, and one key.
std::string state() {
    std::string s;
    if (joyUp) s += "up ";
    if (joyDown) s += "down ";
    if (joyLeft) s += "left ";
    if (joyRight) s += "right ";
    if (joyButton1) s += "cannons ";
    if (joyButton2) s += "missiles ";
    if (keys.isDown(VK_P)) s += "P ";
    if (keys.isDown(VK_RETURN)) s += "Enter ";
    return s;
}

TEST_F(Gamepads, EachControlDoesWhatItsKeyDoesAndLetsGoOnRelease) {
    const struct {
        const char* control;
        bool title;
        bool axis;
        int index;
        int pressed;
        int released;
        const char* effect;
    } cases[] = {
        {"stick left", false, true, kStickX, -32768, 0, "left "},
        {"stick right", false, true, kStickX, 32767, 0, "right "},
        {"stick up", false, true, kStickY, -32768, 0, "up "},
        {"stick down", false, true, kStickY, 32767, 0, "down "},
        {"worn stick resting off centre", false, true, kStickX, -6000, 0, ""},
        {"d-pad up", false, false, kUp, 1, 0, "up "},
        {"d-pad down", false, false, kDown, 1, 0, "down "},
        {"d-pad left", false, false, kLeft, 1, 0, "left "},
        {"d-pad right", false, false, kRight, 1, 0, "right "},
        {"A", false, false, kA, 1, 0, "cannons "},
        {"right trigger", false, true, kRightTrigger, 32767, -32768, "cannons "},
        {"B", false, false, kB, 1, 0, "missiles "},
        {"X", false, false, kX, 1, 0, "missiles "},
        {"left trigger", false, true, kLeftTrigger, 32767, -32768, "missiles "},
        {"Start", false, false, kStart, 1, 0, "P "},
        {"Y", false, false, kY, 1, 0, ""},
        {"A on the title", true, false, kA, 1, 0, "Enter "},
        {"Start on the title", true, false, kStart, 1, 0, "Enter "},
        {"stick on the title", true, true, kStickX, -32768, 0, ""},
        {"right trigger on the title", true, true, kRightTrigger, 32767, -32768, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        SDL_Joystick* pad = attach();
        if (c.title) {
            platform::openGamepads();
            platform::setPadKeys(VK_RETURN, VK_RETURN);
            deliver();
        } else {
            startGame();
        }
        set(pad, c.axis, c.index, c.pressed);
        EXPECT_EQ(state(), c.effect);
        set(pad, c.axis, c.index, c.released);
        EXPECT_EQ(state(), "");
        SDL_JoystickClose(pad);
        TearDown();  // each control on a fresh pad
        SetUp();
    }
}

TEST_F(Gamepads, APadPulledOutMidPressLetsGoOfEverythingItHeld) {
    SDL_Joystick* pad = attach();
    startGame();
    set(pad, true, kStickX, -32768);
    set(pad, false, kA, 1);
    set(pad, false, kB, 1);
    set(pad, false, kStart, 1);
    ASSERT_EQ(state(), "left cannons missiles P ");
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(0);
    deliver();
    EXPECT_EQ(state(), "");
}

TEST_F(Gamepads, APadPluggedInLaterSteersAndSeveralPadsActAsOne) {
    startGame();
    SDL_Joystick* first = attach();
    deliver();
    set(first, true, kStickY, 32767);
    EXPECT_EQ(state(), "down ");

    SDL_Joystick* second = attach();
    deliver();
    set(second, false, kA, 1);
    set(first, false, kA, 1);
    set(second, false, kA, 0);
    EXPECT_EQ(state(), "down cannons ") << "held while any pad holds it";
    set(first, true, kStickY, 0);
    set(first, false, kA, 0);
    EXPECT_EQ(state(), "");
    SDL_JoystickClose(first);
    SDL_JoystickClose(second);
}

TEST_F(Gamepads, TheMappingFileInTheConfigFolderMapsAnUnknownDevice) {
    const auto folder = std::filesystem::temp_directory_path() / "voxmere-pads-test";
    std::filesystem::create_directories(folder / "voxmere");
    SDL_Joystick* device = attach(SDL_JOYSTICK_TYPE_UNKNOWN);
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(device), guid, sizeof guid);
    std::FILE* file = std::fopen((folder / "voxmere/gamecontrollerdb.txt").c_str(), "w");
    std::fprintf(file, "%s,odd pad,a:b9,leftx:a0,lefty:a1,platform:Linux,\n", guid);
    std::fclose(file);
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string before = saved != nullptr ? saved : "";
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    startGame();
    saved != nullptr ? setenv("XDG_CONFIG_HOME", before.c_str(), 1)
                     : unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(folder);

    set(device, false, 9, 1);
    EXPECT_EQ(state(), "cannons ");
    SDL_JoystickClose(device);
}

TEST_F(Gamepads, HitsRumbleHarderForMoreDamageUnlessRumbleIsOff) {
    SDL_Joystick* pad = attach();
    startGame();
    const struct {
        float damage;
        bool enabled;
    } hits[] = {{10.0f, true}, {22.0f, true}, {22.0f, false}};
    Uint16 felt[3] = {};
    for (int i = 0; i < 3; ++i) {
        platform::setRumbleEnabled(hits[i].enabled);
        lastRumble = 0;
        resetPlayer();
        player.takeDamage(hits[i].damage);
        felt[i] = lastRumble;
    }
    EXPECT_GT(felt[0], 0);
    EXPECT_GT(felt[1], felt[0]);
    EXPECT_EQ(felt[2], 0);
    SDL_JoystickClose(pad);
}

}  // namespace
