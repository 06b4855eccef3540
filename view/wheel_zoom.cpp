#include "view/wheel_zoom.h"

int WheelNotches::add(int delta) {
    if ((delta > 0 && pending < 0) || (delta < 0 && pending > 0)) pending = 0;
    // pending lies within one notch and delta within a short: the sum cannot overflow.
    const int sum = pending + delta;
    pending = sum % kWheelNotch;
    return sum / kWheelNotch;
}

double wheelNotchScale(double scale, bool in) {
    if (in) {
        if (!(scale > kMinScale)) return scale;
        const double next = scale / kWheelZoomFactor;
        return next < kMinScale ? kMinScale : next;
    }
    if (!(scale < kMaxScale)) return scale;
    const double next = scale * kWheelZoomFactor;
    return next > kMaxScale ? kMaxScale : next;
}

namespace {

// The offsets that keep the pixel's world point under it, before truncation.
Point2 offsetsKeepingPixel(const ViewMapping& view, int32_t px, int32_t py, double newScale) {
    // The pixel's distance from the centre in world units stays; in pixels it grows by ratio.
    const double ratio = view.scale / newScale;
    const double dx = static_cast<double>(px) - view.halfWidth;
    const double dy = static_cast<double>(py) - view.halfHeight;
    return {(dx + view.offsetX) * ratio - dx, (dy + view.offsetY) * ratio - dy};
}

// Truncated toward zero, v is an int32.
bool fitsInt32(double v) {
    return v > -2147483649.0 && v < 2147483648.0;
}

// Beyond an int32 the offsets would stop at its end and the point leave the pointer.
bool keepsPixel(const ViewMapping& view, int32_t px, int32_t py, double newScale) {
    const Point2 offsets = offsetsKeepingPixel(view, px, py, newScale);
    return fitsInt32(offsets.x) && fitsInt32(offsets.y);
}

}  // namespace

void zoomKeepingPixel(ViewMapping& view, int32_t px, int32_t py, double newScale) {
    const Point2 offsets = offsetsKeepingPixel(view, px, py, newScale);
    view.offsetX = truncateOffset(offsets.x);
    view.offsetY = truncateOffset(offsets.y);
    view.scale = newScale;
}

bool WheelZoom::turn(ViewMapping& view, int delta, int32_t px, int32_t py, uint32_t now,
                     bool dragging) {
    // A notch in the middle of a drag would save a view the drag then leaves behind.
    if (dragging) return false;
    const uint32_t pause = now - lastTime;  // the clock wraps: so does the difference
    lastTime = now;
    const int whole = notches.add(delta);
    const bool in = whole > 0;
    double next = view.scale;
    // Zooming in pushes the offsets outward with every notch: the notches stop at the last one
    // whose offsets still fit, so that the point stays under the pointer.
    for (int i = 0; i < (in ? whole : -whole); ++i) {
        const double further = wheelNotchScale(next, in);
        if (further == next || !keepsPixel(view, px, py, further)) break;
        next = further;
    }
    if (next == view.scale) return false;  // no whole notch, or at a limit: nothing happens
    if (!inRun || view.changes != runChanges || pause >= kWheelRunPause) view.saveView();
    // Several notches in one message zoom in one step, truncating the offsets once.
    zoomKeepingPixel(view, px, py, next);
    inRun = true;
    runChanges = view.changes;
    return true;
}
