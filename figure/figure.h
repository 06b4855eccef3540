#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "figure/point2.h"

// The drawing handed over by the host, in drawing units (the host's millimetres), y up.
// Angles are radians. Filled once by the reader, read-only afterwards.

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

// Outline points: a span of a figure's point store, or points of its own for a circle made
// outside a figure. Copies of an owning outline own copies.
struct Outline {
    Outline() = default;
    Outline(const Outline& other) { *this = other; }
    Outline(Outline&& other) noexcept { *this = std::move(other); }
    Outline& operator=(const Outline& other);
    Outline& operator=(Outline&& other) noexcept;

    void refer(const Point2* first, std::size_t n);
    void own(std::vector<Point2>&& points);
    void push_back(const Point2& p);

    std::size_t size() const { return count; }
    std::size_t capacity() const { return count; }
    bool empty() const { return count == 0; }
    const Point2* data() const { return points; }
    const Point2& operator[](std::size_t i) const { return points[i]; }
    const Point2& front() const { return points[0]; }
    const Point2& back() const { return points[count - 1]; }
    const Point2* begin() const { return points; }
    const Point2* end() const { return points + count; }

  private:
    const Point2* points = nullptr;
    std::size_t count = 0;
    std::vector<Point2> owned;
};

// Outline points of many circles in few large blocks, so reading allocates nothing per circle.
// Blocks never move; copies of a figure share them.
struct PointStore {
    PointStore() = default;
    PointStore(const PointStore& other) : blocks(other.blocks) {}  // starts a fresh block
    PointStore& operator=(const PointStore& other);
    PointStore(PointStore&&) = default;
    PointStore& operator=(PointStore&&) = default;

    Point2* allocate(std::size_t n);
    void adopt(PointStore&& other);  // takes other's blocks; their points stay where they are

    std::vector<std::shared_ptr<Point2[]>> blocks;
    Point2* current = nullptr;
    std::size_t used = 0;
    std::size_t size = 0;
};

struct CircleItem {
    double cx = 0.0, cy = 0.0;
    double radius = 0.0;
    // startAngle == endAngle == 0 marks a circle read in the three-number form.
    double startAngle = 0.0, endAngle = 0.0;
    double ratio = 0.0;  // second semi-axis / radius
    double tilt = 0.0;   // first axis from the x axis, counter-clockwise
    Outline outline;

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

struct AttributeStateHash {
    std::size_t operator()(const AttributeState& s) const {
        std::size_t h = 0;
        for (uint32_t l : s.line) h = h * 1000003u ^ l;
        return h;
    }
};

// Items first.. of a kind's list have the state, up to the next run.
struct StateRun {
    std::size_t first = 0;
    uint32_t state = 0;
};

// The attribute lines of the file: each distinct line once, each distinct state once (most
// files have a handful), and per kind the runs of items under one state. Nothing per item, so
// a file without attribute lines reads as fast as ever.
struct Attributes {
    std::vector<std::string> lines;                        // as read, without the line break
    std::vector<AttributeState> states{AttributeState()};  // states[0] knows no key
    std::vector<StateRun> runs[kFigureKinds];
    uint32_t header = 0;  // the host's write settings: the lines before the first # or element

    // While reading.
    uint32_t current = 0;
    bool headerDone = false;
    std::unordered_map<std::string, uint32_t> lineIndex;
    std::unordered_map<AttributeState, uint32_t, AttributeStateHash> stateIndex;

    uint32_t internLine(std::string_view line);
    uint32_t internState(const AttributeState& state);
    // The state of item i of the kind with index kind.
    uint32_t stateOf(std::size_t kind, std::size_t i) const;
    bool any() const { return lines.size() > 0; }
};

// The box around some points, without the origin. empty when there is none.
struct Bounds {
    Extents box;
    bool empty = true;

    void include(double x, double y);
    void include(const Bounds& other);
};

struct Figure {
    int32_t polylineOpen = 0;  // only meaningful while the file is being read
    // Read before reading: without outlines (nothing will draw the figure) circles keep only
    // their numbers; the outline points are still computed for the checks and the extents.
    bool keepOutlines = true;
    Extents extents;
    std::vector<LineItem> lines;
    std::vector<CircleItem> circles;
    std::vector<PointItem> points;
    std::vector<PolylineItem> polylines;
    std::vector<TextItem> texts;
    // The texts' start and end points: only the preview's box test of a copy looks at them,
    // so the extents, the start-up moves and the view fit stay those of the geometry.
    Bounds textBounds;
    PointStore outlinePoints;
    Attributes attributes;
    // While reading: the piece being read starts its line; the last piece did not end its
    // line; a text line longer than a piece is being collected.
    bool lineStart = true;
    bool midLine = false;
    bool textOpen = false;
    std::string textLine;
    // While reading in parts: a part's runs of the segments it reads before its first "pl" or
    // "#", which belong to whatever was open before it.
    bool readingPart = false;
    std::vector<StateRun> leadingRuns;

    void appendSegment(const LineItem& item);
    void appendPoint(const PointItem& item);
    void appendCircle(CircleItem&& item);  // the outline goes into the point store
    void appendText(TextItem&& item);
    void openPolyline();
    void closePolyline() { polylineOpen = 0; }

    bool empty() const {
        return lines.empty() && circles.empty() && points.empty() && polylines.empty() &&
               texts.empty();
    }
};

// The box around everything the figure draws (end points, points, outline points), without
// the origin that Extents always holds, and without the texts. empty when there is nothing.
Bounds figureBounds(const Figure& figure);
