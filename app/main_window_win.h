#pragma once

#include <windows.h>

#include <string>

constexpr int kMinTrackWidth = 400;
constexpr int kMinTrackHeight = 510;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Start-up up to the message loop: registers the class, reads the exchange file (or says
// "file open err!"), opens the main window, fits the view, sets the default moves and reads
// the values "前回値" brings back from settingsPath (null: zovrel.ini beside the program).
// Returns the main window, or null when it could not be made.
HWND startZovrel(HINSTANCE instance, const char* exchangePath, const char* settingsPath = nullptr);

// zovrel.ini in the folder of the running program; empty when that folder is not known.
std::string settingsBesideProgram();

BOOL getMessage(MSG* message);  // GetMessageA for any window of the thread

// Runs until WM_DESTROY posts the quit message and returns its code, or until fetching a
// message fails (GetMessageA's -1) and returns 0. fetch stands in for GetMessageA.
int runMessageLoop(BOOL (*fetch)(MSG*) = getMessage);
