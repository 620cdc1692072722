// Pads and joystick 1. Every device is read into one merged state (four directions, two fire
// buttons, the keys Start and A hold), and only changes of that state are posted, as the
// joystick and key messages the game already understands.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/events.h"
#include "platform/files.h"
#include "platform/gamepad.h"
#include "platform/sdl/sdl_state.h"

namespace platform {
namespace {

constexpr int kMaxPads = 8;
// A fifth of the stick's travel either way from its centre, for pads and joystick 1 alike:
// worn sticks rest off centre, yet a small push still steers.
constexpr int kStickDeadZone = 6554;
// Triggers fire past half way and let go below a quarter, so a trigger held near the line
// does not chatter.
constexpr int kTriggerPress = 16384;
constexpr int kTriggerRelease = 8192;

enum Direction : uint8_t { kUp = 1, kDown = 2, kLeft = 4, kRight = 8 };

// What a pad button sent when pressed, so that its release sends the matching release even
// when the title has since handed over to the game. Positive values are virtual keys.
constexpr int kSentNothing = 0;
constexpr int kSentFire1 = -1;
constexpr int kSentFire2 = -2;

struct Pad {
    bool active = false;
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    uint8_t directions = 0;
    bool leftTrigger = false;
    bool rightTrigger = false;
    int sent[SDL_CONTROLLER_BUTTON_MAX] = {};
};

struct GamepadState {
    Pad pads[kMaxPads];
    bool padsOpen = false;
    bool captured = false;  // the game reads the joystick messages; the title does not
    int startPadKey = VK_RETURN;
    int aPadKey = VK_RETURN;
    bool rumbleEnabled = true;

    // Joystick 1: the first device without a mapping, read through its raw axes and buttons.
    SDL_Joystick* stick = nullptr;
    uint8_t stickDirections = 0;
    bool stickFire[2] = {};

