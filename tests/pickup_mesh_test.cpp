#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "common/globals.h"
#include "support/gl_test_context.h"
#include "support/mesh_measure.h"
#include "world/pickup.h"

namespace {

using namespace testmesh;

Pickup built(int type) {
    Pickup pickup;
    pickup.buildPickup(type);
    return pickup;
}

std::vector<Triangle> measurePickup(const Pickup& pickup, bool withNormals) {
    return measure([&pickup] { pickup.draw(); }, withNormals);
}

struct PickupMeshTest : ::testing::Test {
    void SetUp() override {
        if (!testgl::open()) GTEST_FAIL() << "no GL context for pixel tests";
        shared.fadeAlpha = 1.0f;
        glColor4f(1, 1, 1, 1);
    }
};

// The three lit solids: closed, wound outward, one unit normal per face, and the extents and
// face and point counts they are built to.
TEST_F(PickupMeshTest, LitSolidsAreClosedFacingOutwardWithTheirExtentsAndCounts) {
    const struct {
        int type;
        std::size_t faces, points;
        double extent[3][2];
    } solids[] = {
        {4, 24, 14, {{-3, 3}, {-3, 3}, {-7.6, 7.6}}},
        {5, 32, 18, {{-4.1, 11.6}, {-4.3, 9.1}, {0, 2.4}}},
        {6, 48, 26, {{-3.8, 3.8}, {-7.0, 7.0}, {-8, 8}}},
    };
    for (const auto& solid : solids) {
        SCOPED_TRACE(::testing::Message() << "type " << solid.type);
        const auto triangles = measurePickup(built(solid.type), true);
        ASSERT_EQ(triangles.size(), solid.faces);
        expectUnitFaceNormals(triangles);
        const Mesh mesh = weld(triangles);
        EXPECT_EQ(mesh.vertices.size(), solid.points);
        EXPECT_EQ(parts(mesh).size(), 1u);
        expectClosedOutwardParts(mesh);
        expectExtent(extentOf(mesh), solid.extent, 2e-3);
    }
    // The hull repair crystal has its four sides pressed in to points near the centre.
    const Mesh crystal = weld(measurePickup(built(4), true));
    int nearCentre = 0;
    for (const P3& v : crystal.vertices) nearCentre += length(v) < 2.5 ? 1 : 0;
    EXPECT_EQ(nearCentre, 4);
}

TEST_F(PickupMeshTest, ShieldTetrahedronIsClosedAndDoubleCubeHasTwoClosedCubesAndTwoPlates) {
    const Mesh tetrahedron = weld(measurePickup(built(3), false));
    EXPECT_EQ(tetrahedron.faces.size(), 4u);
    EXPECT_EQ(tetrahedron.vertices.size(), 4u);
    expectClosedOutwardParts(tetrahedron);
    expectExtent(extentOf(tetrahedron), {{-5, 10}, {-10, 6}, {-8.66, 8.66}}, 2e-3);

    const Mesh cubes = weld(measurePickup(built(1), false));
    ASSERT_EQ(cubes.faces.size(), 28u);  // 14 quads
    const auto pieces = parts(cubes);
    int closedCubes = 0, plates = 0;
    for (const auto& piece : pieces) {
        const Extent e = extentOf(cubes, piece);
        if (piece.size() == 12) {
            ++closedCubes;
            const double expected[3][2] = {{-2.5, 2.5}, {-2.5, 2.5}, {e.low[2], e.low[2] + 5}};
            expectExtent(e, expected, 2e-3);
            EXPECT_NEAR(std::abs(e.low[2] + e.high[2]), 15, 2e-3);  // z -10..-5 or 5..10
        }
    }
    // The plates cross on the z axis; they share no corner with the cubes or each other.
    Mesh cubesOnly;
    cubesOnly.vertices = cubes.vertices;
    for (const auto& piece : pieces) {
        if (piece.size() == 12) {
            for (int f : piece) cubesOnly.faces.push_back(cubes.faces[f]);
        } else {
            EXPECT_EQ(piece.size(), 2u);
            ++plates;
            const Extent e = extentOf(cubes, piece);
            EXPECT_NEAR(e.low[2], -5, 2e-3);
            EXPECT_NEAR(e.high[2], 5, 2e-3);
            const bool inX = std::abs(e.high[0] - e.low[0]) < 1e-3;
            const bool inY = std::abs(e.high[1] - e.low[1]) < 1e-3;
            EXPECT_NE(inX, inY) << "a plate lies in the plane x = 0 or y = 0";
        }
    }
    EXPECT_EQ(closedCubes, 2);
    EXPECT_EQ(plates, 2);
    expectClosedOutwardParts(cubesOnly);
}

// Six spikes of two crossed triangles: each triangle runs from a tip 8 out on one axis to two
// inner points 2 out on another.
TEST_F(PickupMeshTest, StarsHaveSixSpikesOfCrossedTriangles) {
    for (int type : {2, 7}) {
        SCOPED_TRACE(::testing::Message() << "type " << type);
        const Mesh star = weld(measurePickup(built(type), false));
        ASSERT_EQ(star.faces.size(), 12u);
        EXPECT_EQ(star.vertices.size(), 12u);
        std::multiset<int> tipsUsed;
        for (const auto& face : star.faces) {
            int tips = 0, inner = 0;
            for (int v : face) {
                const P3 p = star.vertices[v];
                const double r = length(p);
                const bool onAxis =
                    (std::abs(p.x) < 1e-3) + (std::abs(p.y) < 1e-3) + (std::abs(p.z) < 1e-3) == 2;
                EXPECT_TRUE(onAxis);
                if (std::abs(r - 8) < 1e-3) {
                    ++tips;
                    tipsUsed.insert(v);
                }
                if (std::abs(r - 2) < 1e-3) ++inner;
            }
            EXPECT_EQ(tips, 1);
            EXPECT_EQ(inner, 2);
        }
        EXPECT_EQ(std::set<int>(tipsUsed.begin(), tipsUsed.end()).size(), 6u);
        for (int tip : std::set<int>(tipsUsed.begin(), tipsUsed.end()))
            EXPECT_EQ(tipsUsed.count(tip), 2u);
    }
}

// The pulse and the overall fade set the alpha; the spread star ignores the pulse. Every draw
// hands the remembered alpha back (times the fade) and leaves lighting on, texturing off.
TEST_F(PickupMeshTest, PulseAndFadeSetTheAlphaAndTheDrawRestoresState) {
    shared.fadeAlpha = 0.5f;
    for (int type = 1; type <= 7; ++type) {
        SCOPED_TRACE(::testing::Message() << "type " << type);
        Pickup pickup = built(type);
        pickup.pulse = 0.4f;
        setUpMeasuringView();
        glEnable(GL_LIGHTING);
        glColor4f(1, 1, 1, 0.8f);
        const auto polygons = feedback([&] { pickup.draw(); }, GL_3D_COLOR, 7);
        ASSERT_FALSE(polygons.empty());
        const float expectedAlpha = type == 7 ? 0.5f : 0.2f;
        for (const auto& polygon : polygons) {
            for (std::size_t c = 0; c + 7 <= polygon.size(); c += 7) {
                EXPECT_NEAR(polygon[c + 6], expectedAlpha, 1e-3);
            }
        }
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_NEAR(colour[3], 0.4f, 1e-6);  // 0.8 handed back through the fade of 0.5
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        EXPECT_EQ(depth, 1);
    }
    // An inactive slot draws nothing.
    Pickup idle = built(4);
    idle.active = false;
    EXPECT_TRUE(feedback([&] { idle.draw(); }, GL_3D, 3).empty());
}

}  // namespace
