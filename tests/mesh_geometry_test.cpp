#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "assets/meshes.h"
#include "support/gl_test_context.h"

namespace {

struct P3 {
    double x, y, z;
};
P3 operator-(P3 a, P3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
P3 cross(P3 a, P3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(P3 a, P3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double length(P3 a) {
    return std::sqrt(dot(a, a));
}

struct Triangle {
    P3 corner[3];
    P3 normal;  // as recorded, measured through the lighting
};

// Model units per unit of normalised device space; both hulls fit well inside.
constexpr double scale = 16.0;

// Runs list in feedback mode and returns its polygons, each as its corners' floats.
std::vector<std::vector<float>> feedback(GLuint list, GLenum type, int floatsPerCorner) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), type, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const int used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    std::vector<std::vector<float>> polygons;
    for (int i = 0; i < used;) {
        EXPECT_EQ(buffer[i], static_cast<float>(GL_POLYGON_TOKEN)) << "only polygons expected";
        if (buffer[i] != static_cast<float>(GL_POLYGON_TOKEN)) break;
        const int corners = static_cast<int>(buffer[i + 1]);
        polygons.emplace_back(buffer.begin() + i + 2,
                              buffer.begin() + i + 2 + corners * floatsPerCorner);
        i += 2 + corners * floatsPerCorner;
    }
    return polygons;
}

// Window coordinates give back model coordinates; nothing is culled or clipped.
void setUpMeasuringView() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScaled(1 / scale, 1 / scale, 1 / scale);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, 2, 2);  // window coordinates = device coordinates + 1
    glDepthRange(0, 1);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_LIGHTING);
    glDisable(GL_NORMALIZE);
    glDisable(GL_RESCALE_NORMAL);
}

// Everything glCallList(list) records: triangles with their corners in model units and the
// normal recorded with them. Normal-map texture generation copies each corner's normal (as
// recorded, not rescaled) into its texture coordinate, which feedback reports.
std::vector<Triangle> measure(GLuint list) {
    setUpMeasuringView();
    for (GLenum coordinate : {GL_S, GL_T, GL_R}) {
        glTexGeni(coordinate, GL_TEXTURE_GEN_MODE, GL_NORMAL_MAP);
    }
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    // Texture coordinates reach feedback only while a complete texture is in use.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const GLubyte texel = 255;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 1, 1, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, &texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    const auto polygons = feedback(list, GL_3D_COLOR_TEXTURE, 11);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
    std::vector<Triangle> triangles;
    for (std::size_t t = 0; t < polygons.size(); ++t) {
        if (polygons[t].size() != 33) {
            ADD_FAILURE() << "polygon " << t << " is no whole triangle";
            continue;
        }
        Triangle triangle;
        P3 normals[3];
        for (int c = 0; c < 3; ++c) {
            const float* f = &polygons[t][c * 11];
            triangle.corner[c] = {(f[0] - 1) * scale, (f[1] - 1) * scale, (2 * f[2] - 1) * scale};
            normals[c] = {f[7], f[8], f[9]};
        }
        // Flat faces: all three corners carry the same normal.
        EXPECT_LT(length(normals[0] - normals[1]) + length(normals[0] - normals[2]), 1e-5);
        triangle.normal = normals[0];
        triangles.push_back(triangle);
    }
    return triangles;
}

struct Extent {
    double low[3] = {1e9, 1e9, 1e9};
    double high[3] = {-1e9, -1e9, -1e9};
    void add(P3 p) {
        const double v[3] = {p.x, p.y, p.z};
        for (int i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], v[i]);
            high[i] = std::max(high[i], v[i]);
        }
    }
};

// Corners closer than this are one vertex.
constexpr double sameVertex = 2e-3;

struct Mesh {
    std::vector<P3> vertices;
    std::vector<std::array<int, 3>> faces;  // indices into vertices
    std::vector<P3> normals;
};

