#include "view/pan_drag.h"

bool PanDrag::begin(int32_t x, int32_t y, bool otherButtonHeld) {
    if (active || otherButtonHeld) return false;
    active = true;
    moved = false;
    lastX = x;
    lastY = y;
    return true;
}

bool PanDrag::moveTo(ViewMapping& view, int32_t x, int32_t y) {
    if (!active) return false;
    // The drawing moves with the pointer: the offsets move against it. In doubles, so that no
    // pixel difference can overflow.
    const int32_t ox =
        truncateOffset(static_cast<double>(view.offsetX) - (static_cast<double>(x) - lastX));
    const int32_t oy =
        truncateOffset(static_cast<double>(view.offsetY) - (static_cast<double>(y) - lastY));
    lastX = x;
    lastY = y;
    if (ox == view.offsetX && oy == view.offsetY) return false;
    if (!moved) view.saveView();
    moved = true;
    view.offsetX = ox;
    view.offsetY = oy;
    ++view.changes;  // a wheel run across a drag starts anew
    return true;
}

bool PanDrag::ignorePress(PanButton button) {
    if (!active) {
        ignored &= ~button;  // a new press: the release waited for went elsewhere
        return false;
    }
    ignored |= button;
    return true;
}

bool PanDrag::ignoreRelease(PanButton button) {
    if (!(ignored & button)) return false;
    ignored &= ~button;
    return true;
}
