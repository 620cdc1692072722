// The two eye passes of the stereo frame around a scene of the test's choosing, with the
// player's ship at the origin: blue only from the right eye, then red only from the left.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "view/flight_camera.h"

namespace testgl {

template <typename Scene>
void drawInBothEyes(Scene scene, float separation = 5.0f) {
    glColorMask(GL_FALSE, GL_FALSE, GL_TRUE, GL_TRUE);
    loadFlightCamera(-separation);
    scene();
    glColorMask(GL_TRUE, GL_FALSE, GL_FALSE, GL_TRUE);
    loadFlightCamera(separation);
    scene();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

struct ChannelTotals {
    long red = 0, green = 0, blue = 0;  // sums of the channel over the frame
    int redLit = 0, blueLit = 0;        // pixels whose channel is above 0
};

inline ChannelTotals channelTotals(const std::vector<uint8_t>& frame) {
    ChannelTotals totals;
    for (std::size_t i = 0; i + 2 < frame.size(); i += 3) {
        totals.red += frame[i];
        totals.green += frame[i + 1];
        totals.blue += frame[i + 2];
        totals.redLit += frame[i] > 0;
        totals.blueLit += frame[i + 2] > 0;
    }
    return totals;
}

}  // namespace testgl
