#include "player/player_ship.h"

#include "common/globals.h"

PlayerShip player;
bool controlsLocked = false;
bool gameOver = false;
