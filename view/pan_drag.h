#pragma once

#include <cstdint>

#include "view/view_mapping.h"

// Dragging the drawing with the middle button, pixel for pixel. The view before the drag is
// the one "PREVIOUS" returns to. While the drag lasts the other buttons do nothing, and the
// release of a button pressed meanwhile does nothing either, whenever it comes.

enum PanButton { kPanLeft = 1, kPanRight = 2 };

struct PanDrag {
    bool active = false;
    int32_t lastX = 0;  // canvas pixel of the latest position
    int32_t lastY = 0;
    int32_t ignored = 0;  // PanButton bits pressed during the drag, released not yet
    bool moved = false;   // the view has moved (and was saved first)

    // Starts a drag at (x, y) unless another button is held; true when it started. The view is
    // saved at the first move, so a middle click without a drag leaves "PREVIOUS" alone.
    bool begin(int32_t x, int32_t y, bool otherButtonHeld);
    // The drawing follows the pointer to (x, y); true when the view moved.
    bool moveTo(ViewMapping& view, int32_t x, int32_t y);
    void end() { active = false; }

    // True when the press or release of that button is to do nothing.
    bool ignorePress(PanButton button);
    bool ignoreRelease(PanButton button);
};
