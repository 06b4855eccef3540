#pragma once

#include <windows.h>

#include <string>

#include "copyarray/copy_preview.h"

// What a repaint's preview could not show, for the status bar: the clamped count, and how many
// copies the time budget let it draw. Empty when it showed everything.
std::string previewNote(const PreviewResult& preview);

// How many of the selection's texts the copies leave out (the check box is off).
std::string textsNote(int64_t texts);

LRESULT CALLBACK statusStripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
