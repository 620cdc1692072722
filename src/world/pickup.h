// Pickups that destroyed asteroids leave behind.
#pragma once

// Starts a pickup at the given point drifting along +x at the given speed; dropped when every
// slot is busy.
void spawnPickup(float x, float y, float z, float speed);
