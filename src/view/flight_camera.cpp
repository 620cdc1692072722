#include "view/flight_camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

void loadFlightCamera(float eyeOffset) {
    glLoadIdentity();
    gluLookAt(30, 0, eyeOffset, -350, 0, 0, 0, 1, 0);
}
