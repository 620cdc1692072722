#include "common/fatal_error.h"

#include <cstdlib>

#include "app/game_window.h"
#include "assets/sound_bank.h"
#include "platform/events.h"

void fatalError(const char* text, const char* caption, platform::BoxIcon icon) {
    platform::messageBox(text, caption, icon);
    destroyGameWindow();
    releaseSound();
    platform::releaseJoystick();
    std::exit(1);
}
