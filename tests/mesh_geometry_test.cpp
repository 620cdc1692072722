#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "assets/meshes.h"
#include "support/gl_test_context.h"
#include "support/mesh_measure.h"

namespace {

using namespace testmesh;

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

TEST(Meshes, FighterIsAClosedEightSidedSaucer) {
    REQUIRE_GL();
    buildMeshLists();
    const auto triangles = measure(fighterMesh);
    ASSERT_EQ(triangles.size(), 60u);
    expectUnitFaceNormals(triangles);
    const Mesh mesh = weld(triangles);
    EXPECT_EQ(mesh.vertices.size(), 32u);
    expectClosedOutwardParts(mesh);
    EXPECT_EQ(parts(mesh).size(), 1u);
    std::vector<int> all(mesh.faces.size());
    for (std::size_t f = 0; f < all.size(); ++f) all[f] = int(f);
    expectExtent(extentOf(mesh, all), {{-9.911, 9.911}, {-2.33, 3.54}, {-9.911, 9.911}}, 2e-3);

    // Four rings of eight corners, from the bottom up, on the eight 45-degree spokes.
    std::vector<P3> byHeight = mesh.vertices;
    std::sort(byHeight.begin(), byHeight.end(), [](P3 a, P3 b) { return a.y < b.y; });
    struct Ring {
        double lowY, highY, lowRadius, highRadius;
    };
    const Ring rings[4] = {{-2.33, -2.28, 2.3, 2.7},
                           {-1e-3, 1e-3, 9.91, 9.912},
                           {1.469, 1.471, 4.344, 4.346},
                           {3.505, 3.54, 2.0, 2.4}};
    for (int r = 0; r < 4; ++r) {
        bool spokeTaken[8] = {};
        for (int k = 0; k < 8; ++k) {
            const P3 v = byHeight[r * 8 + k];
            const double radius = std::hypot(v.x, v.z);
            EXPECT_GE(v.y, rings[r].lowY - 2e-3) << "ring " << r;
            EXPECT_LE(v.y, rings[r].highY + 2e-3) << "ring " << r;
            EXPECT_GE(radius, rings[r].lowRadius) << "ring " << r;
            EXPECT_LE(radius, rings[r].highRadius) << "ring " << r;
            double angle = std::atan2(v.z, v.x) * 180 / M_PI;
            if (angle < 0) angle += 360;
            const int spoke = static_cast<int>(std::lround(angle / 45)) % 8;
            EXPECT_LT(std::abs(angle - spoke * 45 - (spoke == 0 && angle > 180 ? 360 : 0)), 2.0);
            EXPECT_FALSE(spokeTaken[spoke]) << "ring " << r << " spoke " << spoke;
            spokeTaken[spoke] = true;
        }
    }
}

TEST(Meshes, PlayerShipIsFuselagePodsAndWingSlab) {
    REQUIRE_GL();
    buildMeshLists();
    const auto triangles = measure(playerShipMesh);
    ASSERT_EQ(triangles.size(), 76u);
    expectUnitFaceNormals(triangles);
    const Mesh mesh = weld(triangles);
    EXPECT_EQ(mesh.vertices.size(), 46u);
    expectClosedOutwardParts(mesh);
    std::vector<int> all(mesh.faces.size());
    for (std::size_t f = 0; f < all.size(); ++f) all[f] = int(f);
    expectExtent(extentOf(mesh, all), {{-7.335, 14.979}, {-2.943, 2.343}, {-12.27, 12.24}}, 2e-3);

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
    EXPECT_EQ(fuselage->size(), 16u);
    EXPECT_EQ(leftPod->size(), 24u);
    EXPECT_EQ(rightPod->size(), 24u);
    EXPECT_EQ(wing->size(), 12u);

    const Extent body = extentOf(mesh, *fuselage);
    expectExtent(body, {{-7.335, 14.979}, {-2.35, 1.75}, {-2.05, 2.05}}, 0.1);
    const Extent wingBox = extentOf(mesh, *wing);
    expectExtent(wingBox, {{-2.7, 2.7}, {-0.7, 0.1}, {-11.79, 11.80}}, 2e-3);

    const Extent left = extentOf(mesh, *leftPod);
    const Extent right = extentOf(mesh, *rightPod);
    for (const Extent* pod : {&left, &right}) {
        EXPECT_NEAR(pod->low[0], -4.218, 2e-3);  // the recess lies inside, behind the front
        EXPECT_NEAR(pod->high[0], 11.98, 2e-3);  // the rear point
        EXPECT_NEAR(pod->high[1] - pod->low[1], 5.1, 0.1);
        EXPECT_NEAR(pod->high[2] - pod->low[2], 5.9, 0.1);
    }
    EXPECT_NEAR(left.low[2], 6.3, 0.1);
    EXPECT_NEAR(right.high[2], -6.3, 0.1);
    // The +z half sits a little higher; otherwise the halves mirror each other.
    const double lift = left.high[1] - right.high[1];
    EXPECT_GE(lift, 0.16);
    EXPECT_LE(lift, 0.2);
    EXPECT_NEAR(left.low[2], -right.high[2], 0.05);
    EXPECT_NEAR(left.high[2], -right.low[2], 0.05);

    // Each pod: six-sided, closed in front by a recess whose apex lies on its axis at x -2.84.
    for (const auto* pod : {leftPod, rightPod}) {
        int frontCorners = 0;
        const Extent e = extentOf(mesh, *pod);
        const double axisY = (e.low[1] + e.high[1]) / 2, axisZ = (e.low[2] + e.high[2]) / 2;
        bool apexFound = false;
        std::vector<bool> seen(mesh.vertices.size());
        for (int f : *pod) {
            for (int v : mesh.faces[f]) {
                if (seen[v]) continue;
                seen[v] = true;
                const P3 p = mesh.vertices[v];
                if (std::abs(p.x + 4.218) < 2e-3) ++frontCorners;
                if (std::abs(p.x + 2.84) < 2e-3) {
                    apexFound = true;
                    EXPECT_NEAR(p.y, axisY, 2e-3);
                    EXPECT_NEAR(p.z, axisZ, 2e-3);
                }
            }
        }
        EXPECT_EQ(frontCorners, 6);
        EXPECT_TRUE(apexFound);
    }
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