    // The merged state as the game was last told it.
    uint8_t sentDirections = 0;
    bool sentFire[2] = {};
};
GamepadState gamepad;

uint8_t directionsOf(bool up, bool down, bool left, bool right) {
    return static_cast<uint8_t>((up ? kUp : 0) | (down ? kDown : 0) | (left ? kLeft : 0) |
                                (right ? kRight : 0));
}

uint8_t directionsOfStick(int x, int y) {
    const int d = kStickDeadZone;
    return directionsOf(y < -d, d < y, x < -d, d < x);
}

// How far joystick 1's axis is from where it rested when it was opened (SDL's first reading),
// so that a pedal or throttle resting at one end is at rest there, not pushed.
int stickAxisFromRest(int axis) {
    Sint16 rest = 0;
    if (!SDL_JoystickGetAxisInitialState(gamepad.stick, axis, &rest)) rest = 0;
    return SDL_JoystickGetAxis(gamepad.stick, axis) - rest;
}

// Joystick 1 steers with its first two axes and with its hats, as a pad's d-pad does.
uint8_t stickDirectionsNow() {
    uint8_t directions = directionsOfStick(stickAxisFromRest(0), stickAxisFromRest(1));
    for (int i = 0; i < SDL_JoystickNumHats(gamepad.stick); ++i) {
        const Uint8 hat = SDL_JoystickGetHat(gamepad.stick, i);
        directions |= directionsOf(hat & SDL_HAT_UP, hat & SDL_HAT_DOWN, hat & SDL_HAT_LEFT,
                                   hat & SDL_HAT_RIGHT);
    }
    return directions;
}

void readPadLevels(Pad& pad) {
    SDL_GameController* c = pad.controller;
    const int x = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
    auto button = [c](SDL_GameControllerButton b) {
        return SDL_GameControllerGetButton(c, b) != 0;
    };
    const uint8_t dpad = directionsOf(
        button(SDL_CONTROLLER_BUTTON_DPAD_UP), button(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
        button(SDL_CONTROLLER_BUTTON_DPAD_LEFT), button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
    pad.directions = directionsOfStick(x, y) | dpad;
    auto trigger = [c](SDL_GameControllerAxis axis, bool wasDown) {
        const int value = SDL_GameControllerGetAxis(c, axis);
        return wasDown ? value >= kTriggerRelease : value >= kTriggerPress;
    };
    pad.leftTrigger = trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, pad.leftTrigger);
    pad.rightTrigger = trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, pad.rightTrigger);
}

bool padFires(const Pad& pad, int sentValue, bool trigger) {
    if (trigger) return true;
    for (int value : pad.sent) {
        if (value == sentValue) return true;
    }
    return false;
}

// Posts what changed in the merged state since the game was last told; `moved` posts the
// position even when it did not change.
void postChanges(bool moved) {
    if (!gamepad.captured) return;
    uint8_t directions = gamepad.stickDirections;
    bool fire[2] = {gamepad.stickFire[0], gamepad.stickFire[1]};
    for (const Pad& pad : gamepad.pads) {
        if (!pad.active) continue;
        directions |= pad.directions;
        fire[0] |= padFires(pad, kSentFire1, pad.rightTrigger);
        fire[1] |= padFires(pad, kSentFire2, pad.leftTrigger);
    }
    if (moved || directions != gamepad.sentDirections) {
        gamepad.sentDirections = directions;
        // Pads pushing opposite ways cancel out.
        const auto axis = [directions](uint8_t low, uint8_t high) {
            const bool l = (directions & low) != 0, h = (directions & high) != 0;
            return l == h ? 32768 : (l ? 0 : 65535);
        };
        postMessage(MM_JOY1MOVE, 0, makeLParam(axis(kLeft, kRight), axis(kUp, kDown)));
    }
    const uint64_t change[2] = {JOY_BUTTON1CHG, JOY_BUTTON2CHG};
    for (int i = 0; i < 2; ++i) {
        if (fire[i] == gamepad.sentFire[i]) continue;
        gamepad.sentFire[i] = fire[i];
        postMessage(fire[i] ? MM_JOY1BUTTONDOWN : MM_JOY1BUTTONUP, change[i], 0);
    }
}

void letGoOf(int sent) {
    if (sent > 0) sdl::padLetsGoOfKey(sent);
}

int pressSends(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_START:
            return gamepad.startPadKey;
        case SDL_CONTROLLER_BUTTON_A:
            if (gamepad.aPadKey != 0) return gamepad.aPadKey;
            return gamepad.captured ? kSentFire1 : kSentNothing;
        case SDL_CONTROLLER_BUTTON_B:
        case SDL_CONTROLLER_BUTTON_X:
            return gamepad.captured ? kSentFire2 : kSentNothing;
        default:
            return kSentNothing;
    }
}

Pad* padWithId(SDL_JoystickID id) {
    for (Pad& pad : gamepad.pads) {
        if (pad.active && pad.id == id) return &pad;
    }
    return nullptr;
}

void openPad(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    if (padWithId(SDL_JoystickGetDeviceInstanceID(deviceIndex)) != nullptr) return;
    for (Pad& pad : gamepad.pads) {
        if (pad.active) continue;
        SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
        if (controller == nullptr) return;
        pad = Pad{};
        pad.active = true;
        pad.controller = controller;
        pad.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
        if (gamepad.captured) readPadLevels(pad);
        postChanges(false);
        return;
    }
}

// Lets go of everything the pad held, then closes it.
void closePad(Pad& pad) {
    for (int sent : pad.sent) letGoOf(sent);
    SDL_GameControllerClose(pad.controller);
    pad = Pad{};
    postChanges(false);
}

// Joystick 1's position as it is now; its buttons count from their next press.
void readStickAfresh() {
    gamepad.stickDirections = gamepad.stick != nullptr ? stickDirectionsNow() : 0;
    gamepad.stickFire[0] = gamepad.stickFire[1] = false;
}

void openStick(int deviceIndex) {
    if (gamepad.stick != nullptr || SDL_IsGameController(deviceIndex)) return;
    gamepad.stick = SDL_JoystickOpen(deviceIndex);
    readStickAfresh();
}

void closeStick() {
    if (gamepad.stick == nullptr) return;
    SDL_JoystickClose(gamepad.stick);
    gamepad.stick = nullptr;
    readStickAfresh();
}

bool isStick(SDL_JoystickID id) {
    return gamepad.stick != nullptr && SDL_JoystickInstanceID(gamepad.stick) == id;
}

// Joystick 1 is the first device without a mapping that is plugged in, other than `gone`.
void pickStick(SDL_JoystickID gone = -1) {
    for (int i = 0; i < SDL_NumJoysticks() && gamepad.stick == nullptr; ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) != gone) openStick(i);
    }
}

