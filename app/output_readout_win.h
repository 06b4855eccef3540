#pragma once

#include <windows.h>

// "出力 N 個 / M 要素" in the status strip, right-aligned before the scale button: what
// "完了+JWWに送信" would write now.

// After an edit of the rows: has the strip redrawn when the numbers changed.
void updateOutputReadout();

// Draws the readout into the strip's paint DC unless it would reach left of textEnd, the end
// of the hint and notes (these matter more while they are shown).
void paintOutputReadout(HDC dc, int textEnd);
