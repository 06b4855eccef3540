#pragma once

#include <windows.h>

struct App;

// The middle button drags the drawing over the canvas. The main window procedure offers every
// mouse message here first; true when it has been handled (a press or release that is to do
// nothing during a drag included).
bool handlePanMessage(App& app, UINT message, WPARAM wParam, LPARAM lParam);
