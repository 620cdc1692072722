#include "world/pickup.h"

#include <GL/gl.h>

#include <cmath>

#include "assets/sound_bank.h"
#include "assets/sprite_layout.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "common/random.h"
#include "hud/hud.h"
#include "player/player_ship.h"
#include "view/fade.h"

std::array<Pickup, pickupSlotCount> pickups;

namespace {

constexpr int32_t kPointsPerPickup = 100;
constexpr float kTwoPi = 6.28318530718f;
constexpr float kSpinPerSecond = 10.0f;     // radians of pulse phase
constexpr float kTumblePerSecond = 100.0f;  // degrees
constexpr float kGoneAfterX = 10.0f;        // drifted past the player
// Types 4, 5 and 6 get their own collection radius, so that the same pickup is equally easy
// to catch whichever type used the slot before.
constexpr float kSolidPickupRadius = 8.0f;

// ---- textured double cube (type 1): two cubes on the z axis joined by two crossed plates ----
// Vertices 0-7 the cube at z -10..-5, 8-15 the cube at z 5..10 (bit 0 of the corner number is
// +x, bit 1 +y, bit 2 the far end in z), 16-19 the plate x = 0, 20-23 the plate y = 0.
constexpr int kDoubleCubeVertices = 24;
constexpr float kCubeHalf = 2.5f;
constexpr uint8_t kCubeFaces[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                      {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
constexpr uint8_t kPlates[2][4] = {{16, 17, 18, 19}, {20, 21, 22, 23}};
constexpr QuadTexture kCubeTexture = quadTexture(kCubeFaceRect);
constexpr QuadTexture kPlateTexture = quadTexture(kPlateRect);

// ---- six-pointed star (types 2 and 7): six spikes, each two crossed triangles ----
// Vertices 0-5 the inner points on +x, -x, +y, -y, +z, -z, 6-11 the tips in the same order.
constexpr int kStarVertices = 12;
constexpr float kStarInner = 2.0f;
constexpr float kStarTip = 8.0f;
constexpr uint8_t kStarTriangles[12][3] = {{2, 3, 6},  {4, 5, 6},  {2, 3, 7},  {4, 5, 7},
                                           {0, 1, 8},  {4, 5, 8},  {0, 1, 9},  {4, 5, 9},
                                           {0, 1, 10}, {2, 3, 10}, {0, 1, 11}, {2, 3, 11}};

// ---- tetrahedron (type 3) ----
constexpr int kTetrahedronVertices = 4;
constexpr Vec3 kTetrahedronPoints[4] = {
    {-5.0f, 6.0f, 8.66f}, {-5.0f, 6.0f, -8.66f}, {10.0f, 6.0f, 0.0f}, {0.0f, -10.0f, 0.0f}};
constexpr uint8_t kTetrahedronFaces[4][3] = {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {2, 0, 3}};

constexpr float kTexturedRadius = 10.0f;  // double cube and tetrahedron
constexpr float kStarRadius = 8.0f;

// ---- the three lit solids (types 4, 5, 6): fixed triangles, flat normals, wound outward ----

// Hull repair: a cube of side 6 with a pyramid to a tip on each end of the z axis and each of
// its four sides pressed in to a point near the centre, so it reads as a four-pointed crystal.
constexpr Vec3 kCrystalPoints[14] = {{-3, -3, -3},  {3, -3, -3},  {-3, 3, -3},  {3, 3, -3},
                                     {-3, -3, 3},   {3, -3, 3},   {-3, 3, 3},   {3, 3, 3},
                                     {0, 0, -7.6f}, {0, 0, 7.6f}, {1.2f, 0, 0}, {-1.2f, 0, 0},
                                     {0, 1.2f, 0},  {0, -1.2f, 0}};
constexpr uint8_t kCrystalFaces[24][3] = {
    {4, 5, 9},  {1, 0, 8},  {5, 7, 9},  {3, 1, 8},  {7, 6, 9},  {2, 3, 8},  {6, 4, 9},  {0, 2, 8},
    {1, 3, 10}, {3, 7, 10}, {7, 5, 10}, {5, 1, 10}, {0, 11, 2}, {2, 11, 6}, {6, 11, 4}, {4, 11, 0},
    {2, 12, 3}, {3, 12, 7}, {7, 12, 6}, {6, 12, 2}, {0, 1, 13}, {1, 5, 13}, {5, 4, 13}, {4, 0, 13}};

// Rapid fire: a lightning bolt 2.4 thick, its nine-cornered outline at z = 0 (points 0-8) and
// z = 2.4 (points 9-17), from the tip at the top right to the tip at the bottom left.
constexpr Vec3 kBoltPoints[18] = {{11.6f, 9.1f, 0},    {5, 9.1f, 0},         {-0.6f, 2.8f, 0},
                                  {2.6f, 2.8f, 0},     {-4.1f, -4.3f, 0},    {6, 3.6f, 0},
                                  {2.9f, 3.6f, 0},     {6.6f, 6.4f, 0},      {9.4f, 6.4f, 0},
                                  {11.6f, 9.1f, 2.4f}, {5, 9.1f, 2.4f},      {-0.6f, 2.8f, 2.4f},
                                  {2.6f, 2.8f, 2.4f},  {-4.1f, -4.3f, 2.4f}, {6, 3.6f, 2.4f},
                                  {2.9f, 3.6f, 2.4f},  {6.6f, 6.4f, 2.4f},   {9.4f, 6.4f, 2.4f}};
constexpr uint8_t kBoltFaces[32][3] = {
    {17, 9, 10}, {1, 0, 8},    {12, 13, 14}, {5, 4, 3},    {11, 12, 14}, {5, 3, 2},    {11, 14, 15},
    {6, 5, 2},   {10, 11, 15}, {6, 2, 1},    {10, 15, 16}, {7, 6, 1},    {10, 16, 17}, {8, 7, 1},
    {0, 1, 10},  {0, 10, 9},   {1, 2, 11},   {1, 11, 10},  {2, 3, 12},   {2, 12, 11},  {3, 4, 13},
    {3, 13, 12}, {4, 5, 14},   {4, 14, 13},  {5, 6, 15},   {5, 15, 14},  {6, 7, 16},   {6, 16, 15},
    {7, 8, 17},  {7, 17, 16},  {8, 0, 9},    {8, 9, 17}};

// Extra life: a heart 7.6 thick, its thirteen-cornered outline in the y-z plane at x = -3.8
// (points 0-12) and x = 3.8 (points 13-25), from the bottom tip round both lobes.
constexpr Vec3 kHeartPoints[26] = {
    {-3.8f, -7, 0},        {-3.8f, -1.6f, 5.8f}, {-3.8f, 2.4f, 8},     {-3.8f, 5.6f, 7.4f},
    {-3.8f, 7, 5},         {-3.8f, 6.5f, 2.4f},  {-3.8f, 4.2f, 0.7f},  {-3.8f, 4.2f, -0.7f},
    {-3.8f, 6.5f, -2.4f},  {-3.8f, 7, -5},       {-3.8f, 5.6f, -7.4f}, {-3.8f, 2.4f, -8},
    {-3.8f, -1.6f, -5.8f}, {3.8f, -7, 0},        {3.8f, -1.6f, 5.8f},  {3.8f, 2.4f, 8},
    {3.8f, 5.6f, 7.4f},    {3.8f, 7, 5},         {3.8f, 6.5f, 2.4f},   {3.8f, 4.2f, 0.7f},
    {3.8f, 4.2f, -0.7f},   {3.8f, 6.5f, -2.4f},  {3.8f, 7, -5},        {3.8f, 5.6f, -7.4f},
    {3.8f, 2.4f, -8},      {3.8f, -1.6f, -5.8f}};
constexpr uint8_t kHeartFaces[48][3] = {
    {13, 15, 14}, {2, 0, 1},    {13, 16, 15}, {3, 0, 2},    {13, 17, 16}, {4, 0, 3},
    {13, 18, 17}, {5, 0, 4},    {13, 19, 18}, {6, 0, 5},    {13, 20, 19}, {7, 0, 6},
    {13, 21, 20}, {8, 0, 7},    {13, 22, 21}, {9, 0, 8},    {13, 23, 22}, {10, 0, 9},
    {13, 24, 23}, {11, 0, 10},  {13, 25, 24}, {12, 0, 11},  {0, 14, 1},   {0, 13, 14},
    {1, 15, 2},   {1, 14, 15},  {2, 16, 3},   {2, 15, 16},  {3, 17, 4},   {3, 16, 17},
    {4, 18, 5},   {4, 17, 18},  {5, 19, 6},   {5, 18, 19},  {6, 20, 7},   {6, 19, 20},
    {7, 21, 8},   {7, 20, 21},  {8, 22, 9},   {8, 21, 22},  {9, 23, 10},  {9, 22, 23},
    {10, 24, 11}, {10, 23, 24}, {11, 25, 12}, {11, 24, 25}, {12, 13, 0},  {12, 25, 13}};

constexpr int kMostSolidFaces = 48;

// A lit solid with one normal per triangle, worked out once from its winding.
struct SolidMesh {
    const Vec3* points;
    const uint8_t (*faces)[3];
    int faceCount;
    Vec3 normals[kMostSolidFaces];

    SolidMesh(const Vec3* meshPoints, const uint8_t (*meshFaces)[3], int count)
        : points(meshPoints), faces(meshFaces), faceCount(count) {
        for (int f = 0; f < faceCount; ++f) {
            const Vec3 a = points[faces[f][0]], b = points[faces[f][1]], c = points[faces[f][2]];
            const Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z}, v{c.x - a.x, c.y - a.y, c.z - a.z};
            const Vec3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
            const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
            normals[f] = {n.x / length, n.y / length, n.z / length};
        }
    }

    void draw() const {
        glBegin(GL_TRIANGLES);
        for (int f = 0; f < faceCount; ++f) {
            glNormal3f(normals[f].x, normals[f].y, normals[f].z);
            for (int corner = 0; corner < 3; ++corner) {
                const Vec3& p = points[faces[f][corner]];
                glVertex3f(p.x, p.y, p.z);
            }
        }
        glEnd();
    }
};

const SolidMesh crystal(kCrystalPoints, kCrystalFaces, 24);
const SolidMesh bolt(kBoltPoints, kBoltFaces, 32);
const SolidMesh heart(kHeartPoints, kHeartFaces, 48);

void beginTextured() {
    glDisable(GL_LIGHTING);
    if (shared.texturingEnabled) glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.spriteAtlas);
}

void endTextured() {
    glEnable(GL_LIGHTING);
    if (shared.texturingEnabled) glDisable(GL_TEXTURE_2D);
}

void vertex(const Vec3& p) {
    glVertex3f(p.x, p.y, p.z);
}

void drawTriangles(const Vec3* vertices, const uint8_t (*triangles)[3], int count,
                   const float (*texture)[2]) {
    glBegin(GL_TRIANGLES);
    for (int t = 0; t < count; ++t) {
        for (int corner = 0; corner < 3; ++corner) {
            if (texture) glTexCoord2f(texture[corner][0], texture[corner][1]);
            vertex(vertices[triangles[t][corner]]);
        }
    }
    glEnd();
}

void drawQuad(const Vec3* vertices, const uint8_t (&quad)[4], const float (&texture)[4][2]) {
    for (int corner = 0; corner < 4; ++corner) {
        glTexCoord2f(texture[corner][0], texture[corner][1]);
        vertex(vertices[quad[corner]]);
    }
}

void buildDoubleCube(Vec3* vertices) {
    for (int cube = 0; cube < 2; ++cube) {
        const float nearZ = cube == 0 ? -10.0f : 5.0f;
        for (int corner = 0; corner < 8; ++corner) {
            vertices[cube * 8 + corner] = {(corner & 1) ? kCubeHalf : -kCubeHalf,
                                           (corner & 2) ? kCubeHalf : -kCubeHalf,
                                           nearZ + ((corner & 4) ? 5.0f : 0.0f)};
        }
    }
    const float h = kCubeHalf, reach = 5.0f;
    const Vec3 plates[8] = {{0, -h, -reach}, {0, h, -reach}, {0, h, reach}, {0, -h, reach},
                            {-h, 0, -reach}, {h, 0, -reach}, {h, 0, reach}, {-h, 0, reach}};
    for (int i = 0; i < 8; ++i) vertices[16 + i] = plates[i];
}

void buildStar(Vec3* vertices) {
    const float reach[2] = {kStarInner, kStarTip};
    for (int ring = 0; ring < 2; ++ring) {
        const float r = reach[ring];
        const Vec3 points[6] = {{r, 0, 0},  {-r, 0, 0}, {0, r, 0},
                                {0, -r, 0}, {0, 0, r},  {0, 0, -r}};
        for (int i = 0; i < 6; ++i) vertices[ring * 6 + i] = points[i];
    }
}

}  // namespace

