// The two eye passes of the stereo frame around a scene of the test's choosing, with the
// player's ship at the origin: blue only from the right eye, then red only from the left.
#pragma once

#include <GL/gl.h>

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

}  // namespace testgl
