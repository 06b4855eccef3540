#pragma once

#include <windows.h>

#include "view/mouse_actions.h"
#include "view/pixels.h"

// The main window's mouse messages: the two-button navigation gesture and base-point picking.
// The decisions are the core's (view/mouse_actions.h); here they are performed.
void onMouseMove(LPARAM lParam);
void onButtonDown(MouseButton button, LPARAM lParam);
void onButtonUp(MouseButton button, LPARAM lParam);
// Another window took the capture (Alt+Tab, a box popping up) or the system cancelled modes:
// the buttons count as up and a gesture ends without being performed.
void onCaptureChanged();
void cancelMouse();
void takeCapture();  // for the main window, once
void releaseMouse();

// The canvas pixel of a main-window mouse message.
PixelPoint canvasPixel(LPARAM lParam);