int32_t pickupTypeFor(int r) {
    if (r < 20) return PickupCannonUpgrade;
    if (r < 30) return PickupHullRepair;
    if (r < 40) return PickupRapidFire;
    if (r < 43) return PickupExtraCannons;
    if (r < 44) return PickupSpread;
    if (r < 48) return PickupShieldCharge;
    return PickupExtraLife;
}

void Pickup::startPickup(float x, float y, float z, float driftSpeed) {
    position = {x, y, z};
    active = true;
    speed = driftSpeed;
    buildPickup(pickupTypeFor(randomNumber() % pickupTypeDraws));
}

void Pickup::buildPickup(int32_t newType) {
    type = newType;
    pulse = 1.0f;
    spinPhase = 0.0f;
    tumble = 0.0f;
    active = true;
    switch (type) {
        case PickupCannonUpgrade:
            vertexCount = kDoubleCubeVertices;
            radius = kTexturedRadius;
            buildDoubleCube(vertices);
            break;
        case PickupExtraCannons:
        case PickupSpread:
            vertexCount = kStarVertices;
            radius = kStarRadius;
            buildStar(vertices);
            break;
        case PickupShieldCharge:
            vertexCount = kTetrahedronVertices;
            radius = kTexturedRadius;
            for (int i = 0; i < kTetrahedronVertices; ++i) vertices[i] = kTetrahedronPoints[i];
            break;
        case PickupHullRepair:
        case PickupRapidFire:
        case PickupExtraLife:
            // Fixed meshes; vertexCount keeps what the slot last held, unused by these.
            radius = kSolidPickupRadius;
            break;
        default:
            break;
    }
}

