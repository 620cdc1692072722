// The mouse-driven title screen shown before the game.
#pragma once

void drawTitle();
void updateTitle();
