#pragma once

#include <windows.h>

constexpr int kMinTrackWidth = 400;
constexpr int kMinTrackHeight = 510;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Start-up up to the message loop: registers the class, reads the exchange file (or says
// "file open err!"), opens the main window, fits the view and sets the default moves.
// Returns the main window, or null when it could not be made.
HWND startZovrel(HINSTANCE instance, const char* exchangePath);

// Runs until WM_DESTROY posts the quit message; returns its code.
int runMessageLoop();
