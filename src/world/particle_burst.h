// The sparks, tumbling debris and optional flash of a hit or an explosion. Every asteroid and
// fighter owns two by value. Once ignited a burst stays where it was lit; its pieces fly out
// from that origin and everything fades together over the lifetime.
#pragma once

#include "common/vec3.h"

// Room for this many sparks and this many debris pieces in every burst.
constexpr int burstCapacity = 30;

struct Spark {
    Vec3 position;  // relative to the burst's origin
    Vec3 velocity;
};

struct Debris {
    Vec3 position;  // relative to the burst's origin
    Vec3 velocity;
    Vec3 rotation;  // degrees about x, y and z
    Vec3 spin;
    Vec3 scale;
};

struct ParticleBurst {
    Spark sparks[burstCapacity];
    Debris debris[burstCapacity];
    bool flash = false;       // draw the expanding flash square
    float life = 0.0f;        // runs and shows while above 0; falls by 80 per second
    float lifetime = 200.0f;  // what ignite gives to life: 200 lasts 2.5 s
    float speed = 40.0f;
    bool spherical = false;  // directions on a sphere of radius 2, or in the cube -2..2
    Vec3 origin;
    int sparkCount = burstCapacity;
    int debrisCount = burstCapacity;

    void setSpherical(bool on);
    // Clamped to 0..burstCapacity.
    void setCounts(int sparks, int debris);
    void setLifetime(float value) { lifetime = value; }
    void setFlash(bool on) { flash = on; }
    // Fresh random starts for every used piece; leaves the burst idle.
    void scatter();
    // Starts a run from the given origin. Pieces are not moved back: scatter first.
    void ignite(float x, float y, float z);
    void stop() { life = 0.0f; }
    bool isFinished() const { return !(life > 0.0f); }
    void update();
    void draw() const;
    Vec3 randomVector() const;

  private:
    bool flashInView(float age) const;
    void leaveFlashState() const;
};

// Whether a flash drawn with this alpha (after the overall fade) changes any pixel.
bool flashAlphaShows(float alpha);
