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

void zoomKeepingPixel(ViewMapping& view, int32_t px, int32_t py, double newScale) {
    // The pixel's distance from the centre in world units stays; in pixels it grows by ratio.
    const double ratio = view.scale / newScale;
    const double dx = static_cast<double>(px) - view.halfWidth;
    const double dy = static_cast<double>(py) - view.halfHeight;
    view.offsetX = truncateOffset((dx + view.offsetX) * ratio - dx);
    view.offsetY = truncateOffset((dy + view.offsetY) * ratio - dy);
    view.scale = newScale;
}

bool WheelZoom::turn(ViewMapping& view, int delta, int32_t px, int32_t py) {
    const int whole = notches.add(delta);
    const bool in = whole > 0;
    double next = view.scale;
    for (int i = 0; i < (in ? whole : -whole); ++i) next = wheelNotchScale(next, in);
    if (next == view.scale) return false;  // no whole notch, or at the limit: nothing happens
    if (!inRun || view.changes != runChanges) view.saveView();
    // Several notches in one message zoom in one step, truncating the offsets once.
    zoomKeepingPixel(view, px, py, next);
    inRun = true;
    runChanges = view.changes;
    return true;
}
