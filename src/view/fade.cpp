#include "view/fade.h"

#include <GL/gl.h>

#include "common/globals.h"

float currentAlpha() {
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    return colour[3];
}

void setFadedAlpha(float a) {
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    colour[3] = shared.fadeAlpha * a;
    glColor4fv(colour);
}
