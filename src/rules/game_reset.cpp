#include "rules/game_reset.h"

#include "assets/sound_bank.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "input/input.h"
#include "input/press_latch.h"
#include "player/player_ship.h"
#include "rules/director.h"
#include "rules/frame_timer.h"
#include "rules/game_update.h"
#include "view/glasses.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"
#include "world/pickup.h"

void resetGameState() {
    // rules and input: timer, loops, pause, input, director.
    frameTimer = FrameTimer{};
    frameSeconds = 0.0f;
    quitRequested = false;
    texturingEnabled = true;
    paused = false;
    pauseKeyLatch = false;
    keys = KeyTable{};
    mouseLeftDown = 0;
    mouseRightDown = 0;
    clickX = 0;
    clickY = 0;
    joyUp = joyDown = joyLeft = joyRight = false;
    joyButton1 = joyButton2 = false;
    resetPressLatches();
    resetDirectorState();

    // view: the stereo options the title sets.
    stereoEnabled = true;
    eyeSeparation = 5.0f;
    glasses = Glasses::RedBlue;
    swapEyes = false;

    // assets: texture names (the textures themselves go with the GL context) and sound.
    textures = TextureTable{};
    releaseSound();
    soundBank = SoundBank{};
    setSoundRequestWatcher(nullptr);

    // hud
    noticeBanner = Banner{};
    messageBanner = Banner{};
    timeDisplay = TimeDisplay{};
    scoreDisplay = ScoreDisplay{};
    livesDisplay = LivesDisplay{};
    hullGauge = BarGauge{};
    shieldGauge = BarGauge{};

    // player: the ship, its weapons and shield, the shake, the controls lock and game over.
    resetPlayer();

    // world
    resetAsteroids();
    resetFighters();
    resetPickups();
}
