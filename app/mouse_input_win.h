#pragma once

#include <windows.h>

// The main window's mouse messages: the two-button navigation gesture and base-point picking.
void onMouseMove(LPARAM lParam);
void onLButtonDown(LPARAM lParam);
void onLButtonUp(LPARAM lParam);
void onRButtonDown(LPARAM lParam);
void onRButtonUp(LPARAM lParam);
void takeCapture();  // for the main window, once
void releaseMouse();
// Another window took the capture (Alt+Tab, a box popping up) or the system cancelled modes:
// the buttons count as up and a gesture ends without being performed.
void onCaptureChanged();
void cancelMouse();
