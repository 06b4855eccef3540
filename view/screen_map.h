#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "figure/figure.h"
#include "figure/matrix3.h"
#include "figure/point2.h"
#include "view/pixels.h"
#include "view/view_mapping.h"

// SSE2 is always there on x64.
#if defined(__SSE2__) && defined(__x86_64__)
#define ZOVREL_SSE2 1
#include <emmintrin.h>
#else
#define ZOVREL_SSE2 0
#endif

// World points under a matrix to screen pixels (unrounded), with the very operations of
// m.transformPoint and then view.worldToScreen, the reciprocal of the scale formed once.
struct ScreenMap {
    explicit ScreenMap(const ViewMapping& view)
        : r(1.0 / view.scale),
          halfWidth(view.halfWidth),
          halfHeight(view.halfHeight),
          offsetX(view.offsetX),
          offsetY(view.offsetY) {}
    Point2 world(double x, double y) const {  // view.worldToScreen
        return {halfWidth + x * r - offsetX, halfHeight - y * r - offsetY};
    }
    Point2 operator()(const Matrix3& m, double x, double y) const {
        return {halfWidth + m.transformX(x, y) * r - offsetX,
                halfHeight - m.transformY(x, y) * r - offsetY};
    }
    double r, halfWidth, halfHeight, offsetX, offsetY;
};

// Two screen points that PairMap made.
struct ScreenPair {
#if ZOVREL_SSE2
    __m128d xs, ys;  // the first point's coordinate in the low lane

    // Both points nearPixel: |v| <= kPixelLimit is false for a NaN, as nearPixel's tests are.
    bool bothNear() const {
        const __m128d sign = _mm_set1_pd(-0.0);
        const __m128d limit = _mm_set1_pd(kPixelLimit);
        const __m128d within = _mm_and_pd(_mm_cmple_pd(_mm_andnot_pd(sign, xs), limit),
                                          _mm_cmple_pd(_mm_andnot_pd(sign, ys), limit));
        return _mm_movemask_pd(within) == 3;
    }
    // truncatePixel of both, for near points: out[0] and out[1].
    void pixels(PixelPoint* out) const {
        const __m128i both = _mm_unpacklo_epi32(_mm_cvttpd_epi32(xs), _mm_cvttpd_epi32(ys));
        std::memcpy(out, &both, 2 * sizeof(PixelPoint));
    }
    Point2 first() const {
        return {_mm_cvtsd_f64(xs), _mm_cvtsd_f64(ys)};
    }
    Point2 second() const {
        return {_mm_cvtsd_f64(_mm_unpackhi_pd(xs, xs)), _mm_cvtsd_f64(_mm_unpackhi_pd(ys, ys))};
    }
#else
    Point2 a, b;

    bool bothNear() const {
        return nearPixel(a) && nearPixel(b);
    }
    void pixels(PixelPoint* out) const {
        out[0] = truncatePixel(a);
        out[1] = truncatePixel(b);
    }
    Point2 first() const {
        return a;
    }
    Point2 second() const {
        return b;
    }
#endif
};

static_assert(sizeof(Point2) == 2 * sizeof(double) && sizeof(LineItem) == 2 * sizeof(Point2) &&
                  sizeof(PointItem) == sizeof(Point2),
              "points and segments are pairs of doubles in a row");

// ScreenMap under one matrix, two points at a time: with SSE2 each lane does ScreenMap's
// operations in the same order, so each point gets the same bits.
struct PairMap {
    PairMap(const ScreenMap& map, const Matrix3& m) : one(map), matrix(m) {
#if ZOVREL_SSE2
        m00 = _mm_set1_pd(m.m[0][0]);
        m10 = _mm_set1_pd(m.m[1][0]);
        m20 = _mm_set1_pd(m.m[2][0]);
        m01 = _mm_set1_pd(m.m[0][1]);
        m11 = _mm_set1_pd(m.m[1][1]);
        m21 = _mm_set1_pd(m.m[2][1]);
        r = _mm_set1_pd(map.r);
        halfWidth = _mm_set1_pd(map.halfWidth);
        halfHeight = _mm_set1_pd(map.halfHeight);
        offsetX = _mm_set1_pd(map.offsetX);
        offsetY = _mm_set1_pd(map.offsetY);
#endif
    }

    // The two points whose four doubles x0 y0 x1 y1 begin at `pair`: two points in a row, a
    // segment's ends.
    ScreenPair operator()(const void* pair) const {
#if ZOVREL_SSE2
        __m128d p0, p1;
        std::memcpy(&p0, pair, sizeof p0);
        std::memcpy(&p1, static_cast<const char*>(pair) + sizeof p0, sizeof p1);
        const __m128d x = _mm_unpacklo_pd(p0, p1), y = _mm_unpackhi_pd(p0, p1);
        const __m128d tx = _mm_add_pd(_mm_add_pd(_mm_mul_pd(m00, x), _mm_mul_pd(m10, y)), m20);
        const __m128d ty = _mm_add_pd(_mm_add_pd(_mm_mul_pd(m01, x), _mm_mul_pd(m11, y)), m21);
        return {_mm_sub_pd(_mm_add_pd(halfWidth, _mm_mul_pd(tx, r)), offsetX),
                _mm_sub_pd(_mm_sub_pd(halfHeight, _mm_mul_pd(ty, r)), offsetY)};
#else
        Point2 p[2];
        std::memcpy(p, pair, sizeof p);
        return {one(matrix, p[0].x, p[0].y), one(matrix, p[1].x, p[1].y)};
#endif
    }

    // truncatePixel of each point mapped, for points whose images are known to be near.
    void pixels(const Point2* points, std::size_t count, PixelPoint* out) const {
        std::size_t i = 0;
        for (; i + 2 <= count; i += 2) (*this)(points + i).pixels(out + i);
        if (i < count) out[i] = truncatePixel(one(matrix, points[i].x, points[i].y));
    }

    ScreenMap one;
    Matrix3 matrix;
#if ZOVREL_SSE2
    __m128d m00, m10, m20, m01, m11, m21, r, halfWidth, halfHeight, offsetX, offsetY;
#endif
};
