// Reads back what a draw sends to GL, through feedback mode, as triangles in model units with
// the normal recorded at each corner, and checks the shape they make: closed skins wound
// outward, extents, flat unit normals.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>  // OpenGL 1.2 and 1.3 names, which Windows' gl.h leaves out

#include <array>
#include <functional>
#include <vector>

namespace testmesh {

struct P3 {
    double x, y, z;
};
inline P3 operator-(P3 a, P3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
P3 cross(P3 a, P3 b);
double dot(P3 a, P3 b);
double length(P3 a);

struct Triangle {
    P3 corner[3];
    P3 normal;  // as recorded, measured through the lighting
};

// Model units per unit of normalised device space; every measured shape fits well inside.
constexpr double scale = 16.0;

// Runs draw in feedback mode and returns its polygons, each as its corners' floats.
std::vector<std::vector<float>> feedback(const std::function<void()>& draw, GLenum type,
                                         int floatsPerCorner);
std::vector<std::vector<float>> feedback(GLuint list, GLenum type, int floatsPerCorner);

// Window coordinates give back model coordinates; nothing is culled or clipped.
void setUpMeasuringView();

// Everything draw records, as triangles (larger polygons are split into fans) with their
// corners in model units. With normals, every triangle must be flat (one normal at all three
// corners): normal-map texture generation copies each corner's normal into its texture
// coordinate, which feedback reports. The draw must leave texturing on and not change the
// texture generation for that.
std::vector<Triangle> measure(const std::function<void()>& draw, bool withNormals = true);
std::vector<Triangle> measure(GLuint list);

struct Extent {
    double low[3] = {1e9, 1e9, 1e9};
    double high[3] = {-1e9, -1e9, -1e9};
    void add(P3 p);
};

struct Mesh {
    std::vector<P3> vertices;
    std::vector<std::array<int, 3>> faces;  // indices into vertices
    std::vector<P3> normals;
};

// Joins corners closer than 2e-3 into one vertex.
Mesh weld(const std::vector<Triangle>& triangles);

// Every recorded normal is a unit vector at right angles to its face, on the side from which
// the corners run counter-clockwise.
void expectUnitFaceNormals(const std::vector<Triangle>& triangles);

// Groups of faces joined by shared vertices.
std::vector<std::vector<int>> parts(const Mesh& mesh);

// Each part is a closed skin wound the same way throughout (every edge is crossed once in each
// direction) and encloses a positive volume, so all its faces point outwards.
void expectClosedOutwardParts(const Mesh& mesh);

Extent extentOf(const Mesh& mesh, const std::vector<int>& faces);
Extent extentOf(const Mesh& mesh);
void expectExtent(const Extent& extent, const double (&expected)[3][2], double tolerance);

}  // namespace testmesh
