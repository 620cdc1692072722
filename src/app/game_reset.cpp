#include "app/game_reset.h"

#include "app/command_line.h"
#include "app/director.h"
#include "app/frame_timer.h"
#include "app/game_update.h"
#include "app/input.h"
#include "app/player_profile.h"
#include "app/press_latch.h"
#include "app/recorded_run.h"
#include "assets/sound_bank.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "player/player_ship.h"
#include "render/glasses.h"
#include "render/title_screen.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"
#include "world/pickup.h"

void resetGameState() {
    // app: timer, loops, pause, input, director.
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
    runOptions = RunOptions{};
    resetDirectorState();
    resetRecordedRun();
    resetPlayerProfile();

    // render: the title screen and its options.
    titleFinished = false;
    stereoEnabled = true;
    eyeSeparation = 5.0f;
    titleFade = 1.0f;
    startChosen = false;
    helpPage = false;
    optionsPage = false;
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
