// Pickups: small spinning, pulsing objects that destroyed asteroids leave behind. They drift
// towards the player at the asteroid's pace; touching one collects it (a power-up sound, 100
// points and one of seven effects on the ship). Twelve slots; a drop that finds them all busy
// is lost.
#pragma once

#include <array>
#include <cstdint>

#include "common/vec3.h"

struct PlayerShip;

// The seven kinds, numbered as the ship's effects are.
enum PickupType : int32_t {
    PickupCannonUpgrade = 1,  // upgradeCannons: textured double cube
    PickupExtraCannons = 2,   // addCannons: textured six-pointed star
    PickupShieldCharge = 3,   // chargeShield: textured tetrahedron
    PickupHullRepair = 4,     // repairHull: lit crystal
    PickupRapidFire = 5,      // startRapidFire: lit lightning bolt
    PickupExtraLife = 6,      // gainLife: lit heart
    PickupSpread = 7,         // enableSpread: unlit, untextured star at full alpha
};

// Draws out of 50 that pick each type: 20, 10, 10, 3, 1, 4, 2 for types 1, 4, 5, 2, 7, 3, 6.
constexpr int pickupTypeDraws = 50;
// The type a draw r (0 .. pickupTypeDraws - 1) picks.
int32_t pickupTypeFor(int r);

constexpr int pickupVertexCapacity = 50;

struct Pickup {
    bool active = false;  // in play: updated, drawn, collectable
    int32_t type = 0;
    int32_t vertexCount = 0;  // entries of `vertices` in use by the textured types
    Vec3 position;
    float spinPhase = 0.0f;  // radians; drives the pulse
    float pulse = 1.0f;      // alpha factor, 0.3 .. 1
    float speed = 100.0f;    // drift along +x, units per second
    float tumble = 0.0f;     // degrees
    float radius = 0.0f;     // collection radius of the pickup itself
    Vec3 vertices[pickupVertexCapacity];

    // Starts this slot at a point with a drift speed and a freshly drawn type.
    void startPickup(float x, float y, float z, float driftSpeed);
    void buildPickup(int32_t newType);
    // Spin, pulse, tumble and drift; gone once past x = 10. Only for active pickups.
    void update();
    // True (and the pickup is gone) when the ship touches it.
    bool collectedBy(const PlayerShip& ship);
    // Power-up sound, 100 points and the type's effect on the ship.
    void applyTo(PlayerShip& ship) const;
    void draw() const;
};

constexpr int pickupSlotCount = 12;
extern std::array<Pickup, pickupSlotCount> pickups;

// Starts a pickup in the first free slot at the given point drifting along +x at the given
// speed; dropped when every slot is busy.
void spawnPickup(float x, float y, float z, float speed);

