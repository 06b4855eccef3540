#include "view/raster_target.h"

#include <cmath>
#include <cstdlib>

namespace {

// The dots reach two pixels beyond their centre.
constexpr double kDotReach = 2.0;

// Beyond this many pixels from the canvas, rounding in the transform could move an outline
// point by more than the margin of the test whether a circle shows.
constexpr double kCullLimit = 1e9;

// The screen box of the square of the circle's larger semi-axis under m: the outline lies
// within the square, so its image lies within the box. False when the terms reach
// kCullLimit pixels (or are not finite), where rounding could carry a point out of it.
bool circleScreenBox(const CircleItem& c, const Matrix3& m, const ScreenMap& map, Extents& box) {
    const double reach = std::fabs(c.radius) * std::fmax(1.0, std::fabs(c.ratio));
    const double ax = std::fabs(c.cx) + reach, ay = std::fabs(c.cy) + reach;
    const double terms =
        std::fmax(std::fabs(m.m[0][0]) * ax + std::fabs(m.m[1][0]) * ay + std::fabs(m.m[2][0]),
                  std::fabs(m.m[0][1]) * ax + std::fabs(m.m[1][1]) * ay + std::fabs(m.m[2][1]));
    if (!(terms * map.r < kCullLimit)) return false;
    const Point2 centre = map(m, c.cx, c.cy);
    const double halfX = (std::fabs(m.m[0][0]) + std::fabs(m.m[1][0])) * reach * map.r;
    const double halfY = (std::fabs(m.m[0][1]) + std::fabs(m.m[1][1])) * reach * map.r;
    box = {centre.x - halfX, centre.y - halfY, centre.x + halfX, centre.y + halfY};
    return true;
}

}  // namespace

void RasterTarget::setBitmap(uint32_t* memory, int width, int height) {
    bits = memory;
    bitmapWidth = width;
    bitmapHeight = height;
    clip = {0, 0, width, height};
}

bool RasterTarget::copyMissesView(const Extents& box, const Matrix3& m, double reach) const {
    const double margin = kDotReach + reach / view.scale;
    return boxMissesPixels(box, m, view, clip.left, clip.top, clip.right, clip.bottom, margin);
}

void RasterTarget::drawSegmentPixels(const Point2& a, const Point2& b) {
    PixelPoint pa, pb;
    if (!segmentToPixels(a, b, pa, pb)) return;
    drawPixelSegment(pa, pb);
}

void RasterTarget::drawLeavingSegment(PixelPoint pa, PixelPoint pb) {
    // Wholly beside the clip: nothing of it could show.
    if ((pa.x < clip.left && pb.x < clip.left) || (pa.y < clip.top && pb.y < clip.top) ||
        (pa.x >= clip.right && pb.x >= clip.right) || (pa.y >= clip.bottom && pb.y >= clip.bottom))
        return;
    // The same walk from the true end points, clipped.
    rasterLineClipped(bits, bitmapWidth, clip, pa, pb, lineColour);
}

void RasterTarget::drawSegments(const std::vector<LineItem>& segments, const Matrix3& m) {
    const ScreenMap map(view);
    for (const LineItem& s : segments) {
        const Point2 a = map(m, s.x1, s.y1), b = map(m, s.x2, s.y2);
        if (nearPixel(a) && nearPixel(b))
            drawPixelSegment(truncatePixel(a), truncatePixel(b));
        else
            drawSegmentPixels(a, b);
    }
}

void RasterTarget::drawCircles(const std::vector<CircleItem>& circles, const Matrix3& m) {
    for (std::size_t i = 0; i < circles.size(); ++i)
        drawCircle(circles[i], outlines->of(i), outlines->count(i), m);
}

void RasterTarget::drawCircle(const CircleItem& circle, const Point2* outline, std::size_t count,
                              const Matrix3& m) {
    if (count < 2) return;
    const ScreenMap map(view);
    Extents box;
    if (circleScreenBox(circle, m, map, box)) {
        // A pixel of margin for the rounding of the points inside the box.
        if (box.maxX < clip.left - 2 || box.minX > clip.right + 1 || box.maxY < clip.top - 2 ||
            box.minY > clip.bottom + 1)
            return;
        if (box.minX >= clip.left + 1 && box.maxX < clip.right - 1 && box.minY >= clip.top + 1 &&
            box.maxY < clip.bottom - 1) {
            drawOutlineInside(outline, count, m);
            return;
        }
    }
    // Each piece of the outline as a segment of its own: a polyline lights the same pixels.
    auto screen = [&](const Point2& p) { return map(m, p.x, p.y); };
    Point2 previous = screen(outline[0]);
    bool previousNear = nearPixel(previous);
    PixelPoint previousPixel = previousNear ? truncatePixel(previous) : PixelPoint{0, 0};
    for (size_t i = 1; i < count; ++i) {
        const Point2 current = screen(outline[i]);
        const bool inRange = nearPixel(current);
        const PixelPoint pixel = inRange ? truncatePixel(current) : PixelPoint{0, 0};
        if (inRange && previousNear)
            drawPixelSegment(previousPixel, pixel);
        else
            drawSegmentPixels(previous, current);
        previous = current;
        previousNear = inRange;
        previousPixel = pixel;
    }
}

