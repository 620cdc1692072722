// The asteroid field: 100 tumbling rocks that stream past the player along +x. They rest far
// away until launched, wrap sideways to stay around the player, come back far ahead once they
// pass, and break up into an explosion burst when shot down.
#pragma once

#include "common/vec3.h"
#include "world/particle_burst.h"

// The damage value that means "rammed the player": the rock is regenerated silently.
constexpr int rammedAmount = 666;

struct Asteroid {
    Vec3 position{-10000.0f, 0.0f, 0.0f};
    float size = 5.0f;
    float radius = 0.0f;                    // collision radius, 1.5 x size once shaped
    Vec3 spawnBox{100.0f, 100.0f, 100.0f};  // width, height, depth; only height and depth place
    Vec3 target;                            // the player's location, refreshed every frame
    Vec3 vertices[17];                      // middle ring 0-4, upper 5-9, lower 10-14, top, bottom
    Vec3 normals[17];
    bool active = true;
    bool exploding = false;
    bool carriesPickup = false;
    float speed = 100.0f;
    Vec3 rotation;  // degrees
    float speedFactor = 0.0f;
    Vec3 spin;  // degrees per second
    int hitPoints = 5;
    ParticleBurst explosion;
    ParticleBurst hitSparks;

    Asteroid();

    void setTarget(float x, float y, float z) { target = {x, y, z}; }
    void update();
    void draw() const;
    // Active, and the centre closer than radius + this rock's radius (strictly).
    bool hitTestSphere(float x, float y, float z, float otherRadius) const;
    // Active, the point strictly inside the rock's lateral square and already past its x.
    bool hitTestBolt(float x, float y, float z) const;
    void takeDamage(int amount);
    void setSpawnBox(float width, float height, float depth) { spawnBox = {width, height, depth}; }
    void setSpeedLevel(int level) { speed = static_cast<float>(20 * level + 100); }
    void addSpeed(float delta) { speed += delta; }

    void spawn();
    void reshape();
    void respawn();
    void placeRandomly();
    void buildShape();
    void drawMesh() const;
    void sendMesh() const;
    void leaveMeshState() const;
};

// The field. Every loop over it runs over slots 0 .. asteroids.count - 1.
constexpr int asteroidCapacity = 100;
struct AsteroidField {
    Asteroid rock[asteroidCapacity];
    int count = asteroidCapacity;
    // A respawned rock carries a pickup when randomNumber() % pickupOdds is 0.
    unsigned int pickupOdds = 6;
};
extern AsteroidField asteroids;

// What each rock's display list was compiled from; drawMesh compiles the list again when the
// rock's shape differs. The lists themselves go with the GL context.
struct RecordedShape {
    bool recorded = false;
    Vec3 vertices[17];
    Vec3 normals[17];
};
struct AsteroidShapes {
    RecordedShape rock[asteroidCapacity];
};
extern AsteroidShapes asteroidShapes;

// Places every rock in its launch box ahead of the player and sets it flying at speed 160.
void launchAsteroids();

