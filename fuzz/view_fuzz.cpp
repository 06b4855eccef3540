// The view arithmetic and the mouse decisions on arbitrary inputs: a sequence of view
// operations with any pixel positions, client sizes, factors and extents; the gesture with
// any offsets; snapping with any pointer and scale; the pixel conversions with any values.
// No undefined behaviour (offsets may be any int32, so every sum with them must be formed
// wider), and after every step the scales are finite and positive.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "figure/figure.h"
#include "figure/matrix3.h"
#include "fuzz/fuzz_check.h"
#include "view/nav_gesture.h"
#include "view/pixels.h"
#include "view/snap.h"
#include "view/view_mapping.h"

namespace {

// Any double, NaN and infinities included.
double anyDouble(FuzzedDataProvider& in) {
    const uint64_t bits = in.ConsumeIntegral<uint64_t>();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Mostly ordinary values, sometimes any bits.
double someDouble(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? anyDouble(in) : in.ConsumeFloatingPointInRange<double>(-1e7, 1e7);
}

bool validScale(double s) {
    return std::isfinite(s) && s > 0.0;
}

void checkView(const ViewMapping& v) {
    FUZZ_CHECK(validScale(v.scale) && validScale(v.savedScale) && validScale(v.homeScale));
}

bool withinPixels(const PixelPoint& p) {
    return p.x >= -kPixelLimit && p.x <= kPixelLimit && p.y >= -kPixelLimit && p.y <= kPixelLimit;
}

void checkGesture(int dx, int dy) {
    const NavCommand command = gestureCommand(dx, dy);
    const GestureFeedback shown = gestureFeedback(dx, dy);
    // What the canvas announces while dragging is what the release does.
    FUZZ_CHECK(shown.rubberBand == (command == NavCommand::zoomIn));
    FUZZ_CHECK(std::strcmp(shown.label, commandLabel(command)) == 0);
    const bool centre = dx >= -kGestureThreshold && dx <= kGestureThreshold;
    const bool middle = dy >= -kGestureThreshold && dy <= kGestureThreshold;
    if (centre || middle) FUZZ_CHECK(command == NavCommand::move);
}

void checkSnap(const Figure& figure, double x, double y, double scale) {
    const Point2 p = snapBasePoint(figure, x, y, scale);
    if (sameBits(p.x, x) && sameBits(p.y, y)) return;
    bool candidate = p.x == 0.0 && p.y == 0.0;
    auto segment = [&](const LineItem& s) {
        candidate = candidate || (p.x == s.x1 && p.y == s.y1) || (p.x == s.x2 && p.y == s.y2) ||
                    (p.x == s.x1 * 0.5 + s.x2 * 0.5 && p.y == s.y1 * 0.5 + s.y2 * 0.5);
    };
    for (const LineItem& s : figure.lines) segment(s);
    for (const PolylineItem& pl : figure.polylines)
        for (const LineItem& s : pl.segments) segment(s);
    for (const CircleItem& c : figure.circles)
        candidate = candidate || (p.x == c.cx && p.y == c.cy);
    for (const PointItem& q : figure.points) candidate = candidate || (p.x == q.x && p.y == q.y);
    FUZZ_CHECK(candidate);
    const double d = std::sqrt((p.x - x) * (p.x - x) + (p.y - y) * (p.y - y));
    FUZZ_CHECK(d / scale < kSnapPixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Figure figure;
    const int elements = in.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < elements; ++i) {
        // Finite values only, as the reader keeps.
        const double a = in.ConsumeFloatingPoint<double>(), b = in.ConsumeFloatingPoint<double>();
        if (in.ConsumeBool()) {
            figure.lines.push_back(LineItem(a, b, in.ConsumeFloatingPoint<double>(),
                                            in.ConsumeFloatingPoint<double>()));
        } else {
            figure.points.push_back({a, b});
        }
    }

    ViewMapping view;
    view.setClientSize(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>());
    checkView(view);
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange(0, 15)) {
            case 0:
                view.panTo(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>());
                break;
            case 1:
                view.zoomAt(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                            someDouble(in));
                break;
            case 2:
                view.zoomOutAt(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>());
                break;
            case 3: {
                const int32_t l = in.ConsumeIntegral<int32_t>(), t = in.ConsumeIntegral<int32_t>();
                view.zoomToRect(l, t, in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>());
                break;
            }
            case 4:
                view.showAll();
                break;
            case 5:
                view.previousView();
                break;
            case 6: {
                Extents e;
                e.minX = someDouble(in);
                e.minY = someDouble(in);
                e.maxX = someDouble(in);
                e.maxY = someDouble(in);
                view.fitDone = in.ConsumeBool() ? 0 : view.fitDone;
                view.fitToExtents(e);
                break;
            }
            case 7: {
                const double before = view.scale;
                const double typed = someDouble(in);
                const int accepted = view.applyScale(typed);
                FUZZ_CHECK(accepted == (std::isfinite(typed) && typed > 0.0));
                if (accepted) {
                    FUZZ_CHECK(view.scale >= kMinScale && view.scale <= kMaxScale);
                } else {
                    FUZZ_CHECK(sameBits(view.scale, before));
                }
                break;
            }
            case 8:
                view.setClientSize(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>());
                break;
            case 9: {
                const Point2 w = view.screenToWorld(in.ConsumeIntegral<int32_t>(),
                                                    in.ConsumeIntegral<int32_t>());
                const Point2 s = view.worldToScreen(w.x, w.y);
                FUZZ_CHECK(withinPixels(toPixel(s)));
                FUZZ_CHECK(
                    withinPixels(toPixel(view.worldToScreen(someDouble(in), someDouble(in)))));
                break;
            }
            case 10: {
                const Point2 a{someDouble(in), someDouble(in)}, b{someDouble(in), someDouble(in)};
                PixelPoint pa{}, pb{};
                if (segmentToPixels(a, b, pa, pb)) FUZZ_CHECK(withinPixels(pa) && withinPixels(pb));
                break;
            }
            case 11: {
                Extents e;
                e.minX = someDouble(in);
                e.minY = someDouble(in);
                e.maxX = someDouble(in);
                e.maxY = someDouble(in);
                Matrix3 m;
                m.scaleAxes(someDouble(in), someDouble(in));
                m.rotate(someDouble(in));
                m.translate(someDouble(in), someDouble(in));
                copyMissesCanvas(e, m, view, in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(),
                                 someDouble(in));
                break;
            }
            case 12:
                checkGesture(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>());
                break;
            case 13:
                checkSnap(figure, someDouble(in), someDouble(in), view.scale);
                break;
            case 14: {
                const double x = someDouble(in), y = someDouble(in);
                const double scale = anyDouble(in);
                snapBasePoint(figure, x, y, scale);  // any scale: no fault, whatever it returns
                break;
            }
            case 15: {
                Extents e;
                e.minX = someDouble(in);
                e.minY = someDouble(in);
                e.maxX = someDouble(in);
                e.maxY = someDouble(in);
                view.fitBox(e, kHomeShare);
                break;
            }
        }
        checkView(view);
    }
    return 0;
}