void RasterTarget::drawOutlineInside(const Point2* outline, std::size_t count, const Matrix3& m) {
    const ScreenMap map(view);
    const Matrix3 local = m;  // in registers: a pixel store could alias the caller's
    uint32_t* const memory = bits;
    const size_t width = static_cast<size_t>(bitmapWidth);
    const uint32_t colour = lineColour;
    uint32_t sink = 0;
    PixelPoint a = truncatePixel(map(local, outline[0].x, outline[0].y));
    for (size_t i = 1; i < count; ++i) {
        const PixelPoint b = truncatePixel(map(local, outline[i].x, outline[i].y));
        const int32_t dx = b.x - a.x, dy = b.y - a.y;
        if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1) {
            // No step lights nothing, one step its first pixel: without a branch to mispredict.
            uint32_t* p = (dx | dy) ? memory + static_cast<size_t>(a.y) * width + a.x : &sink;
            *p = colour;
        } else {
            rasterLine(memory, bitmapWidth, a, b, colour);
        }
        a = b;
    }
}

void RasterTarget::drawText(const TextPlacement& text) {
    const ScreenMap map(view);
    const Point2 a = map.world(text.x, text.y);
    drawSegmentPixels(a, map.world(text.x + text.dx, text.y + text.dy));
    if (!nearPixel(a)) return;
    const PixelPoint p = truncatePixel(a);
    const PixelPoint mark[5] = {p, {p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
    for (const PixelPoint& q : mark)
        if (inClip(q)) bits[static_cast<size_t>(q.y) * bitmapWidth + q.x] = lineColour;
}

void RasterTarget::drawOutline(const Point2* corners, int count, const Matrix3& m) {
    const ScreenMap map(view);
    for (int i = 0; i < count; ++i) {
        // Two corners are one segment, not a segment there and back.
        if (count == 2 && i == 1) break;
        const Point2& a = corners[i];
        const Point2& b = corners[(i + 1) % count];
        drawSegmentPixels(map(m, a.x, a.y), map(m, b.x, b.y));
    }
}

void RasterTarget::drawDot(const Matrix3& m, double x, double y) {
    drawDotAt(ScreenMap(view)(m, x, y));
}

void RasterTarget::drawDots(const std::vector<PointItem>& points, const Matrix3& m) {
    const ScreenMap map(view);
    for (const PointItem& p : points) drawDotAt(map(m, p.x, p.y));
}

void RasterTarget::drawDotAt(const Point2& screen) {
    // A point that is not a number lies nowhere (toPixel would put it at 0).
    if (!std::isfinite(screen.x) || !std::isfinite(screen.y)) return;
    const PixelPoint p = toPixel(screen);
    if (p.x - 2 >= clip.left && p.y - 2 >= clip.top && p.x + 2 < clip.right &&
        p.y + 2 < clip.bottom) {
        // Wholly inside: five rows of three, five, five, five and three pixels.
        uint32_t* row = bits + static_cast<size_t>(p.y - 2) * bitmapWidth + p.x;
        for (int v = -2; v <= 2; ++v, row += bitmapWidth) {
            const int reach = v == -2 || v == 2 ? 1 : 2;
            for (int u = -reach; u <= reach; ++u) row[u] = dotColour;
        }
        return;
    }
    if (p.x < clip.left - 2 || p.y < clip.top - 2 || p.x > clip.right + 2 || p.y > clip.bottom + 2)
        return;
    for (int v = -2; v <= 2; ++v)
        for (int u = -2; u <= 2; ++u) {
            const int x = p.x + u, y = p.y + v;
            if ((std::abs(u) == 2 && std::abs(v) == 2) || x < clip.left || y < clip.top ||
                x >= clip.right || y >= clip.bottom)
                continue;
            bits[static_cast<size_t>(y) * bitmapWidth + x] = dotColour;
        }
}
