// The anaglyph frame: the scene drawn twice into one colour buffer, blue-only (green and blue
// for red/cyan glasses) from the right eye and red-only from the left, then a mono overlay
// pass at screen depth. Every draw adds its light, so the backdrop of both eyes goes last, in
// one pass (drawStereoBackdrop), where OpenGL 1.3 is there.
#pragma once

void renderStereoFrame();

// Draws what lives in the world, in each eye pass after the camera's world transform: the
// rocks, the pickups, the enemy fighters, then the player's shots, shield and ship.
void drawScene();

// The distant starfield quad, repeated 3 x 3, for one eye; modulated by whatever colour is
// current.
void drawBackdrop();

// Both eyes' backdrops in one pass, through the colour mask of both eyes, onto the eye passes
// drawn without theirs: each eye's texels where that eye would have seen them, scaled by the
// colour current when its pass began (`rightColour`, `leftColour`), as its own backdrop draw
// would have been. Needs OpenGL 1.3: without it, draws nothing (renderStereoFrame then draws
// each eye's backdrop in its own pass).
void drawStereoBackdrop(float separation, const float (&rightColour)[4],
                        const float (&leftColour)[4]);
