#include "view/view_bounds.h"

#include <GL/gl.h>

#include <cmath>

namespace {

// Projection x modelview as four rows: clip[row][x, y, z, w coefficient].
void clipRows(float (&clip)[4][4]) {
    GLfloat modelview[16];
    GLfloat projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += projection[k * 4 + row] * modelview[col * 4 + k];
            clip[row][col] = sum;
        }
    }
}

// One of the six planes of the view volume, w + c or w - c for the clip coordinate c of `axis`
// (0 and 1 the sides, 2 near and far), scaled so that it gives distances in eye units. False
// for a plane that degenerates in this matrix.
bool viewPlane(const float (&clip)[4][4], int axis, int sign, float (&plane)[4]) {
    for (int col = 0; col < 4; ++col) {
        plane[col] = clip[3][col] + static_cast<float>(sign) * clip[axis][col];
    }
    const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
    if (length == 0.0f) return false;
    for (float& coefficient : plane) coefficient /= length;
    return true;
}

}  // namespace

bool sphereOutsideView(float x, float y, float z, float radius, bool depthOnly) {
    // The sphere's centre in clip space and the clip-space images of the three axes.
    float clip[4][4];
    clipRows(clip);
    // Each plane is w + c or w - c for one clip coordinate c: sides (x, y), then near and far (z).
    const int firstAxis = depthOnly ? 2 : 0;
    // A little slack for rounding in the matrices: the test must never drop a touching sphere.
    const float reach = radius * 1.001f + 0.01f;
    for (int axis = firstAxis; axis < 3; ++axis) {
        for (int sign = -1; sign <= 1; sign += 2) {
            float plane[4];
            if (!viewPlane(clip, axis, sign, plane)) continue;
            const float distance = plane[0] * x + plane[1] * y + plane[2] * z + plane[3];
            if (distance < -reach) return true;
        }
    }
    return false;
}

bool pointsOutsideView(const float (*points)[3], int count) {
    float clip[4][4];
    clipRows(clip);
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign = -1; sign <= 1; sign += 2) {
            float plane[4];
            if (!viewPlane(clip, axis, sign, plane)) continue;
            bool allOutside = true;
            for (int i = 0; i < count && allOutside; ++i) {
                const float* p = points[i];
                const float distance =
                    plane[0] * p[0] + plane[1] * p[1] + plane[2] * p[2] + plane[3];
                // Slack for rounding, growing with the terms summed: a touching shape stays.
                const float terms = std::fabs(plane[0] * p[0]) + std::fabs(plane[1] * p[1]) +
                                    std::fabs(plane[2] * p[2]) + std::fabs(plane[3]);
                allOutside = distance < -(0.01f + 0.001f * terms);
            }
            if (allOutside) return true;
        }
    }
    return false;
}
