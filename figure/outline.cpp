#include "figure/outline.h"

#include <cmath>

#include "figure/matrix3.h"

namespace {

// cos and sin of the 41 sampling angles of a full circle, computed once.
struct CircleSteps {
    double cosine[41];
    double sine[41];
    CircleSteps() {
        for (int i = 0; i <= 40; ++i) {
            const double theta = i * kReaderCircleStep;
            cosine[i] = std::cos(theta);
            sine[i] = std::sin(theta);
        }
    }
};

// Below this no product of the outline formula can overflow, so the short form below gives
// the same bits as multiplying the five matrices.
constexpr double kModerate = 1e150;

bool moderate(const CircleItem& c) {
    return std::fabs(c.cx) < kModerate && std::fabs(c.cy) < kModerate &&
           std::fabs(c.radius) < kModerate && std::fabs(c.ratio) < kModerate;
}

// The image of the origin under translate(radius, 0), rotate(-theta), scaleAxes(1, ratio),
// rotate(-tilt), translate(cx, cy). The matrix products reduce to these terms: the others
// multiply by an exact 0 or 1, which changes no bit of a finite non-zero result (at most the
// sign of a zero, which nothing can see).
Point2 outlinePoint(const CircleItem& c, double theta, double tiltCos, double tiltSin) {
    const double a = c.radius * std::cos(-theta);
    const double b = (c.radius * -std::sin(-theta)) * c.ratio;
    return {(a * tiltCos + b * tiltSin) + c.cx, (a * -tiltSin + b * tiltCos) + c.cy};
}

Point2 outlinePointByMatrices(const CircleItem& c, double theta) {
    Matrix3 m;
    m.translate(c.radius, 0.0);
    m.rotate(-theta);
    m.scaleAxes(1.0, c.ratio);
    m.rotate(-c.tilt);
    m.translate(c.cx, c.cy);
    return m.transformPoint(0.0, 0.0);
}

}  // namespace

namespace {

// The segments of the outline, or 0 when there would be too many.
int outlineSegments(const CircleItem& item) {
    const double sweep = item.endAngle - item.startAngle;
    if (sweep == 0.0) return 40;
    const double segments = std::fabs(sweep * kReaderSegmentsPerRadian);
    if (!(segments < kMaxOutlineSegments + 1)) return 0;  // also rejects NaN
    const int n = static_cast<int>(segments);
    return n < 20 ? 20 : n;
}

}  // namespace

int outlinePointCount(const CircleItem& circle) {
    const int n = outlineSegments(circle);
    return n == 0 ? 0 : n + 1;
}

int sampleOutline(const CircleItem& item, Point2* out) {
    const double sweep = item.endAngle - item.startAngle;
    const int n = outlineSegments(item);
    if (n == 0) return 0;
    if (sweep == 0.0) {
        static const CircleSteps steps;
        for (int i = 0; i <= 40; ++i)
            out[i] = {item.cx + item.radius * steps.cosine[i],
                      item.cy + item.radius * steps.sine[i]};
    } else {
        const double step = sweep / n;
        const bool fast = moderate(item);
        const double tiltCos = std::cos(-item.tilt);
        const double tiltSin = std::sin(-item.tilt);
        for (int i = 0; i <= n; ++i) {
            const double theta = item.startAngle + step * i;
            out[i] = fast ? outlinePoint(item, theta, tiltCos, tiltSin)
                          : outlinePointByMatrices(item, theta);
        }
    }
    for (int i = 0; i <= n; ++i)
        if (!std::isfinite(out[i].x) || !std::isfinite(out[i].y)) return 0;
    return n + 1;
}

bool outlineInside(const CircleItem& c, const Extents& box) {
    // Moderate numbers make every point finite, and sampleOutline takes the short form.
    if (!moderate(c) || outlineSegments(c) == 0) return false;
    // Before the centre is added, a point's offset is within the larger semi-axis, give or take
    // a few roundings of it; adding the centre rounds monotonically, so the offsets' bounds,
    // added the same way, bound the points.
    const double reach = std::fabs(c.radius) * std::fmax(1.0, std::fabs(c.ratio)) * (1.0 + 1e-9);
    return c.cx - reach >= box.minX && c.cx + reach <= box.maxX && c.cy - reach >= box.minY &&
           c.cy + reach <= box.maxY;
}

std::vector<Point2> outlineOf(const CircleItem& circle) {
    std::vector<Point2> points(kMaxOutlinePoints);
    points.resize(static_cast<std::size_t>(sampleOutline(circle, points.data())));
    return points;
}
