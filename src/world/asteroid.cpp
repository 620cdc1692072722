#include "world/asteroid.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "assets/sound_bank.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "common/random.h"
#include "hud/hud.h"
#include "player/player_ship.h"
#include "view/view_bounds.h"
#include "world/explosion_sound.h"
#include "world/pickup.h"

AsteroidField asteroids;
AsteroidShapes asteroidShapes;

namespace {

// Corners of the unit pentagon in the x-z plane; every ring of the shape is built on them.
constexpr Vec3 kPentagon[5] = {
    {1.0f, 0.0f, 0.0f},       {0.309f, 0.0f, 0.951f},  {-0.809f, 0.0f, 0.587f},
    {-0.809f, 0.0f, -0.587f}, {0.309f, 0.0f, -0.951f},
};
constexpr int kTop = 15;
constexpr int kBottom = 16;

constexpr int kPointsPerRock = 20;
int randomBelow(int n) {
    return randomNumber() % n;
}

// Far ahead again after passing the player or breaking up.
float comebackX() {
    return static_cast<float>(-1000 - randomBelow(300));
}

// Each rock of the field keeps its mesh in a display list of its own, named from this base
// well clear of the hull meshes' names, and rebuilt whenever its shape differs from the one
// recorded.
constexpr GLuint kRockListBase = 1000;

bool sameShape(const RecordedShape& shape, const Vec3* vertices, const Vec3* normals) {
    return std::memcmp(shape.vertices, vertices, sizeof shape.vertices) == 0 &&
           std::memcmp(shape.normals, normals, sizeof shape.normals) == 0;
}

}  // namespace

Asteroid::Asteroid() {
    explosion.setSpherical(true);
    hitSparks.setLifetime(100.0f);
    hitSparks.setSpherical(true);
    hitSparks.setCounts(10, 8);
}

void Asteroid::placeRandomly() {
    // A box too thin to hold a whole unit leaves that axis on the target.
    const int ySpan = static_cast<int>(spawnBox.y / 2.0f);
    const int zSpan = static_cast<int>(spawnBox.z / 2.0f);
    position.y =
        target.y - spawnBox.y / 4.0f + static_cast<float>(ySpan > 0 ? randomBelow(ySpan) : 0);
    position.z =
        target.z - spawnBox.z / 4.0f + static_cast<float>(zSpan > 0 ? randomBelow(zSpan) : 0);
}

void Asteroid::buildShape() {
    placeRandomly();
    size = static_cast<float>(3.0 + 0.1 * randomBelow(100));
    const float s = size;
    for (int k = 0; k < 5; ++k) {
        const Vec3& p = kPentagon[k];
        vertices[k] = {s * p.x, s * p.y, s * p.z};
        vertices[5 + k] = {0.7f * s * p.x, 0.5f * s, 0.7f * s * p.z};
        vertices[10 + k] = {0.7f * s * p.x, -0.5f * s, 0.7f * s * p.z};
    }
    vertices[kTop] = {0.0f, 0.75f * s, 0.0f};
    vertices[kBottom] = {0.0f, -0.75f * s, 0.0f};
    radius = 1.5f * s;

    const auto jitter = [] { return static_cast<float>(0.5 + 0.02 * randomBelow(100)); };
    for (Vec3& v : vertices) {
        v.x *= jitter();
        v.y *= jitter();
        v.z *= jitter();
    }
    for (int i = 0; i < 17; ++i) {
        const Vec3& v = vertices[i];
        const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        normals[i] = {v.x / length, v.y / length, v.z / length};
    }
}

void Asteroid::reshape() {
    buildShape();
    active = true;
    exploding = false;
    position.x = static_cast<float>(-1000 - randomBelow(1000));
    hitPoints = static_cast<int>(1.5 * size);
    speedFactor = static_cast<float>(0.5 + 0.025 * randomBelow(20));
    spin.x = static_cast<float>(randomBelow(200) - 50);
    spin.y = static_cast<float>(randomBelow(200) - 50);
    spin.z = static_cast<float>(randomBelow(200) - 50);
}

void Asteroid::spawn() {
    reshape();
    position.x = static_cast<float>(-1200 - randomBelow(1000));
}

void Asteroid::respawn() {
    placeRandomly();
    active = true;
    exploding = false;
    carriesPickup = static_cast<unsigned int>(randomNumber()) % asteroids.pickupOdds == 0;
    explosion.setFlash(carriesPickup);
}

void Asteroid::update() {
    if (active) {
        position.x += speedFactor * speed * shared.frameSeconds;
        rotation.x += spin.x * shared.frameSeconds;
        rotation.y += spin.y * shared.frameSeconds;
        rotation.z += spin.z * shared.frameSeconds;
        if (position.x > 10.0f) {
            respawn();
            position.x = comebackX();
        }
        // One step per frame keeps the field within 300 units of the player sideways.
        if (position.y < target.y - 300.0f) {
            position.y += 600.0f;
        } else if (position.y > target.y + 300.0f) {
            position.y -= 600.0f;
        }
        if (position.z < target.z - 300.0f) {
            position.z += 600.0f;
        } else if (position.z > target.z + 300.0f) {
            position.z -= 600.0f;
        }
        hitSparks.update();
    } else if (exploding) {
        if (explosion.isFinished()) {
            respawn();
            position.x = comebackX();
            return;
        }
        explosion.update();
        hitSparks.update();
    }
}

