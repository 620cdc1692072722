#include "view/glasses.h"

#include <GL/gl.h>

GlassesChoice glasses;

namespace {

struct Channels {
    bool red, green, blue;
};

struct FilterPair {
    Channels first, second;  // over the left and the right eye as the glasses are meant
};

// Indexed by Glasses.
constexpr FilterPair kFilters[] = {
    {{true, false, false}, {false, false, true}},  // red / blue
    {{true, false, false}, {false, true, true}},   // red / cyan
    {{false, true, false}, {true, false, true}},   // green / magenta
    {{true, false, false}, {false, true, false}},  // red / green
};

void applyMask(const Channels& c) {
    glColorMask(c.red ? GL_TRUE : GL_FALSE, c.green ? GL_TRUE : GL_FALSE,
                c.blue ? GL_TRUE : GL_FALSE, GL_TRUE);
}

const FilterPair& filters() {
    return kFilters[static_cast<int>(glasses.kind)];
}

}  // namespace

void maskForLeftEye() {
    applyMask(glasses.swapEyes ? filters().second : filters().first);
}

void maskForRightEye() {
    applyMask(glasses.swapEyes ? filters().first : filters().second);
}

void maskForBothEyes() {
    const FilterPair& f = filters();
    applyMask({f.first.red || f.second.red, f.first.green || f.second.green,
               f.first.blue || f.second.blue});
}

void leftEyeChannels(float channels[3]) {
    const Channels& c = glasses.swapEyes ? filters().second : filters().first;
    channels[0] = c.red ? 1.0f : 0.0f;
    channels[1] = c.green ? 1.0f : 0.0f;
    channels[2] = c.blue ? 1.0f : 0.0f;
}
