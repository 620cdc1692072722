#include "view/glasses.h"

#include <GL/gl.h>

Glasses glasses{};  // red/blue, the first kind

namespace {

GLboolean rightEyeSeesGreen() {
    return glasses == Glasses::RedCyan ? GL_TRUE : GL_FALSE;
}

}  // namespace

void maskForLeftEye() {
    glColorMask(GL_TRUE, GL_FALSE, GL_FALSE, GL_TRUE);
}

void maskForRightEye() {
    glColorMask(GL_FALSE, rightEyeSeesGreen(), GL_TRUE, GL_TRUE);
}

void maskForBothEyes() {
    glColorMask(GL_TRUE, rightEyeSeesGreen(), GL_TRUE, GL_TRUE);
}
