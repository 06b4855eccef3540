#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "figure/point2.h"

// The drawing handed over by the host, in drawing units (the host's millimetres), y up.
// Angles are radians. Plain data: the reader fills it once, everything else only reads it.

struct Extents {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;

    // Strict comparisons, so a NaN never widens anything.
    void widen(double x, double y) {
        if (x < minX) minX = x;
        if (x > maxX) maxX = x;
        if (y < minY) minY = y;
        if (y > maxY) maxY = y;
    }
};

// The box around some points, without the origin. empty when there is none.
struct Bounds {
    Extents box;
    bool empty = true;

    void include(double x, double y);
    void include(const Bounds& other);
};

struct LineItem {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;

    LineItem() = default;
    LineItem(double ax1, double ay1, double ax2, double ay2) : x1(ax1), y1(ay1), x2(ax2), y2(ay2) {}
};

struct PointItem {
    double x = 0.0;
    double y = 0.0;
};

struct PolylineItem {
    std::vector<LineItem> segments;
};

// A circle, an arc or an elliptic arc by its seven numbers; its outline points are sampled
// from them where they are needed (figure/outline.h).
struct CircleItem {
    double cx = 0.0, cy = 0.0;
    double radius = 0.0;
    // startAngle == endAngle == 0 marks a circle read in the three-number form.
    double startAngle = 0.0, endAngle = 0.0;
    double ratio = 0.0;  // second semi-axis / radius
    double tilt = 0.0;   // first axis from the x axis, counter-clockwise

    bool isThreeNumberCircle() const { return startAngle == 0.0 && endAngle == 0.0; }
};

// A text: `ch x y dx dy "string`. (dx, dy) runs from the start to the end of the string; its
// size is the text type's, set by the attribute lines before it.
struct TextItem {
    double x = 0.0, y = 0.0, dx = 0.0, dy = 0.0;
    std::string string;  // from the quote to the line break, as read
};

// The host's attribute keys. Each is a state of its own, set by a line that starts with its tag
// and holding for every element after it until the next line of the same key.
enum AttributeKey {
    kLayerGroup,  // lg
    kLayer,       // ly
    kLineColour,  // lc
    kLineType,    // lt
    kLineWidth,   // lw
    kTextType,    // cn followed by anything but a quote
    kTextFont,    // cn"
    kAttributeKeys
};

// The key a line sets, or kAttributeKeys for any other line.
AttributeKey attributeKeyOf(std::string_view line);

// The number of element kinds (element_kinds.h checks it).
constexpr std::size_t kFigureKinds = 5;

// No line of the key known: the host keeps whatever it has.
constexpr uint32_t kUnknownLine = 0xFFFFFFFFu;

struct AttributeState {
    uint32_t line[kAttributeKeys];  // index in Attributes::lines, or kUnknownLine

    AttributeState() {
        for (uint32_t& l : line) l = kUnknownLine;
    }
    bool operator==(const AttributeState& o) const {
        for (int k = 0; k < kAttributeKeys; ++k)
            if (line[k] != o.line[k]) return false;
        return true;
    }
};

// Items first.. of a kind's list have the state, up to the next run.
struct StateRun {
    std::size_t first = 0;
    uint32_t state = 0;
};

// The attribute lines of the file: each distinct line once, each distinct state once (most
// files have a handful), and per kind the runs of items under one state. Nothing per item, so
// a file without attribute lines costs nothing.
struct Attributes {
    std::vector<std::string> lines;                        // as read, without the line break
    std::vector<AttributeState> states{AttributeState()};  // states[0] knows no key
    std::vector<StateRun> runs[kFigureKinds];
    uint32_t header = 0;  // the host's write settings: the lines before the first # or element

    bool any() const { return !lines.empty(); }
};

struct Figure {
    std::vector<LineItem> lines;
    std::vector<CircleItem> circles;
    std::vector<PointItem> points;
    std::vector<PolylineItem> polylines;
    std::vector<TextItem> texts;
    // What the figure draws: end points, points and the circles' outline points.
    Bounds bounds;
    // The texts' start and end points: only the preview's test whether a copy shows looks at
    // them, so the extents, the start-up moves and the view fit stay those of the geometry.
    Bounds textBounds;
    Attributes attributes;

    // bounds with the origin, which the extents always hold.
    Extents extents() const;
};
