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
    return testgl::litPixels(testgl::readFrame(), testgl::anyChannel) == 0;
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
