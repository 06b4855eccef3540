#include "view/raster_target.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "figure/outline.h"

namespace {

// The dots reach two pixels beyond their centre.
constexpr double kDotReach = 2.0;

// Beyond this many pixels from the canvas, rounding in the transform could move an outline
// point by more than the margin of the test whether a circle shows.
constexpr double kCullLimit = 1e9;

// std::fmax inline: the other value where one is not a number.
double larger(double a, double b) {
    return b > a || a != a ? b : a;
}

// The screen box of the square of the circle's larger semi-axis under m: the outline lies
// within the square, so its image lies within the box. False when the terms reach
// kCullLimit pixels (or are not finite), where rounding could carry a point out of it.
bool circleScreenBox(const CircleItem& c, const Matrix3& m, const ScreenMap& map, Extents& box) {
    const double reach = std::fabs(c.radius) * larger(1.0, std::fabs(c.ratio));
    const double ax = std::fabs(c.cx) + reach, ay = std::fabs(c.cy) + reach;
    const double terms =
        larger(std::fabs(m.m[0][0]) * ax + std::fabs(m.m[1][0]) * ay + std::fabs(m.m[2][0]),
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
    drawSegments(segments, PairMap(ScreenMap(view), m));
}

// One mapping for all: most polylines are a few segments.
void RasterTarget::drawPolylines(const std::vector<PolylineItem>& polylines, const Matrix3& m) {
    const PairMap map(ScreenMap(view), m);
    for (const PolylineItem& p : polylines) drawSegments(p.segments, map);
}

void RasterTarget::drawSegments(const std::vector<LineItem>& segments, const PairMap& map) {
    for (const LineItem& s : segments) {
        const ScreenPair ends = map(&s);
        if (ends.bothNear()) {
            PixelPoint p[2];
            ends.pixels(p);
            drawPixelSegment(p[0], p[1]);
        } else {
            drawSegmentPixels(ends.first(), ends.second());
        }
    }
}

void RasterTarget::drawCircles(const std::vector<CircleItem>& circles, const Matrix3& m) {
    const PairMap map(ScreenMap(view), m);
    Point2 room[kMaxOutlinePoints];
    for (std::size_t i = 0; i < circles.size(); ++i) {
        // Placed first: an outline off the canvas is not even sampled.
        const CirclePlace place = placeCircle(circles[i], map);
        if (place == CirclePlace::off) continue;
        std::size_t count = 0;
        const Point2* outline = outlines->of(i, circles[i], room, count);
        drawPlacedCircle(place, outline, count, map);
    }
}

void RasterTarget::drawCircle(const CircleItem& circle, const Point2* outline, std::size_t count,
                              const Matrix3& m) {
    const PairMap map(ScreenMap(view), m);
    drawPlacedCircle(placeCircle(circle, map), outline, count, map);
}

RasterTarget::CirclePlace RasterTarget::placeCircle(const CircleItem& circle,
                                                    const PairMap& pairs) const {
    Extents box;
    if (!circleScreenBox(circle, pairs.matrix, pairs.one, box)) return CirclePlace::crossing;
    // A pixel of margin for the rounding of the points inside the box.
    if (box.maxX < clip.left - 2 || box.minX > clip.right + 1 || box.maxY < clip.top - 2 ||
        box.minY > clip.bottom + 1)
        return CirclePlace::off;
    if (box.minX >= clip.left + 1 && box.maxX < clip.right - 1 && box.minY >= clip.top + 1 &&
        box.maxY < clip.bottom - 1)
        return CirclePlace::inside;
    return CirclePlace::crossing;
}

void RasterTarget::drawPlacedCircle(CirclePlace place, const Point2* outline, std::size_t count,
                                    const PairMap& pairs) {
    if (count < 2 || place == CirclePlace::off) return;
    if (place == CirclePlace::inside) {
        drawOutlineInside(outline, count, pairs);
        return;
    }
    const ScreenMap& map = pairs.one;
    const Matrix3& m = pairs.matrix;
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

void RasterTarget::drawOutlineInside(const Point2* outline, std::size_t count, const PairMap& map) {
    uint32_t* const memory = bits;
    const size_t width = static_cast<size_t>(bitmapWidth);
    const uint32_t colour = lineColour;
    uint32_t sink = 0;
    auto piece = [&](PixelPoint a, PixelPoint b) {
        const int32_t dx = b.x - a.x, dy = b.y - a.y;
        if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1) {
            // No step lights nothing, one step its first pixel: without a branch to mispredict.
            uint32_t* p = (dx | dy) ? memory + static_cast<size_t>(a.y) * width + a.x : &sink;
            *p = colour;
        } else {
            rasterLine(memory, bitmapWidth, a, b, colour);
        }
    };
#if ZOVREL_SSE2
    const __m128i one = _mm_set1_epi32(1), none = _mm_setzero_si128();
    const __m128i flip = _mm_set1_epi32(INT32_MIN), below3 = _mm_set1_epi32(INT32_MIN + 3);
    const __m128i xs = _mm_set_epi32(0, -1, 0, -1), widths = _mm_set1_epi32(bitmapWidth);
#endif
    // Mapped a run at a time, two points at once, then walked.
    constexpr std::size_t kRun = 64;
    PixelPoint pixels[kRun + 1];
    map.pixels(outline, 1, pixels);
    for (std::size_t done = 1; done < count;) {
        const std::size_t n = std::min(kRun, count - done);
        map.pixels(outline + done, n, pixels + 1);
        std::size_t i = 1;
#if ZOVREL_SSE2
        // Two pieces at once where both are of at most one step: the steps' offsets x + y * width
        // (all coordinates here are positive) and whether each moves at all.
        for (; i + 1 <= n; i += 2) {
            __m128i from, to;
            std::memcpy(&from, pixels + i - 1, sizeof from);
            std::memcpy(&to, pixels + i, sizeof to);
            const __m128i d = _mm_sub_epi32(to, from);
            // d + 1 in 0..2 as unsigned, for every coordinate of both.
            const __m128i small =
                _mm_cmplt_epi32(_mm_xor_si128(_mm_add_epi32(d, one), flip), below3);
            if (_mm_movemask_ps(_mm_castsi128_ps(small)) != 15) {
                piece(pixels[i - 1], pixels[i]);
                piece(pixels[i], pixels[i + 1]);
                continue;
            }
            const int still = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(d, none)));
            const __m128i at = _mm_add_epi64(_mm_mul_epu32(_mm_srli_epi64(from, 32), widths),
                                             _mm_and_si128(from, xs));
            // A piece that does not move sets its pixel to what it holds.
            const uint32_t keepP = 0u - ((still & 3) == 3), keepQ = 0u - ((still & 12) == 12);
            uint32_t* const p = memory + _mm_cvtsi128_si64(at);
            *p = (*p & keepP) | (colour & ~keepP);
            uint32_t* const q = memory + _mm_cvtsi128_si64(_mm_unpackhi_epi64(at, at));
            *q = (*q & keepQ) | (colour & ~keepQ);
        }
#endif
        for (; i <= n; ++i) piece(pixels[i - 1], pixels[i]);
        pixels[0] = pixels[n];
        done += n;
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
    const ScreenMap one(view);
    const PairMap map(one, m);
    std::size_t i = 0;
    for (; i + 2 <= points.size(); i += 2) {
        const ScreenPair dots = map(&points[i]);
        if (dots.bothNear()) {
            PixelPoint p[2];
            dots.pixels(p);
            drawDotPixel(p[0]);
            drawDotPixel(p[1]);
        } else {
            drawDotAt(dots.first());
            drawDotAt(dots.second());
        }
    }
    if (i < points.size()) drawDotAt(one(m, points[i].x, points[i].y));
}

void RasterTarget::drawDotAt(const Point2& screen) {
    // A point that is not a number lies nowhere (toPixel would put it at 0).
    if (!std::isfinite(screen.x) || !std::isfinite(screen.y)) return;
    drawDotPixel(toPixel(screen));
}

void RasterTarget::drawDotPixel(PixelPoint p) {
    if (p.x - 2 >= clip.left && p.y - 2 >= clip.top && p.x + 2 < clip.right &&
        p.y + 2 < clip.bottom) {
        // Wholly inside: five rows of three, five, five, five and three pixels.
        uint32_t* row = bits + static_cast<size_t>(p.y - 2) * bitmapWidth + p.x;
#if ZOVREL_SSE2
        // Rows as overlapping stores of two and four pixels.
        const __m128i four = _mm_set1_epi32(static_cast<int>(dotColour));
        std::memcpy(row - 1, &four, 8);
        std::memcpy(row, &four, 8);
        for (int v = 0; v < 3; ++v) {
            row += bitmapWidth;
            std::memcpy(row - 2, &four, 16);
            std::memcpy(row - 1, &four, 16);
        }
        row += bitmapWidth;
        std::memcpy(row - 1, &four, 8);
        std::memcpy(row, &four, 8);
#else
        for (int v = -2; v <= 2; ++v, row += bitmapWidth) {
            const int reach = v == -2 || v == 2 ? 1 : 2;
            for (int u = -reach; u <= reach; ++u) row[u] = dotColour;
        }
#endif
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
