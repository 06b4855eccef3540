#pragma once

#include <windows.h>

struct App;

// Keys and the wheel, looked at in the message loop before they reach the focused control:
// the wheel zooms the canvas under the pointer wherever the focus is (a key or button press
// ends its run of notches), Tab walks the panel, Escape ends a pick or asks to close (or hides
// a dialog), Home fits the view to the copies, Enter in a value or percent box does nothing.
// True when the message has been handled and must be neither translated nor dispatched.
bool routeLoopInput(App& app, const MSG& message);
