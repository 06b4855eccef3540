#pragma once

#include <windows.h>

// The owner-drawn buttons (the units beside the rows, the scale in the status strip): light
// grey, the label in the UI font at (3, 2), and a one-pixel edge that looks raised, or sunken
// while the button is pressed.
void drawRaisedButton(HDC dc, const RECT& rect, bool pressed, const char* label, HFONT font,
                      int dpi);
