#include "world/particle_burst.h"

#include <GL/gl.h>

#include <cmath>

#include "assets/sprite_layout.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "common/random.h"
#include "view/fade.h"
#include "view/view_bounds.h"

namespace {

int clampCount(int n) {
    if (n < 0) return 0;
    if (n > burstCapacity) return burstCapacity;
    return n;
}

float largest(float a, float b) {
    return a > b ? a : b;
}

// How far from the origin any spark or debris corner can reach: a piece's corners lie within
// 2.2 x sqrt 2 of its centre before its scale.
float reachOf(const ParticleBurst& burst) {
    float furthest = 0.0f;
    for (int i = 0; i < burst.sparkCount; ++i) {
        const Vec3& p = burst.sparks[i].position;
        furthest = largest(furthest, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
    }
    for (int i = 0; i < burst.debrisCount; ++i) {
        const Debris& piece = burst.debris[i];
        const Vec3& p = piece.position;
        const float stretch = largest(std::fabs(piece.scale.x),
                                      largest(std::fabs(piece.scale.y), std::fabs(piece.scale.z)));
        furthest = largest(furthest, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z) + 3.2f * stretch);
    }
    return furthest;
}

}  // namespace

void ParticleBurst::setSpherical(bool on) {
    spherical = on;
    scatter();
}

void ParticleBurst::setCounts(int sparks, int debris) {
    sparkCount = clampCount(sparks);
    debrisCount = clampCount(debris);
}

Vec3 ParticleBurst::randomVector() const {
    float x = randomUnit();
    float y = randomUnit();
    float z = randomUnit();
    if (spherical) {
        const float length = std::sqrt(x * x + y * y + z * z);
        if (length != 0.0f) {
            x /= length;
            y /= length;
            z /= length;
        }
    }
    return {2.0f * x, 2.0f * y, 2.0f * z};
}

void ParticleBurst::scatter() {
    for (int i = 0; i < sparkCount; ++i) {
        sparks[i].position = {};
        sparks[i].velocity = randomVector();
    }
    for (int i = 0; i < debrisCount; ++i) {
        Debris& piece = debris[i];
        piece.position = {};
        piece.rotation = {};
        piece.scale.x = randomUnit();
        piece.scale.y = randomUnit();
        piece.scale.z = randomUnit();
        piece.velocity = randomVector();
        piece.spin = randomVector();
    }
    life = 0.0f;
}

void ParticleBurst::ignite(float x, float y, float z) {
    origin = {x, y, z};
    life = lifetime;
}

void ParticleBurst::update() {
    if (!(life > 0.0f)) return;
    const float t = shared.frameSeconds;
    const float sparkStep = speed * t * 1.5f;
    for (int i = 0; i < sparkCount; ++i) {
        Spark& spark = sparks[i];
        spark.position.x += spark.velocity.x * sparkStep;
        spark.position.y += spark.velocity.y * sparkStep;
        spark.position.z += spark.velocity.z * sparkStep;
    }
    const float debrisStep = speed * t;
    const float turn = t * 1000.0f;
    for (int i = 0; i < debrisCount; ++i) {
        Debris& piece = debris[i];
        piece.position.x += piece.velocity.x * debrisStep;
        piece.position.y += piece.velocity.y * debrisStep;
        piece.position.z += piece.velocity.z * debrisStep;
        piece.rotation.x += piece.spin.x * turn;
        piece.rotation.y += piece.spin.y * turn;
        piece.rotation.z += piece.spin.z * turn;
    }
    life -= 80.0f * t;
}

// The flash square's corners before its growth (scaled by the age along y and z) and their
// texture coordinates.
constexpr float kFlashCorners[4][3] = {{0.0f, 1000.0f, 1000.0f},
                                       {0.0f, 1000.0f, -1000.0f},
                                       {0.0f, -1000.0f, -1000.0f},
                                       {0.0f, -1000.0f, 1000.0f}};
constexpr QuadTexture kFlashTexture = quadTexture(kExplosionFlashRect);

