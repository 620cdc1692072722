#include "render/title_screen.h"

#include "app/frame_timer.h"
#include "common/globals.h"

bool stereoEnabled = true;
float eyeSeparation = 5.0f;

void drawTitle() {}

void updateTitle() {
    frameSeconds = tickFrameTimer();
    titleFinished = true;
}
