#pragma once

#include <windows.h>

// "出力 N 個 / M 要素" in the status strip, right-aligned before the scale button: what
// "完了+JWWに送信" would write now; where it would refuse (a number that is not finite), it says so.

// After an edit of the rows or a move of the base point: has the strip redrawn when the
// readout changes.
void updateOutputReadout();

// Draws the readout into the strip's paint DC unless it would reach left of textEnd, the end
// of the hint and notes (these matter more while they are shown).
void paintOutputReadout(HDC dc, int textEnd);