bool flashAlphaShows(float alpha) {
    // Blending adds colour x alpha, at most alpha, to an 8-bit channel; under half a step it
    // rounds away on every pixel.
    return alpha * 255.0f >= 0.5f;
}

void ParticleBurst::draw() const {
    if (!(life > 0.0f)) return;
    const float remaining = life / lifetime;  // 1 at ignition, falling to 0
    const float age = (lifetime - life) / lifetime;
    const float flashAlpha = std::pow(remaining, 8.0f);

    const float savedAlpha = currentAlpha();
    glPointSize(3.0f);
    // Sparks and debris wholly beyond the far plane or behind the eye leave nothing (wide
    // points may reach the screen from just past its sides, so those planes are not tried).
    const bool piecesShow = !sphereOutsideView(origin.x, origin.y, origin.z, reachOf(*this), true);
    const bool flashShows =
        flash && flashAlphaShows(shared.fadeAlpha * flashAlpha) && flashInView(age);
    if (!piecesShow && !flashShows) {
        if (flash) leaveFlashState();
        setFadedAlpha(savedAlpha);
        return;
    }
    glPushMatrix();
    glTranslated(origin.x, origin.y, origin.z);

    if (piecesShow) {
        setFadedAlpha(1.0f - age);
        glBegin(GL_POINTS);
        for (int i = 0; i < sparkCount; ++i) {
            glVertex3f(sparks[i].position.x, sparks[i].position.y, sparks[i].position.z);
        }
        glEnd();

        for (int i = 0; i < debrisCount; ++i) {
            const Debris& piece = debris[i];
            glPushMatrix();
            glTranslatef(piece.position.x, piece.position.y, piece.position.z);
            glRotatef(piece.rotation.x, 1.0f, 0.0f, 0.0f);
            glRotatef(piece.rotation.y, 0.0f, 1.0f, 0.0f);
            glRotatef(piece.rotation.z, 0.0f, 0.0f, 1.0f);
            glScalef(piece.scale.x, piece.scale.y, piece.scale.z);
            // Deliberately a little off centre: -2 to 2.2 on both axes.
            glBegin(GL_QUADS);
            glVertex3f(2.2f, 2.2f, 0.0f);
            glVertex3f(-2.0f, 2.2f, 0.0f);
            glVertex3f(-2.0f, -2.0f, 0.0f);
            glVertex3f(2.2f, -2.0f, 0.0f);
            glEnd();
            glPopMatrix();
        }
    }

    if (flashShows) {
        // A square facing the flight axis that grows from nothing while it fades fast.
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glBindTexture(GL_TEXTURE_2D, textures.spriteAtlas);
        setFadedAlpha(flashAlpha);
        glPushMatrix();
        glScalef(1.0f, age, age);
        glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i) {
            glTexCoord2fv(kFlashTexture.st[i]);
            glVertex3f(kFlashCorners[i][0], kFlashCorners[i][1], kFlashCorners[i][2]);
        }
        glEnd();
        glPopMatrix();
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_LIGHTING);
    } else if (flash) {
        leaveFlashState();
    }

    glPopMatrix();
    setFadedAlpha(savedAlpha);
}

// Whether the grown flash square, about the burst's origin, reaches into the view volume.
bool ParticleBurst::flashInView(float age) const {
    float corners[4][3];
    for (int i = 0; i < 4; ++i) {
        corners[i][0] = origin.x + kFlashCorners[i][0];
        corners[i][1] = origin.y + kFlashCorners[i][1] * age;
        corners[i][2] = origin.z + kFlashCorners[i][2] * age;
    }
    return !pointsOutsideView(corners, 4);
}

// What drawing the flash leaves behind for later draws: the sprite atlas bound and modulated,
// texturing off, lighting on and the last corner's texture coordinate current.
void ParticleBurst::leaveFlashState() const {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.spriteAtlas);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glTexCoord2fv(kFlashTexture.st[3]);
}
