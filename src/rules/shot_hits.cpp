// Who the player's shots hit: the rocks first, then the enemy fighters.
#include "player/shot_targets.h"

#include "world/asteroid.h"
#include "world/enemy_fighter.h"

bool beamHitsTargets(const Vec3& tip, int damage) {
    bool hit = false;
    for (int i = 0; i < asteroids.count; ++i) {
        if (asteroids.rock[i].hitTestBolt(tip.x, tip.y, tip.z)) {
            asteroids.rock[i].takeDamage(damage);
            hit = true;
        }
    }
    for (EnemyFighter& fighter : fighters) {
        if (fighter.hitTestBolt(tip.x, tip.y, tip.z)) {
            fighter.takeDamage(damage);
            hit = true;
        }
    }
    return hit;
}

bool missileHitsTargets(const Vec3& centre, float radius, int damage) {
    bool hit = false;
    for (int i = 0; i < asteroids.count; ++i) {
        if (asteroids.rock[i].hitTestSphere(centre.x, centre.y, centre.z, radius)) {
            asteroids.rock[i].takeDamage(damage);
            hit = true;
        }
    }
    for (EnemyFighter& fighter : fighters) {
        if (fighter.hitTestSphere(centre.x, centre.y, centre.z, radius)) {
            fighter.takeDamage(damage);
            hit = true;
        }
    }
    return hit;
}
