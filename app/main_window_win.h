#pragma once

#include <windows.h>

#include <string>

struct App;

// At 96 DPI; scaled to the window's DPI.
constexpr int kMinTrackWidth = 400;
constexpr int kMinTrackHeight = 510;
constexpr int kStartLeft = 100;  // the outer rectangle at start-up (the client area scales)
constexpr int kStartTop = 100;
constexpr int kStartWidth = 800;
constexpr int kStartHeight = 600;
constexpr int kBigIcon = 32;  // the caption's and the task bar's icons
constexpr int kSmallIcon = 16;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Start-up up to the message loop: registers the class, reads the exchange file (or says
// "file open err!"), reads zovrel.ini from settingsPath (null: beside the program), sets the
// start-up rows, opens the main window and fits the view. Returns the main window, or null
// when it could not be made.
HWND startZovrel(App& app, HINSTANCE instance, const char* exchangePath,
                 const char* settingsPath = nullptr);

// zovrel.ini in the folder of the running program; empty when that folder is not known.
std::string settingsBesideProgram();

BOOL getMessage(MSG* message);  // GetMessageA for any window of the thread

// Runs until the main window's end posts the quit message and returns its code, or until
// fetching a message fails (GetMessageA's -1) and returns 0. fetch stands in for GetMessageA.
int runMessageLoop(App& app, BOOL (*fetch)(MSG*) = getMessage);
