#include "world/pickup.h"

// No pickup slots exist yet, so every drop finds them all busy.
void spawnPickup(float, float, float, float) {}