void Pickup::update() {
    spinPhase += kSpinPerSecond * shared.frameSeconds;
    if (spinPhase > kTwoPi) spinPhase = 0.0f;
    pulse = std::sin(spinPhase) * 0.35f + 0.65f;
    tumble += kTumblePerSecond * shared.frameSeconds;
    if (tumble > 360.0f) tumble = 0.0f;
    position.x += speed * shared.frameSeconds;
    if (position.x > kGoneAfterX) active = false;
}

bool Pickup::collectedBy(const PlayerShip& ship) {
    if (!active) return false;
    // The ship's position holds its negated location, so the sum is the pickup's offset.
    const float dx = ship.position.x + position.x;
    const float dy = ship.position.y + position.y;
    const float dz = ship.position.z + position.z;
    const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!(ship.pickupRadius + radius > distance)) return false;
    active = false;
    return true;
}

void Pickup::applyTo(PlayerShip& ship) const {
    playSound(SoundPowerUp, 0, 0, 0, SoundPlayOnce);
    scoreDisplay.addScore(kPointsPerPickup);
    switch (type) {
        case PickupCannonUpgrade:
            ship.upgradeCannons();
            break;
        case PickupExtraCannons:
            ship.addCannons();
            break;
        case PickupShieldCharge:
            ship.chargeShield();
            break;
        case PickupHullRepair:
            ship.repairHull();
            break;
        case PickupRapidFire:
            ship.startRapidFire();
            break;
        case PickupExtraLife:
            ship.gainLife();
            break;
        case PickupSpread:
            ship.enableSpread();
            break;
        default:
            break;
    }
}

