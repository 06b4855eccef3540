#pragma once

#include <windows.h>

#include "view/dpi_scale.h"

// Ids, and sizes at 96 DPI.
constexpr int kStatusBarId = 1;
constexpr int kStatusStripId = 3;
constexpr int kScaleButtonId = 28;
constexpr int kSizeGrip = 17;
constexpr int kScaleButtonTop = 3;
constexpr int kScaleButtonWidth = 60;
constexpr int kScaleButtonHeight = 16;
constexpr int kScaleButtonMinX = 300;
constexpr int kHintSize = 512;
// The base point, under the panel column: a click types it.
constexpr int kBaseButtonId = 30;
constexpr PixelBox kBaseButtonBox{5, kScaleButtonTop, 130, kScaleButtonHeight};

// The status bar along the bottom and the text strip over it: the hint, the notes on the
// preview, the output readout and the scale button ("X …"). It paints from the application's
// state (app/app_win.h); whoever changes what it shows invalidates it.
struct StatusStrip {
    void create(HWND main, HINSTANCE instance, HFONT font, int dpi);
    // The main window's WM_SIZE: the bar docks itself, the strip and the scale button follow.
    void layout(WPARAM wParam, LPARAM lParam, int dpi);
    void setHint(const char* text);
    void invalidate();  // the texts are drawn anew at the next paint
    void showScale();   // the scale button likewise
    void showBase();    // the base point button likewise

    HWND bar = nullptr;
    HWND strip = nullptr;
    HWND scaleButton = nullptr;
    HWND baseButton = nullptr;
    WNDPROC previousProc = nullptr;  // the static control's own
    char hint[kHintSize] = {};
};

LRESULT CALLBACK statusStripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The scale button's label for a scale: "X " and the scale cut to two decimals.
void scaleLabel(double scale, char* label, int size);
