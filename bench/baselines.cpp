#include "bench/baselines.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "copyarray/element_lines.h"
#include "copyarray/scale_arc.h"
#include "figure/outline.h"

namespace {

// Separators: the first at a fixed index, then each next space; fields by strtod.
int plainSplit(const char* line, int first, double* values) {
    const char* separators[9];
    int count = 0;
    separators[count++] = line + first;
    const char* p = line + first + 1;
    while (count < 9 && (p = std::strchr(p, ' ')) != nullptr) separators[count++] = p++;
    if (count > 7) return count;
    for (int k = 0; k < count; ++k) values[k] = std::strtod(separators[k] + 1, nullptr);
    return count;
}

// Every outline point a separate allocation, as the first version held them.
bool plainOutline(const CircleItem& c, std::vector<Point2>& outline) {
    const double sweep = c.endAngle - c.startAngle;
    if (sweep == 0.0) {
        for (int i = 0; i <= 40; ++i) {
            const double theta = i * kReaderCircleStep;
            outline.push_back(
                {c.cx + c.radius * std::cos(theta), c.cy + c.radius * std::sin(theta)});
        }
        return true;
    }
    const double segments = std::fabs(sweep * kReaderSegmentsPerRadian);
    if (!(segments < kMaxOutlineSegments + 1)) return false;
    int n = static_cast<int>(segments);
    if (n < 20) n = 20;
    for (int i = 0; i <= n; ++i) {
        Matrix3 m;
        m.translate(c.radius, 0.0);
        m.rotate(-(c.startAngle + (sweep / n) * i));
        m.scaleAxes(1.0, c.ratio);
        m.rotate(-c.tilt);
        m.translate(c.cx, c.cy);
        outline.push_back(m.transformPoint(0.0, 0.0));
    }
    return true;
}

void widen(Figure& figure, double x, double y) {
    figure.bounds.include(x, y);
}

}  // namespace

bool plainLoadFigure(const char* path, Figure& figure) {
    std::FILE* f = std::fopen(path, "r");
    if (!f) return false;
    char line[256];
    double v[8];
    bool polylineOpen = false;
    while (std::fgets(line, sizeof line, f)) {
        if (line[0] == ' ') {
            if (plainSplit(line, 0, v) != 4) continue;
            (polylineOpen ? figure.polylines.back().segments : figure.lines)
                .push_back(LineItem(v[0], v[1], v[2], v[3]));
            widen(figure, v[0], v[1]);
            widen(figure, v[2], v[3]);
        } else if (line[0] == 'c' && line[1] == 'i') {
            const int n = plainSplit(line, 2, v);
            if (n != 3 && n != 7) continue;
            CircleItem c;
            c.cx = v[0];
            c.cy = v[1];
            c.radius = v[2];
            c.ratio = 1.0;
            if (n == 7) {
                c.startAngle = v[3] * kReaderDegree;
                c.endAngle = v[4] * kReaderDegree;
                if (c.endAngle == c.startAngle) {
                    c.startAngle = 0.0;
                    c.endAngle = kReaderFullTurn;
                }
                if (c.startAngle > c.endAngle) c.startAngle -= kReaderFullTurn;
                c.ratio = v[5];
                c.tilt = v[6] * kReaderDegree;
            }
            std::vector<Point2> outline;
            if (!plainOutline(c, outline)) continue;
            for (const Point2& o : outline) widen(figure, o.x, o.y);
            figure.circles.push_back(c);
        } else if (line[0] == 'p' && line[1] == 't') {
            if (plainSplit(line, 2, v) != 2) continue;
            figure.points.push_back({v[0], v[1]});
            widen(figure, v[0], v[1]);
        } else if (line[0] == 'p' && line[1] == 'l') {
            figure.polylines.emplace_back();
            polylineOpen = true;
        } else if (line[0] == '#') {
            polylineOpen = false;
        }
    }
    std::fclose(f);
    return true;
}

void plainWriteCopies(const Figure& figure, const CopyArray& copies, const CopyInputs& inputs,
                      std::FILE* out) {
    const CopyParameters p = evaluateCopyParameters(inputs);
    char buffer[512];
    auto segment = [&](const Matrix3& m, const LineItem& s) {
        std::snprintf(buffer, sizeof buffer, " %lf %lf %lf %lf\r\n", m.transformX(s.x1, s.y1),
                      m.transformY(s.x1, s.y1), m.transformX(s.x2, s.y2), m.transformY(s.x2, s.y2));
        std::fputs(buffer, out);
    };
    for (int k = 1; k <= p.copies; ++k) {
        Matrix3 m;
        m.translate(-copies.baseX, -copies.baseY);
        const double sx = std::pow(p.scaleX, k), sy = std::pow(p.scaleY, k);
        m.scaleAxes(sx, sy);
        m.rotate(k * p.angle);
        m.translate(k * p.moveX + copies.baseX, k * p.moveY + copies.baseY);
        for (const LineItem& s : figure.lines) segment(m, s);
        for (const PolylineItem& poly : figure.polylines) {
            std::fputs("pl\r\n", out);
            for (const LineItem& s : poly.segments) segment(m, s);
            std::fputs("#\r\n", out);
        }
        for (const CircleItem& c : figure.circles) {
            CircleItem a = c;
            scaleArc(a, sx, sy);
            const double x = m.transformX(c.cx, c.cy), y = m.transformY(c.cx, c.cy);
            if (c.startAngle == 0.0 && c.endAngle == 0.0) {
                std::snprintf(buffer, sizeof buffer, "ci %lf %lf %lf\r\n", x, y, a.radius);
            } else {
                const double ratio = a.ratio < kMinWrittenRatio ? kMinWrittenRatio : a.ratio;
                std::snprintf(buffer, sizeof buffer, "ci %lf %lf %lf %lf %lf %lf %lf\r\n", x, y,
                              a.radius, a.startAngle * kWriterDegreesPerRadian,
                              a.endAngle * kWriterDegreesPerRadian, ratio,
                              (a.tilt - k * p.angle) * kWriterDegreesPerRadian);
            }
            std::fputs(buffer, out);
        }
        for (const PointItem& pt : figure.points) {
            std::snprintf(buffer, sizeof buffer, "pt %lf %lf\r\n", m.transformX(pt.x, pt.y),
                          m.transformY(pt.x, pt.y));
            std::fputs(buffer, out);
        }
    }
}
