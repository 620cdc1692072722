// What the player's shots can hit. The weapons ask once per shot and frame; the rules answer
// (rules/shot_hits.cpp), since only they know the world the shots fly through. Each damages
// every target the shot touches this frame, not only the first, and says whether it touched any.
#pragma once

#include "common/vec3.h"

// A beam whose tip is at `tip`, worth `damage` points a target.
bool beamHitsTargets(const Vec3& tip, int damage);

// A missile: a sphere of `radius` about `centre`, worth `damage` points a target.
bool missileHitsTargets(const Vec3& centre, float radius, int damage);