Mesh weld(const std::vector<Triangle>& triangles) {
    Mesh mesh;
    for (const Triangle& triangle : triangles) {
        std::array<int, 3> face{};
        for (int c = 0; c < 3; ++c) {
            int found = -1;
            for (std::size_t v = 0; v < mesh.vertices.size(); ++v) {
                if (length(mesh.vertices[v] - triangle.corner[c]) < sameVertex) found = int(v);
            }
            if (found < 0) {
                found = static_cast<int>(mesh.vertices.size());
                mesh.vertices.push_back(triangle.corner[c]);
            }
            face[c] = found;
        }
        mesh.faces.push_back(face);
        mesh.normals.push_back(triangle.normal);
    }
    return mesh;
}

// Every recorded normal is a unit vector at right angles to its face, on the side from which
// the corners run counter-clockwise.
void expectUnitFaceNormals(const std::vector<Triangle>& triangles) {
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        const Triangle& tri = triangles[t];
        const P3 n = tri.normal;
        EXPECT_NEAR(length(n), 1.0, 1e-3) << "triangle " << t;
        const P3 face = cross(tri.corner[1] - tri.corner[0], tri.corner[2] - tri.corner[0]);
        ASSERT_GT(length(face), 1e-6) << "degenerate triangle " << t;
        // cos of the angle between the recorded normal and the counter-clockwise face normal
        EXPECT_GT(dot(face, n) / length(face) / length(n), 0.9999) << "triangle " << t;
    }
}

// Groups of faces joined by shared vertices.
std::vector<std::vector<int>> parts(const Mesh& mesh) {
    std::vector<int> owner(mesh.vertices.size());
    for (std::size_t v = 0; v < owner.size(); ++v) owner[v] = int(v);
    const auto root = [&](int v) {
        while (owner[v] != v) v = owner[v] = owner[owner[v]];
        return v;
    };
    for (const auto& f : mesh.faces) {
        owner[root(f[1])] = root(f[0]);
        owner[root(f[2])] = root(f[0]);
    }
    std::map<int, std::vector<int>> groups;
    for (std::size_t f = 0; f < mesh.faces.size(); ++f)
        groups[root(mesh.faces[f][0])].push_back(int(f));
    std::vector<std::vector<int>> result;
    for (auto& [key, faces] : groups) result.push_back(faces);
    return result;
}

// Each part is a closed skin wound the same way throughout (every edge is crossed once in each
// direction) and encloses a positive volume, so all its faces point outwards.
void expectClosedOutwardParts(const Mesh& mesh) {
    std::map<std::pair<int, int>, int> edges;
    for (const auto& f : mesh.faces) {
        for (int c = 0; c < 3; ++c) ++edges[{f[c], f[(c + 1) % 3]}];
    }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1) << "edge " << edge.first << "-" << edge.second;
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u)
            << "open edge " << edge.first << "-" << edge.second;
    }
    for (const auto& part : parts(mesh)) {
        double volume = 0;
        for (int f : part) {
            const auto& face = mesh.faces[f];
            volume +=
                dot(mesh.vertices[face[0]], cross(mesh.vertices[face[1]], mesh.vertices[face[2]])) /
                6;
        }
        EXPECT_GT(volume, 1.0);
    }
}

Extent extentOf(const Mesh& mesh, const std::vector<int>& faces) {
    Extent extent;
    for (int f : faces) {
        for (int v : mesh.faces[f]) extent.add(mesh.vertices[v]);
    }
    return extent;
}

bool frameIsBlack() {
    const auto frame = testgl::readFrame();
    return std::all_of(frame.begin(), frame.end(), [](uint8_t c) { return c == 0; });
}

