#pragma once

#include <windows.h>

#include "view/mouse_actions.h"
#include "view/pixels.h"

struct App;

// The main window's mouse messages: the two-button navigation gesture and base-point picking.
// The decisions are the core's (view/mouse_actions.h); here they are performed.
void onMouseMove(App& app, LPARAM lParam);
void onButtonDown(App& app, MouseButton button, LPARAM lParam);
void onButtonUp(App& app, MouseButton button, LPARAM lParam);
// Another window took the capture (Alt+Tab, a box popping up) or the system cancelled modes:
// the buttons count as up and a gesture ends without being performed.
void onCaptureChanged(App& app);
void cancelMouse(App& app);
// Escape while picking: the pick ends and the base point is the one from before it.
void cancelPick(App& app);
void takeCapture(App& app);  // for the main window, once
void releaseMouse(App& app);

// The canvas pixel of a main-window mouse message.
PixelPoint canvasPixel(const App& app, LPARAM lParam);