// Far more than any collection of mapping lines.
constexpr Sint64 kMaxMappingFileBytes = 8 << 20;

// The whole file in `text`; false with the reason in `problem`.
bool readMappingFile(const std::string& file, std::string& text, std::string& problem) {
    // Not opened unless it is a regular file: opening a FIFO would wait for a writer.
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::u8string(file.begin(), file.end()), error)) {
        problem = "it is not a regular file";
        return false;
    }
    SDL_RWops* in = SDL_RWFromFile(file.c_str(), "rb");
    if (in == nullptr) {
        problem = SDL_GetError();
        return false;
    }
    const Sint64 size = SDL_RWsize(in);
    if (size < 0 || size > kMaxMappingFileBytes) {
        problem = size < 0 ? SDL_GetError() : "it is larger than 8 MiB";
    } else {
        text.resize(static_cast<std::size_t>(size));
        if (SDL_RWread(in, text.data(), 1, text.size()) != text.size()) problem = SDL_GetError();
    }
    SDL_RWclose(in);
    return problem.empty();
}

// The lines of the player's file for this system go to SDL one at a time, as SDL's own file
// reader would hand them over. That reader counts only pads SDL had no mapping for, so a file
// that corrects SDL's own mappings would look as if it held nothing.
void addPlayerMappings() {
    const std::string file = gamepadMappingFile();
    std::error_code error;
    if (file.empty() || !std::filesystem::exists(std::u8string(file.begin(), file.end()), error)) {
        return;
    }
    std::string text, problem;
    if (!readMappingFile(file, text, problem)) {
        std::fprintf(stderr, "voxmere: the pad mappings in %s were not read: %s\n", file.c_str(),
                     problem.c_str());
        return;
    }
    int forThisSystem = 0, used = 0;
    std::string rejected;  // why SDL refused the first line it refused
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t field = line.find("platform:");
        const std::size_t comma = line.find(',', field);
        if (field == std::string::npos || comma == std::string::npos) continue;
        const std::string platform = line.substr(field + 9, comma - field - 9);
        if (SDL_strcasecmp(platform.c_str(), SDL_GetPlatform()) != 0) continue;
        ++forThisSystem;
        // 1 for a new pad, 0 for one whose mapping the line replaces, -1 for a line refused.
        if (SDL_GameControllerAddMapping(line.c_str()) >= 0) {
            ++used;
        } else if (rejected.empty()) {
            rejected = SDL_GetError();
        }
    }
    if (forThisSystem == 0) {
        std::fprintf(stderr, "voxmere: %s holds no pad mapping for %s\n", file.c_str(),
                     SDL_GetPlatform());
    } else if (used == 0) {
        std::fprintf(stderr, "voxmere: the pad mappings in %s were not read: %s\n", file.c_str(),
                     rejected.c_str());
    }
}

bool startJoystickSystem(Uint32 flags) {
    // SDL drops joystick events while no window of ours has focus unless told otherwise; the
    // stick keeps steering while the game is in the background. Set before the system starts.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    return SDL_InitSubSystem(flags) == 0;
}

}  // namespace

std::string gamepadMappingFile() {
    std::string why;
    const std::string folder = playerFolder(PlayerFolder::Config, why);
    return folder.empty() ? folder : folder + "gamecontrollerdb.txt";
}

void openGamepads() {
    if (gamepad.padsOpen || !startJoystickSystem(SDL_INIT_GAMECONTROLLER)) return;
    gamepad.padsOpen = true;
    addPlayerMappings();
    for (int i = 0; i < SDL_NumJoysticks(); ++i) openPad(i);
    // Joystick 1 opens with the pads, though the title never reads it: its axes count from
    // where they rest when it opens, and at start a hand is less likely on it than at play.
    pickStick();
}

void setPadKeys(int startKey, int aKey) {
    gamepad.startPadKey = startKey & 0xFF;
    gamepad.aPadKey = aKey & 0xFF;
}