void Pickup::draw() const {
    if (!active) return;
    const float remembered = currentAlpha();
    setFadedAlpha(pulse);  // throbs between 30 % and 100 % of the overall fade
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glRotatef(tumble, 0.2f, 0.5f, 0.7f);
    glRotatef(tumble, 0.6f, 0.1f, 0.2f);
    switch (type) {
        case PickupCannonUpgrade:
            beginTextured();
            glBegin(GL_QUADS);
            for (int cube = 0; cube < 2; ++cube) {
                for (const auto& face : kCubeFaces) {
                    const uint8_t quad[4] = {static_cast<uint8_t>(cube * 8 + face[0]),
                                             static_cast<uint8_t>(cube * 8 + face[1]),
                                             static_cast<uint8_t>(cube * 8 + face[2]),
                                             static_cast<uint8_t>(cube * 8 + face[3])};
                    drawQuad(vertices, quad, kCubeTexture.st);
                }
            }
            for (const auto& plate : kPlates) drawQuad(vertices, plate, kPlateTexture.st);
            glEnd();
            endTextured();
            break;
        case PickupExtraCannons:
            beginTextured();
            drawTriangles(vertices, kStarTriangles, 12, kStarSpikeTexture);
            endTextured();
            break;
        case PickupShieldCharge:
            beginTextured();
            drawTriangles(vertices, kTetrahedronFaces, 4, kTetrahedronFaceTexture);
            endTextured();
            break;
        case PickupSpread:
            // Full alpha, whatever the pulse; the remembered alpha goes back below.
            glDisable(GL_LIGHTING);
            setFadedAlpha(1.0f);
            drawTriangles(vertices, kStarTriangles, 12, nullptr);
            glEnable(GL_LIGHTING);
            break;
        case PickupHullRepair:
            crystal.draw();
            break;
        case PickupRapidFire:
            bolt.draw();
            break;
        case PickupExtraLife:
            heart.draw();
            break;
        default:
            break;
    }
    glPopMatrix();
    setFadedAlpha(remembered);
}

void spawnPickup(float x, float y, float z, float speed) {
    for (Pickup& pickup : pickups) {
        if (!pickup.active) {
            pickup.startPickup(x, y, z, speed);
            return;
        }
    }
}

