#include "figure/figure.h"

#include <algorithm>
#include <cstring>
#include <utility>

Outline& Outline::operator=(const Outline& other) {
    if (this == &other) return *this;
    if (other.points == other.owned.data() && other.count > 0) {
        owned = other.owned;
        points = owned.data();
    } else {
        owned.clear();
        points = other.points;
    }
    count = other.count;
    return *this;
}

Outline& Outline::operator=(Outline&& other) noexcept {
    if (this == &other) return *this;
    owned = std::move(other.owned);  // the buffer, and so the points, stay where they are
    points = other.points;
    count = other.count;
    other.points = nullptr;
    other.count = 0;
    return *this;
}

void Outline::refer(const Point2* first, std::size_t n) {
    owned.clear();
    owned.shrink_to_fit();
    points = first;
    count = n;
}

void Outline::own(std::vector<Point2>&& list) {
    owned = std::move(list);
    points = owned.data();
    count = owned.size();
}

void Outline::push_back(const Point2& p) {
    if (points != owned.data()) owned.assign(begin(), end());
    owned.push_back(p);
    points = owned.data();
    count = owned.size();
}

namespace {

// Small figures stay small; large ones get few large blocks.
constexpr std::size_t kFirstBlockPoints = 1 << 12;
constexpr std::size_t kLargestBlockPoints = 1 << 16;

}  // namespace

PointStore& PointStore::operator=(const PointStore& other) {
    blocks = other.blocks;
    current = nullptr;
    used = size = 0;
    return *this;
}

Point2* PointStore::allocate(std::size_t n) {
    if (!current || size - used < n) {
        size = std::max(n, std::min(kLargestBlockPoints, size ? 2 * size : kFirstBlockPoints));
        blocks.emplace_back(new Point2[size]);
        current = blocks.back().get();
        used = 0;
    }
    Point2* const first = current + used;
    used += n;
    return first;
}

void PointStore::adopt(PointStore&& other) {
    blocks.insert(blocks.end(), std::make_move_iterator(other.blocks.begin()),
                  std::make_move_iterator(other.blocks.end()));
    other.blocks.clear();
    other.current = nullptr;
    other.used = other.size = 0;
}

void Figure::appendSegment(const LineItem& item) {
    if (polylineOpen == 1) {
        std::vector<LineItem>& segments = polylines.back().segments;
        if (segments.empty()) segments.reserve(16);  // one allocation for the usual polyline
        segments.push_back(item);
    } else
        lines.push_back(item);
    extents.widen(item.x1, item.y1);
    extents.widen(item.x2, item.y2);
}

void Figure::appendPoint(const PointItem& item) {
    points.push_back(item);
    extents.widen(item.x, item.y);
}

void Figure::appendCircle(CircleItem&& item) {
    for (const Point2& p : item.outline) extents.widen(p.x, p.y);
    if (!keepOutlines) {
        item.outline.refer(nullptr, 0);
    } else if (!item.outline.empty()) {
        Point2* const kept = outlinePoints.allocate(item.outline.size());
        std::memcpy(kept, item.outline.data(), item.outline.size() * sizeof(Point2));
        item.outline.refer(kept, item.outline.size());
    }
    circles.push_back(std::move(item));
}

void Figure::appendText(TextItem&& item) {
    textBounds.include(item.x, item.y);
    textBounds.include(item.x + item.dx, item.y + item.dy);
    texts.push_back(std::move(item));
}

void Figure::openPolyline() {
    polylineOpen = 1;
    polylines.emplace_back();
}

void Bounds::include(double x, double y) {
    if (empty) {
        box = {x, y, x, y};
        empty = false;
    } else {
        box.widen(x, y);
    }
}

void Bounds::include(const Bounds& other) {
    if (other.empty) return;
    include(other.box.minX, other.box.minY);
    include(other.box.maxX, other.box.maxY);
}

Bounds figureBounds(const Figure& figure) {
    Bounds b;
    for (const LineItem& s : figure.lines) {
        b.include(s.x1, s.y1);
        b.include(s.x2, s.y2);
    }
    for (const PolylineItem& p : figure.polylines)
        for (const LineItem& s : p.segments) {
            b.include(s.x1, s.y1);
            b.include(s.x2, s.y2);
        }
    for (const CircleItem& c : figure.circles)
        for (const Point2& p : c.outline) b.include(p.x, p.y);
    for (const PointItem& p : figure.points) b.include(p.x, p.y);
    return b;
}

AttributeKey attributeKeyOf(std::string_view line) {
    if (line.size() < 2) return kAttributeKeys;
    if (line[0] == 'l') {
        switch (line[1]) {
            case 'g':
                return kLayerGroup;
            case 'y':
                return kLayer;
            case 'c':
                return kLineColour;
            case 't':
                return kLineType;
            case 'w':
                return kLineWidth;
            default:
                return kAttributeKeys;
        }
    }
    if (line[0] == 'c' && line[1] == 'n')
        return line.size() > 2 && line[2] == '"' ? kTextFont : kTextType;
    return kAttributeKeys;
}

uint32_t Attributes::internLine(std::string_view line) {
    const auto found = lineIndex.find(std::string(line));
    if (found != lineIndex.end()) return found->second;
    const uint32_t index = static_cast<uint32_t>(lines.size());
    lines.emplace_back(line);
    lineIndex.emplace(lines.back(), index);
    return index;
}

uint32_t Attributes::internState(const AttributeState& state) {
    if (stateIndex.empty()) stateIndex.emplace(states[0], 0);
    const auto found = stateIndex.find(state);
    if (found != stateIndex.end()) return found->second;
    const uint32_t index = static_cast<uint32_t>(states.size());
    states.push_back(state);
    stateIndex.emplace(state, index);
    return index;
}

uint32_t Attributes::stateOf(std::size_t kind, std::size_t i) const {
    const std::vector<StateRun>& r = runs[kind];
    const auto after =
        std::upper_bound(r.begin(), r.end(), i,
                         [](std::size_t item, const StateRun& run) { return item < run.first; });
    return after == r.begin() ? 0 : (after - 1)->state;
}
