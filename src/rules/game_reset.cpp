#include "rules/game_reset.h"

#include "assets/sound_bank.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "common/random.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "input/input.h"
#include "input/press_latch.h"
#include "player/player_ship.h"
#include "rules/director.h"
#include "rules/frame_timer.h"
#include "rules/game_update.h"
#include "view/frame_scale.h"
#include "view/glasses.h"
#include "view/projection.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"
#include "world/pickup.h"

void resetGameState() {
    shared = {};
    randomState = {};

    // rules and input
    frameTimer = {};
    pauseState = {};
    input = {};
    resetPressLatches();
    resetDirectorState();

    // view
    glasses = {};
    windowView = {};
    frameScale = {};

    // assets: texture names (the textures themselves go with the GL context) and sound.
    textures = {};
    releaseSound();
    soundBank = {};

    // hud
    noticeBanner = {};
    messageBanner = {};
    timeDisplay = {};
    scoreDisplay = {};
    livesDisplay = {};
    hullGauge = {};
    shieldGauge = {};

    // player and world
    player = {};
    asteroids = {};
    asteroidShapes = {};
    fighters = {};
    pickups = {};
}