bool Asteroid::hitTestSphere(float x, float y, float z, float otherRadius) const {
    if (!active) return false;
    const float dx = position.x - x;
    const float dy = position.y - y;
    const float dz = position.z - z;
    return std::sqrt(dx * dx + dy * dy + dz * dz) < otherRadius + radius;
}

bool Asteroid::hitTestBolt(float x, float y, float z) const {
    return active && y > position.y - radius && y < position.y + radius &&
           z > position.z - radius && z < position.z + radius && x < position.x;
}

void Asteroid::takeDamage(int amount) {
    if (amount == rammedAmount) {
        // Rammed: gone without a trace and back far ahead as a fresh rock.
        active = false;
        reshape();
        return;
    }
    hitPoints -= amount;
    if (hitPoints > 0) {
        hitSparks.scatter();
        hitSparks.ignite(position.x, position.y, position.z);
        return;
    }
    active = false;
    exploding = true;
    explosion.scatter();
    explosion.ignite(position.x, position.y, position.z);

    if (carriesPickup) {
        playExplosionFrom(SoundExplode2, position, 0.1f);
        spawnPickup(position.x, position.y, position.z, speedFactor * speed);
    } else {
        playExplosionFrom(SoundExplode1, position);
    }
    scoreDisplay.addScore(kPointsPerRock);
}

void Asteroid::draw() const {
    if (exploding) {
        explosion.draw();
        return;
    }
    hitSparks.draw();
    // The rock turns about its centre, so no vertex is further from it than the furthest one.
    float furthest = 0.0f;
    for (const Vec3& v : vertices)
        furthest = std::fmax(furthest, v.x * v.x + v.y * v.y + v.z * v.z);
    if (sphereOutsideView(position.x, position.y, position.z, std::sqrt(furthest))) {
        leaveMeshState();
        return;
    }
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glRotatef(rotation.x, 1.0f, 0.0f, 0.0f);
    glRotatef(rotation.y, 0.0f, 1.0f, 0.0f);
    glRotatef(rotation.z, 0.0f, 0.0f, 1.0f);
    drawMesh();
    glPopMatrix();
}

// What drawing the mesh leaves behind for later draws: texturing off, the rock texture bound
// and modulated, and the last vertex's texture coordinate and normal current.
void Asteroid::leaveMeshState() const {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.asteroidTexture);
    if (shared.texturingEnabled) glDisable(GL_TEXTURE_2D);
    glTexCoord2f(0.0f, 1.0f);
    glNormal3f(normals[10].x, normals[10].y, normals[10].z);
}

void Asteroid::drawMesh() const {
    if (shared.texturingEnabled) glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.asteroidTexture);
    // Mesa's display lists do not survive feedback or selection mode: those get the vertices.
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    const std::less<const Asteroid*> before;
    const bool inField =
        !before(this, asteroids.rock) && before(this, asteroids.rock + asteroidCapacity);
    if (renderMode == GL_RENDER && inField) {
        const long index = this - asteroids.rock;
        const GLuint list = kRockListBase + static_cast<GLuint>(index);
        RecordedShape& shape = asteroidShapes.rock[index];
        if (!shape.recorded || !glIsList(list) || !sameShape(shape, vertices, normals)) {
            glNewList(list, GL_COMPILE);
            sendMesh();
            glEndList();
            std::memcpy(shape.vertices, vertices, sizeof shape.vertices);
            std::memcpy(shape.normals, normals, sizeof shape.normals);
            shape.recorded = true;
        }
        glCallList(list);
    } else {
        sendMesh();
    }
    if (shared.texturingEnabled) glDisable(GL_TEXTURE_2D);
}

void Asteroid::sendMesh() const {
    const auto send = [this](int i, float s, float t) {
        glTexCoord2f(s, t);
        glNormal3f(normals[i].x, normals[i].y, normals[i].z);
        glVertex3f(vertices[i].x, vertices[i].y, vertices[i].z);
    };
    // The belt: the middle ring joined to the upper ring, then to the lower ring.
    glBegin(GL_TRIANGLE_STRIP);
    for (int ring = 5; ring <= 10; ring += 5) {
        for (int k = 0; k < 5; ++k) {
            const int next = (k + 1) % 5;
            send(k, 0.0f, 0.0f);
            send(next, 0.0f, 1.0f);
            send(ring + k, 1.0f, 1.0f);
            send(ring + next, 1.0f, 0.0f);
        }
    }
    glEnd();

    // The caps: a fan from the top over the upper ring and from the bottom over the lower.
    static constexpr float kFanCoords[6][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 1}};
    for (int cap = 0; cap < 2; ++cap) {
        const int apex = cap == 0 ? kTop : kBottom;
        const int ring = cap == 0 ? 5 : 10;
        glBegin(GL_TRIANGLE_FAN);
        send(apex, 0.5f, 0.5f);
        for (int j = 0; j < 6; ++j) send(ring + j % 5, kFanCoords[j][0], kFanCoords[j][1]);
        glEnd();
    }
}

void launchAsteroids() {
    for (int i = 0; i < asteroids.count; ++i) {
        asteroids.rock[i].setSpawnBox(3000.0f, 2000.0f, 2000.0f);
        asteroids.rock[i].setSpeedLevel(3);
        asteroids.rock[i].spawn();
    }
}

