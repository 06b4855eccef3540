#pragma once

#include <chrono>

// What the view asks of the program around it. The app sets these once at start-up; until
// then each does nothing, so the view never reaches up into the app. Plain function pointers.
struct ViewHooks {
    void (*setHint)(const char* text);
    void (*scaleChanged)();  // the scale display must show the view's new scale
    // The whole picture into the canvas bitmap, for a repaint that began at `started`.
    void (*drawScene)(std::chrono::steady_clock::time_point started);
};

extern ViewHooks theViewHooks;
