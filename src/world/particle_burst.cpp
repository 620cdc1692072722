#include "world/particle_burst.h"

#include <GL/gl.h>

#include <cmath>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "common/random.h"
#include "render/fade.h"

namespace {

int clampCount(int n) {
    if (n < 0) return 0;
    if (n > burstCapacity) return burstCapacity;
    return n;
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
    const float t = frameSeconds;
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

void ParticleBurst::draw() const {
    if (!(life > 0.0f)) return;
    const float remaining = life / lifetime;  // 1 at ignition, falling to 0
    const float age = (lifetime - life) / lifetime;
    const float flashAlpha = std::pow(remaining, 8.0f);

    const float savedAlpha = currentAlpha();
    setFadedAlpha(1.0f - age);
    glPushMatrix();
    glTranslated(origin.x, origin.y, origin.z);

    glPushMatrix();
    glPointSize(3.0f);
    glBegin(GL_POINTS);
    for (int i = 0; i < sparkCount; ++i) {
        glVertex3f(sparks[i].position.x, sparks[i].position.y, sparks[i].position.z);
    }
    glEnd();
    glPopMatrix();

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

    if (flash) {
        // A square facing the flight axis that grows from nothing while it fades fast.
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glBindTexture(GL_TEXTURE_2D, textures.spriteAtlas);
        setFadedAlpha(flashAlpha);
        glPushMatrix();
        glScalef(1.0f, age, age);
        glBegin(GL_QUADS);
        glTexCoord2f(0.5f, 0.51f);
        glVertex3f(0.0f, 1000.0f, 1000.0f);
        glTexCoord2f(1.0f, 0.51f);
        glVertex3f(0.0f, 1000.0f, -1000.0f);
        glTexCoord2f(1.0f, 0.99f);
        glVertex3f(0.0f, -1000.0f, -1000.0f);
        glTexCoord2f(0.5f, 0.99f);
        glVertex3f(0.0f, -1000.0f, 1000.0f);
        glEnd();
        glPopMatrix();
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_LIGHTING);
    }

    glPopMatrix();
    setFadedAlpha(savedAlpha);
}
