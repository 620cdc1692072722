// The fade helpers every faded draw uses. They read and write only the current GL colour and
// the overall fade, so any drawing module can use them without depending on the frame.
#pragma once

// Alpha of the current GL colour.
float currentAlpha();

// Keeps the current colour's red, green and blue and sets its alpha to shared.fadeAlpha x a. A draw
// remembers currentAlpha(), sets its own with this, and hands the remembered one back.
void setFadedAlpha(float a);