TEST(Meshes, BuildingDrawsNothingAndListsDrawNothingBeforeIt) {
    REQUIRE_GL();
    glColor4f(1, 1, 1, 1);
    glDisable(GL_LIGHTING);
    testgl::clearAll();
    glLoadIdentity();
    glTranslatef(0, 0, -100);  // straight ahead of the untransformed camera
    glCallList(fighterMesh);
    glCallList(playerShipMesh);
    EXPECT_TRUE(frameIsBlack()) << "a list drew before it was built";

    buildMeshLists();
    EXPECT_TRUE(frameIsBlack()) << "building drew";
    glCallList(playerShipMesh);
    EXPECT_FALSE(frameIsBlack()) << "the built list draws";

    // In feedback mode: building feeds back nothing, calling does.
    GLfloat buffer[64];
    glFeedbackBuffer(64, GL_3D, buffer);
    glRenderMode(GL_FEEDBACK);
    buildMeshLists();
    EXPECT_EQ(glRenderMode(GL_RENDER), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Geometry a player cannot see wrong without noticing: every face lit from its own side (unit
// normals facing out of a closed surface), and the parts in their places. Sizes and outlines
// are checked from above, in pixels.
TEST(Meshes, SaucerIsOneClosedSolidWithOutwardNormals) {
    REQUIRE_GL();
    buildMeshLists();
    const auto triangles = measure(fighterMesh);
    ASSERT_FALSE(triangles.empty());
    expectUnitFaceNormals(triangles);
    const Mesh mesh = weld(triangles);
    expectClosedOutwardParts(mesh);
    EXPECT_EQ(parts(mesh).size(), 1u);
}

TEST(Meshes, ShipIsFuselageTwoMirroredPodsAndAWingThroughThem) {
    REQUIRE_GL();
    buildMeshLists();
    const auto triangles = measure(playerShipMesh);
    ASSERT_FALSE(triangles.empty());
    expectUnitFaceNormals(triangles);
    const Mesh mesh = weld(triangles);
    expectClosedOutwardParts(mesh);

    // Four closed parts, told apart by where they lie across the ship.
    const auto pieces = parts(mesh);
    ASSERT_EQ(pieces.size(), 4u);
    const std::vector<int>* fuselage = nullptr;
    const std::vector<int>* leftPod = nullptr;   // +z
    const std::vector<int>* rightPod = nullptr;  // -z
    const std::vector<int>* wing = nullptr;
    for (const auto& piece : pieces) {
        const Extent e = extentOf(mesh, piece);
        if (e.high[2] - e.low[2] > 20)
            wing = &piece;
        else if (e.low[2] > 5)
            leftPod = &piece;
        else if (e.high[2] < -5)
            rightPod = &piece;
        else
            fuselage = &piece;
    }
    ASSERT_TRUE(fuselage && leftPod && rightPod && wing);

    // The wing reaches into both pods; the pods mirror each other across the fuselage.
    const Extent wingBox = extentOf(mesh, *wing);
    const Extent left = extentOf(mesh, *leftPod);
    const Extent right = extentOf(mesh, *rightPod);
    EXPECT_GT(wingBox.high[2], left.low[2]);
    EXPECT_LT(wingBox.low[2], right.high[2]);
    EXPECT_NEAR(left.low[2], -right.high[2], 0.05);
    EXPECT_NEAR(left.high[2], -right.low[2], 0.05);
    EXPECT_NEAR(left.low[0], right.low[0], 0.05);
    EXPECT_NEAR(left.high[0], right.high[0], 0.05);
    // The nose is the fuselage's, ahead of everything else (-x is forward).
    const Extent body = extentOf(mesh, *fuselage);
    EXPECT_LT(body.low[0], std::min({left.low[0], right.low[0], wingBox.low[0]}));
}

// Seen from above, one world unit to 16 pixels, x to the right and +z down the screen.
class TopView {
  public:
    TopView() {
        testgl::clearAll();
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glDisable(GL_LIGHTING);
        glDisable(GL_FOG);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        glDisable(GL_TEXTURE_2D);
        glViewport(0, 0, 640, 480);
        glColor4f(1, 1, 1, 1);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(-20, 20, -15, 15, -50, 50);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glRotatef(90, 1, 0, 0);  // +y towards the viewer
    }
    ~TopView() {
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopAttrib();
    }
    static bool lit(double x, double z) {
        const auto pixel = testgl::readPixel(static_cast<int>(std::lround((x + 20) * 16)),
                                             static_cast<int>(std::lround((z + 15) * 16)));
        return pixel.r > 128;
    }
};

TEST(Meshes, ShipAndSaucerShowTheirShapesFromAbove) {
    REQUIRE_GL();
    buildMeshLists();
    {
        TopView view;
        glCallList(playerShipMesh);
    }
    for (double side : {1.0, -1.0}) {
        SCOPED_TRACE(side > 0 ? "+z side" : "-z side");
        EXPECT_TRUE(TopView::lit(0, 0));               // fuselage
        EXPECT_TRUE(TopView::lit(0, 9.3 * side));      // pod
        EXPECT_TRUE(TopView::lit(0, 4.2 * side));      // wing slab between them
        EXPECT_FALSE(TopView::lit(-3.5, 4.2 * side));  // open in front of the wing
        EXPECT_FALSE(TopView::lit(4.0, 4.2 * side));   // and behind it
        EXPECT_TRUE(TopView::lit(10.5, 9.3 * side));   // the pod's rear point
        EXPECT_FALSE(TopView::lit(0, 12.6 * side));    // outside the pod
    }
    EXPECT_TRUE(TopView::lit(-7.0, 0));   // nose
    EXPECT_FALSE(TopView::lit(-7.7, 0));  // beyond it
    EXPECT_TRUE(TopView::lit(14.5, 0));   // tail point

    {
        TopView view;
        glCallList(fighterMesh);
    }
    // An octagon with corners on the axes: a corner reaches 9.9, the edge between two
    // corners only about 9.16.
    for (int k = 0; k < 8; ++k) {
        const double corner = k * M_PI / 4, edge = corner + M_PI / 8;
        EXPECT_TRUE(TopView::lit(9.6 * std::cos(corner), 9.6 * std::sin(corner))) << k;
        EXPECT_FALSE(TopView::lit(9.6 * std::cos(edge), 9.6 * std::sin(edge))) << k;
        EXPECT_TRUE(TopView::lit(8.8 * std::cos(edge), 8.8 * std::sin(edge))) << k;
    }
}

// The lists record only geometry: colour, texture coordinate and the caller's state pass
// through untouched.
TEST(Meshes, ListsTakeColourTextureAndStateFromTheCaller) {
    REQUIRE_GL();
    buildMeshLists();
    setUpMeasuringView();
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    for (GLuint list : {fighterMesh, playerShipMesh}) {
        glColor4f(0.25f, 0.5f, 0.75f, 0.5f);
        glTexCoord4f(0.125f, 0.625f, 0, 1);
        const auto polygons = feedback(list, GL_3D_COLOR_TEXTURE, 11);
        ASSERT_FALSE(polygons.empty());
        for (const auto& polygon : polygons) {
            for (std::size_t c = 0; c + 11 <= polygon.size(); c += 11) {
                EXPECT_FLOAT_EQ(polygon[c + 3], 0.25f);
                EXPECT_FLOAT_EQ(polygon[c + 4], 0.5f);
                EXPECT_FLOAT_EQ(polygon[c + 5], 0.75f);
                EXPECT_FLOAT_EQ(polygon[c + 6], 0.5f);
                EXPECT_FLOAT_EQ(polygon[c + 7], 0.125f);
                EXPECT_FLOAT_EQ(polygon[c + 8], 0.625f);
            }
        }
        glCallList(list);
        GLfloat colour[4], coords[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coords);
        EXPECT_FLOAT_EQ(colour[1], 0.5f);
        EXPECT_FLOAT_EQ(coords[0], 0.125f);
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, static_cast<GLint>(texture));
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

}  // namespace
