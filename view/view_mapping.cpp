#include "view/view_mapping.h"

#include <cmath>

int32_t truncateClamped(double v, int32_t limit) {
    if (!(v == v)) return 0;
    if (v > limit) return limit;
    if (v < -limit) return -limit;
    return static_cast<int32_t>(v);
}

int32_t truncateOffset(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483648.0) return (std::numeric_limits<int32_t>::max)();
    if (v <= -2147483649.0) return (std::numeric_limits<int32_t>::min)();
    return static_cast<int32_t>(v);
}

void ViewMapping::setClientSize(int width, int height) {
    halfWidth = static_cast<int32_t>(width * 0.5);
    halfHeight = static_cast<int32_t>(height * 0.5);
}

void ViewMapping::saveView() {
    ++changes;
    savedOffsetX = offsetX;
    savedOffsetY = offsetY;
    savedScale = scale;
}

void ViewMapping::panTo(int32_t px, int32_t py) {
    saveView();
    offsetX = truncateOffset(static_cast<double>(offsetX) + (static_cast<double>(px) - halfWidth));
    offsetY = truncateOffset(static_cast<double>(offsetY) + (static_cast<double>(py) - halfHeight));
}

namespace {

// The world point under the pixel, truncated to whole drawing units, becomes the centre.
void recentre(ViewMapping& v, int32_t px, int32_t py, double newScale) {
    v.saveView();
    // In doubles: the same values as int32 sums wherever those do not overflow.
    v.offsetX = truncateOffset((static_cast<double>(px) - v.halfWidth + v.offsetX) * v.scale);
    v.offsetY = truncateOffset((static_cast<double>(py) - v.halfHeight + v.offsetY) * v.scale);
    v.scale = newScale;
    const double r = 1.0 / v.scale;
    v.offsetX = truncateOffset(v.offsetX * r);
    v.offsetY = truncateOffset(v.offsetY * r);
}

}  // namespace

void ViewMapping::zoomAt(int32_t px, int32_t py, double factor) {
    double next = scale / factor;
    if (next < kMinScale) next = kMinScale;
    // A zero-sized canvas gives a factor of 0; never let the scale leave the finite range.
    if (!std::isfinite(next)) next = kMaxScale;
    recentre(*this, px, py, next);
}

void ViewMapping::zoomOutAt(int32_t px, int32_t py) {
    double next = scale + scale;
    if (next > kMaxScale) next = kMaxScale;
    recentre(*this, px, py, next);
}

void ViewMapping::zoomToRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const double fx = static_cast<double>(2 * halfWidth) / (static_cast<double>(right) - left);
    const double fy = static_cast<double>(2 * halfHeight) / (static_cast<double>(bottom) - top);
    const double factor = fx <= fy ? fx : fy;
    const int32_t cx = static_cast<int32_t>((static_cast<int64_t>(left) + right) * 0.5);
    const int32_t cy = static_cast<int32_t>((static_cast<int64_t>(top) + bottom) * 0.5);
    zoomAt(cx, cy, factor);
}

void ViewMapping::showAll() {
    saveView();
    scale = homeScale;
    offsetX = 0;
    offsetY = 0;
}

void ViewMapping::previousView() {
    ++changes;
    const int32_t ox = offsetX, oy = offsetY;
    const double s = scale;
    offsetX = savedOffsetX;
    offsetY = savedOffsetY;
    scale = savedScale;
    savedOffsetX = ox;
    savedOffsetY = oy;
    savedScale = s;
}

void ViewMapping::fitToExtents(const Extents& e) {
    if (fitDone) return;
    fitDone = true;
    const double fy = (2 * halfHeight * kFitShare) / (e.maxY - e.minY);
    const double fx = (2 * halfWidth * kFitShare) / (e.maxX - e.minX);
    const double fitted = fy < fx ? 1.0 / fy : 1.0 / fx;
    // An empty or one-point figure (or a canvas without size) has no finite fit: keep 1.0.
    scale = std::isfinite(fitted) && fitted > 0.0 ? fitted : 1.0;
    homeScale = scale;
    saveView();
}

namespace {

// Half away from zero, then clamped as every offset is.
int32_t roundOffset(double v) {
    return truncateOffset(v < 0.0 ? v - 0.5 : v + 0.5);
}

}  // namespace

void ViewMapping::fitBox(const Extents& box, double share) {
    saveView();
    const double sx = (box.maxX - box.minX) / (2.0 * halfWidth * share);
    const double sy = (box.maxY - box.minY) / (2.0 * halfHeight * share);
    const double fitted = sx > sy ? sx : sy;
    if (std::isfinite(fitted) && fitted > 0.0)
        scale = fitted < kMinScale ? kMinScale : fitted > kMaxScale ? kMaxScale : fitted;
    offsetX = roundOffset((box.minX * 0.5 + box.maxX * 0.5) / scale);
    offsetY = roundOffset(-(box.minY * 0.5 + box.maxY * 0.5) / scale);
}

bool ViewMapping::applyScale(double value) {
    if (!std::isfinite(value) || !(value > 0.0)) return false;
    if (value < kMinScale) value = kMinScale;
    if (value > kMaxScale) value = kMaxScale;
    scale = value;
    ++changes;
    return true;
}

namespace {

void rescaleView(double& scale, int32_t& offsetX, int32_t& offsetY, double ratio) {
    const double next = scale * ratio;
    if (!std::isfinite(next) || !(next > 0.0)) return;
    offsetX = roundOffset(offsetX * (scale / next));
    offsetY = roundOffset(offsetY * (scale / next));
    scale = next;
}

}  // namespace

void ViewMapping::changeDpi(int from, int to) {
    if (from <= 0 || to <= 0 || to == from) return;
    const double ratio = static_cast<double>(from) / to;
    rescaleView(scale, offsetX, offsetY, ratio);
    rescaleView(savedScale, savedOffsetX, savedOffsetY, ratio);
    const double home = homeScale * ratio;
    if (std::isfinite(home) && home > 0.0) homeScale = home;
    ++changes;
}