void setRumbleEnabled(bool enabled) {
    gamepad.rumbleEnabled = enabled;
    if (enabled) return;
    for (Pad& pad : gamepad.pads) {
        if (pad.active) SDL_GameControllerRumble(pad.controller, 0, 0, 0);
    }
}

void rumblePads(float strength, uint32_t milliseconds) {
    if (!gamepad.rumbleEnabled) return;
    const float clamped = strength < 0.0f ? 0.0f : (strength > 1.0f ? 1.0f : strength);
    const auto motor = static_cast<Uint16>(clamped * 65535.0f);
    for (Pad& pad : gamepad.pads) {
        // A pad without motors refuses; that is all "where the pad can" needs.
        if (pad.active) SDL_GameControllerRumble(pad.controller, motor, motor, milliseconds);
    }
}

void captureJoystick() {
    if (gamepad.captured || !startJoystickSystem(SDL_INIT_JOYSTICK)) return;
    gamepad.captured = true;
    pickStick();
    readStickAfresh();
    for (Pad& pad : gamepad.pads) {
        if (pad.active) readPadLevels(pad);
    }
    bool anyPad = false;
    for (const Pad& pad : gamepad.pads) anyPad |= pad.active;
    // The position at once, as a stick reports it on capture; nothing without a device.
    postChanges(gamepad.stick != nullptr || anyPad);
}

void releaseJoystick() {
    closeStick();
    for (Pad& pad : gamepad.pads) {
        if (pad.active) SDL_GameControllerClose(pad.controller);
        pad = Pad{};
    }
    if (gamepad.padsOpen) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (gamepad.captured) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    gamepad.padsOpen = gamepad.captured = false;
    gamepad.sentDirections = 0;
    gamepad.sentFire[0] = gamepad.sentFire[1] = false;
    sdl::padsLetGoOfKeys();
}

namespace sdl {

void resetGamepads() {
    releaseJoystick();
    gamepad = {};
}

bool handleDeviceEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_JOYDEVICEADDED:
            // Both arrive for a mapped pad; the second finds it open already.
            if (gamepad.padsOpen) openPad(event.cdevice.which);
            if ((gamepad.padsOpen || gamepad.captured) && event.type == SDL_JOYDEVICEADDED) {
                openStick(event.jdevice.which);
                postChanges(false);
            }
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_JOYDEVICEREMOVED:
            if (Pad* pad = padWithId(event.cdevice.which)) closePad(*pad);
            if (isStick(event.jdevice.which)) {
                closeStick();
                pickStick(event.jdevice.which);
                postChanges(false);
            }
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            Pad* pad = padWithId(event.cbutton.which);
            if (pad == nullptr || event.cbutton.button >= SDL_CONTROLLER_BUTTON_MAX) return true;
            int& sent = pad->sent[event.cbutton.button];
            if (event.type == SDL_CONTROLLERBUTTONDOWN && sent == kSentNothing) {
                sent = pressSends(event.cbutton.button);
                if (sent > 0) sdl::padHoldsKey(sent);
            } else if (event.type == SDL_CONTROLLERBUTTONUP) {
                letGoOf(sent);
                sent = kSentNothing;
            }
            if (gamepad.captured) readPadLevels(*pad);
            postChanges(false);
            return true;
        }
        case SDL_CONTROLLERAXISMOTION:
            if (Pad* pad = padWithId(event.caxis.which); pad != nullptr && gamepad.captured) {
                readPadLevels(*pad);
                postChanges(false);
            }
            return true;
        case SDL_JOYAXISMOTION:
            if (isStick(event.jaxis.which) && event.jaxis.axis <= 1) {
                gamepad.stickDirections = stickDirectionsNow();
                postChanges(false);
            }
            return true;
        case SDL_JOYHATMOTION:
            if (isStick(event.jhat.which)) {
                gamepad.stickDirections = stickDirectionsNow();
                postChanges(false);
            }
            return true;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (isStick(event.jbutton.which) && event.jbutton.button <= 1) {
                gamepad.stickFire[event.jbutton.button] = event.type == SDL_JOYBUTTONDOWN;
                postChanges(false);
            }
            return true;
        default:
            return false;
    }
}

}  // namespace sdl
}  // namespace platform
