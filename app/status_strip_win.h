#pragma once

#include <windows.h>

#include <string>

#include "copyarray/copy_preview.h"

// What a repaint's preview could not show, for the status bar: the clamped count, and how many
// copies the time budget let it draw. Empty when it showed everything.
std::string previewNote(const PreviewResult& preview);

LRESULT CALLBACK statusStripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
