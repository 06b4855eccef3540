#pragma once

#include <windows.h>

// The main window's mouse messages: the two-button navigation gesture and base-point picking.
void onMouseMove(LPARAM lParam);
void onLButtonDown(LPARAM lParam);
void onLButtonUp(LPARAM lParam);
void onRButtonDown(LPARAM lParam);
void onRButtonUp(LPARAM lParam);
void releaseMouse();
