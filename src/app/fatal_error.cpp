#include "common/fatal_error.h"

#include <cstdlib>

#include "app/main_loop.h"

void fatalError(const char* text, const char* caption, platform::BoxIcon icon) {
    platform::messageBox(text, caption, icon);
    shutDown();
    std::exit(1);
}
