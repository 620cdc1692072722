// The one ship the player flies, seen from its cockpit. Its location in the world is the
// negation of `position` (the translation the frame applies to the world); it moves only in y
// and z while everything else flies past along +x. It owns the feel of the controls, hull,
// lives and shield, the shake after a hit, the pickup effects and the weapons.
#pragma once

#include <cstdint>

#include "common/vec3.h"
#include "player/player_shield.h"
#include "player/player_weapons.h"

constexpr int playerCannonCount = 4;
constexpr int playerLauncherCount = 2;

// Camera shake: y and z only.
struct ShakeOffset {
    float y = 0.0f;
    float z = 0.0f;
};

// What the player holds this frame; the ship reads nothing else of the input.
struct ShipControls {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    bool cannons = false;   // the cannon trigger
    bool missiles = false;  // the missile trigger
};

struct PlayerShip {
    bool fireHeld = false;     // cannon trigger seen held and not yet released
    bool missileHeld = false;  // the same for the missile trigger
    bool autoFire = false;     // rapid fire: the cannons re-fire every frame while held
    float rapidFireTime = 0.0f;
    float shieldSpin = 0.0f;  // degrees the shield's pattern has turned
    float hitRadius = 10.0f;
    Vec3 cameraTarget;
    float cameraGlideSpeed = 0.0f;  // units per second, per axis
    PlayerCannon cannons[playerCannonCount];
    MissileLauncher launchers[playerLauncherCount];
    int32_t lives = 3;  // counting the one in play
    float hull = 100.0f;
    bool shipHidden = false;   // the view is from the cockpit: the ship's own mesh is not drawn
    float moveSpeed = 150.0f;  // units per second at full stick
    float stickRate = 2.2f;    // stick travel per second, out and back
    float pickupRadius = 15.0f;
    Vec3 position;
    Vec3 cameraOffset;    // where the camera sits relative to the ship; home is (0, 0, 0)
    float stickY = 0.0f;  // -1..1, negative is up
    float stickZ = 0.0f;  // -1..1, negative is left
    ShakeOffset shakeOffset;
    float shakeAmount = 0.0f;  // camera-shake strength: 40 after a hit, falling by 30 per second
    float bank = 0.0f;  // roll of the view about the viewing axis, degrees: 8 x stickZ
    int32_t maxCannons = 4;
    int32_t activeCannons = 2;  // the first ones of `cannons`: 2 or 4
    PlayerShield shield;

    PlayerShip();

    // Once per unpaused frame: the time-driven parts, then the controls.
    void update(const ShipControls& controls);
    // Beams, missiles, shield and ship, in the frame the eye pass has set up.
    void draw() const;
    // Crosshair and shield caption, fixed in the view.
    void drawCockpitOverlay() const;

    void takeDamage(float amount);
    // Whether a sphere at (x, y, z) touches the ship; callers pass the negated world point.
    bool hitTest(float x, float y, float z, float radius) const;

    void glideCameraTo(float x, float y, float z, float speed) {
        cameraTarget = {x, y, z};
        cameraGlideSpeed = speed;
    }
    void setCameraOffset(float x, float y, float z) { cameraOffset = {x, y, z}; }

    // Pickup effects. Each does nothing, not even its message, when it cannot help.
    void upgradeCannons();
    void addCannons();
    void chargeShield();
    void repairHull();
    void startRapidFire();
    void gainLife();
    void enableSpread();

    // The triggers' work; each refuses while an earlier shot is still flying.
    void fireCannons();
    void fireMissiles();

    Vec3 location() const { return {-position.x, -position.y, -position.z}; }
};

extern PlayerShip player;
