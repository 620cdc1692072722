#include "assets/meshes.h"

#include <GL/gl.h>

#include <cmath>

#include "common/vec3.h"

namespace {

// A hull under construction: corners, and triangles wound counter-clockwise seen from outside.
struct Hull {
    static constexpr int maxVertices = 64;
    static constexpr int maxTriangles = 96;

    Vec3 vertices[maxVertices];
    int vertexCount = 0;
    int triangles[maxTriangles][3];
    int triangleCount = 0;

    int addVertex(float x, float y, float z) {
        vertices[vertexCount] = {x, y, z};
        return vertexCount++;
    }
    void addTriangle(int a, int b, int c) {
        triangles[triangleCount][0] = a;
        triangles[triangleCount][1] = b;
        triangles[triangleCount][2] = c;
        ++triangleCount;
    }
    // Corners counter-clockwise seen from outside.
    void addQuad(int a, int b, int c, int d) {
        addTriangle(a, b, c);
        addTriangle(a, c, d);
    }
};

constexpr float degrees = 3.14159265358979f / 180.0f;

// ---- fighter: rings of eight corners at 0, 45, ..., 315 degrees about the y axis ----

constexpr int saucerSides = 8;

// The top and bottom rings are a little uneven, as the saucer was modelled by hand.
constexpr float topRingHeights[saucerSides] = {3.54f,  3.52f, 3.505f, 3.52f,
                                               3.535f, 3.52f, 3.51f,  3.52f};
constexpr float bottomRingHeights[saucerSides] = {-2.28f,  -2.31f, -2.33f, -2.305f,
                                                  -2.285f, -2.31f, -2.33f, -2.305f};
constexpr float flatRing[saucerSides] = {0, 0, 0, 0, 0, 0, 0, 0};

int addSaucerRing(Hull& hull, const float (&heights)[saucerSides], float lift, float radius) {
    const int first = hull.vertexCount;
    for (int k = 0; k < saucerSides; ++k) {
        const float angle = 45.0f * static_cast<float>(k) * degrees;
        hull.addVertex(radius * std::cos(angle), heights[k] + lift, radius * std::sin(angle));
    }
    return first;
}

// The band between a ring and the ring below it.
void addSaucerBand(Hull& hull, int upperRing, int lowerRing) {
    for (int k = 0; k < saucerSides; ++k) {
        const int next = (k + 1) % saucerSides;
        hull.addQuad(lowerRing + next, lowerRing + k, upperRing + k, upperRing + next);
    }
}

void buildFighter(Hull& hull) {
    const int top = addSaucerRing(hull, topRingHeights, 0.0f, 2.2f);
    const int upper = addSaucerRing(hull, flatRing, 1.47f, 4.345f);
    const int rim = addSaucerRing(hull, flatRing, 0.0f, 9.911f);
    const int bottom = addSaucerRing(hull, bottomRingHeights, 0.0f, 2.5f);

    for (int k = 1; k < saucerSides - 1; ++k) hull.addTriangle(top, top + k + 1, top + k);
    addSaucerBand(hull, top, upper);
    addSaucerBand(hull, upper, rim);
    addSaucerBand(hull, rim, bottom);
    for (int k = 1; k < saucerSides - 1; ++k) hull.addTriangle(bottom, bottom + k, bottom + k + 1);
}

// ---- player ship: prisms along the x axis (forward is -x) ----

// A ring of corners in the plane x, around (centreY, centreZ); corner 0 points to +z and the
// corners go on towards +y.
int addCrossSection(Hull& hull, int sides, float x, float centreY, float centreZ, float radius) {
    const int first = hull.vertexCount;
    for (int j = 0; j < sides; ++j) {
        const float angle = 360.0f / static_cast<float>(sides) * static_cast<float>(j) * degrees;
        hull.addVertex(x, centreY + radius * std::sin(angle), centreZ + radius * std::cos(angle));
    }
    return first;
}

void addPrismSides(Hull& hull, int sides, int frontRing, int rearRing) {
    for (int j = 0; j < sides; ++j) {
        const int next = (j + 1) % sides;
        hull.addQuad(frontRing + j, rearRing + j, rearRing + next, frontRing + next);
    }
}

// Closes the front ring with a fan to apex: a point when the apex lies in front of the ring,
// a recess when it lies behind it, inside the prism.
void addFrontFan(Hull& hull, int sides, int frontRing, int apex) {
    for (int j = 0; j < sides; ++j) {
        hull.addTriangle(frontRing + j, frontRing + (j + 1) % sides, apex);
    }
}

void addRearPoint(Hull& hull, int sides, int rearRing, int apex) {
    for (int j = 0; j < sides; ++j) {
        hull.addTriangle(rearRing + j, apex, rearRing + (j + 1) % sides);
    }
}

constexpr float bodyFrontX = -4.035f;
constexpr float bodyRearX = 2.979f;

void addFuselage(Hull& hull) {
    // A diamond 4.1 high and 4.1 wide, pointed at both ends.
    const float centreY = -0.3f;
    const int front = addCrossSection(hull, 4, bodyFrontX, centreY, 0.0f, 2.05f);
    const int rear = addCrossSection(hull, 4, bodyRearX, centreY, 0.0f, 2.05f);
    const int nose = hull.addVertex(-7.335f, centreY, 0.0f);
    const int tail = hull.addVertex(14.979f, centreY, 0.0f);
    addPrismSides(hull, 4, front, rear);
    addFrontFan(hull, 4, front, nose);
    addRearPoint(hull, 4, rear, tail);
}

void addPod(Hull& hull, float centreY, float centreZ) {
    // Flat-topped hexagon: 5.9 wide, 5.1 high.
    const float radius = 2.95f;
    const int front = addCrossSection(hull, 6, -4.218f, centreY, centreZ, radius);
    const int rear = addCrossSection(hull, 6, bodyRearX, centreY, centreZ, radius);
    const int recess = hull.addVertex(-2.84f, centreY, centreZ);  // the intake, inside the pod
    const int point = hull.addVertex(11.98f, centreY, centreZ);
    addPrismSides(hull, 6, front, rear);
    addFrontFan(hull, 6, front, recess);
    addRearPoint(hull, 6, rear, point);
}

void addWingSlab(Hull& hull) {
    // 0.6 thick, its +z end 0.2 higher than its -z end.
    const float xs[2] = {-2.7f, 2.7f};
    const float zs[2] = {-11.79f, 11.80f};
    const float bottoms[2] = {-0.7f, -0.5f};  // per z end
    int c[2][2][2];                           // [x][z][bottom, top]
    for (int xi = 0; xi < 2; ++xi) {
        for (int zi = 0; zi < 2; ++zi) {
            c[xi][zi][0] = hull.addVertex(xs[xi], bottoms[zi], zs[zi]);
            c[xi][zi][1] = hull.addVertex(xs[xi], bottoms[zi] + 0.6f, zs[zi]);
        }
    }
    hull.addQuad(c[0][0][1], c[0][1][1], c[1][1][1], c[1][0][1]);  // top
    hull.addQuad(c[0][0][0], c[1][0][0], c[1][1][0], c[0][1][0]);  // bottom
    hull.addQuad(c[1][0][0], c[1][0][1], c[1][1][1], c[1][1][0]);  // rear (+x)
    hull.addQuad(c[0][0][0], c[0][1][0], c[0][1][1], c[0][0][1]);  // front (-x)
    hull.addQuad(c[0][1][0], c[1][1][0], c[1][1][1], c[0][1][1]);  // +z end
    hull.addQuad(c[0][0][0], c[0][0][1], c[1][0][1], c[1][0][0]);  // -z end
}

void buildPlayerShip(Hull& hull) {
    addFuselage(hull);
    // The +z pod sits about 0.18 higher than its partner.
    addPod(hull, -0.2118f, 9.29f);
    addPod(hull, -0.3882f, -9.32f);
    addWingSlab(hull);
}

// One GL_TRIANGLES primitive, each triangle preceded by its unit face normal.
void recordHull(const Hull& hull) {
    glBegin(GL_TRIANGLES);
    for (int t = 0; t < hull.triangleCount; ++t) {
        const Vec3& a = hull.vertices[hull.triangles[t][0]];
        const Vec3& b = hull.vertices[hull.triangles[t][1]];
        const Vec3& c = hull.vertices[hull.triangles[t][2]];
        const Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z};
        const Vec3 v{c.x - a.x, c.y - a.y, c.z - a.z};
        const Vec3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
        const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        glNormal3f(n.x / length, n.y / length, n.z / length);
        glVertex3f(a.x, a.y, a.z);
        glVertex3f(b.x, b.y, b.z);
        glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
}

}  // namespace

void buildMeshLists() {
    Hull fighter;
    buildFighter(fighter);
    glNewList(fighterMesh, GL_COMPILE);
    recordHull(fighter);
    glEndList();

    Hull ship;
    buildPlayerShip(ship);
    glNewList(playerShipMesh, GL_COMPILE);
    recordHull(ship);
    glEndList();
}
