#pragma once

// The two-button navigation gesture: the drag's direction from the pixel where the second
// button went down chooses the command. Offsets of exactly +-10 pixels (at 96 DPI; scaled with
// the canvas's DPI) count as no direction.

#include "view/dpi_scale.h"

constexpr int kGestureThreshold = 10;

enum class NavCommand { zoomIn, zoomOut, showAll, previous, move };

struct GestureFeedback {
    bool rubberBand = false;      // "ZOOM IN": the rectangle and its text
    const char* label = nullptr;  // the command's label; null while no gesture is on
};

// What the canvas shows while the pointer is dx, dy pixels from the start (y grows down): what
// the release there would do.
GestureFeedback gestureFeedback(int dx, int dy, int dpi = kBaseDpi);

// The command performed when the last button is released dx, dy pixels from the start.
// A release in the horizontal zone performs "MOVE", as the label there announced.
NavCommand gestureCommand(int dx, int dy, int dpi = kBaseDpi);

const char* commandLabel(NavCommand command);
