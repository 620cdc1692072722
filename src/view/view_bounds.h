// Whether a sphere in the current modelview frame can reach the screen, from the current
// modelview and projection matrices. Draws use it to skip what the view volume clips away
// entirely, which leaves every pixel as it was.
#pragma once

// The sphere lies wholly outside one plane of the view volume (the sides, the near plane or
// the far plane). With depthOnly, only the near and far planes are tried: wide points may
// still touch the screen from just outside its edges.
bool sphereOutsideView(float x, float y, float z, float radius, bool depthOnly = false);

// All the points, in the current modelview frame, lie outside one plane of the view volume:
// a flat convex shape through them is clipped away whole.
bool pointsOutsideView(const float (*points)[3], int count);
