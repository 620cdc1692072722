#include "app/director.h"

#include "common/globals.h"

float fadeAlpha = 0.0f;
bool playStarted = false;

void resetDirector() {}

void updateDirector() {}
