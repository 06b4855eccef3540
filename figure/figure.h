#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "figure/point2.h"

// The drawing handed over by the host, in drawing units (the host's millimetres), y up.
// Angles are radians. Plain data: the reader fills it once, everything else only reads it.

// The number of element kinds (element_kinds.h lists them and checks it).
constexpr std::size_t kFigureKinds = 9;

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

    // Inline: every point read widens the bounds.
    void include(double x, double y) {
        if (empty) {
            box = {x, y, x, y};
            empty = false;
        } else {
            box.widen(x, y);
        }
    }
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

// Items first.. of a kind's list have the state, up to the next run.
struct StateRun {
    std::size_t first = 0;
    uint32_t state = 0;
};

struct PolylineItem {
    std::vector<LineItem> segments;
    // Where attribute lines inside the curve change a segment's state (a curve of several
    // colours): runs by segment. Empty when every segment has the curve's own state.
    std::vector<StateRun> runs;
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

// A text of one of the host's kinds, `TAG x y dx dy "string`: ch horizontal, cv vertical, and
// the values of dimensions (cs), radii (cr), diameters (co), angles (cp) and cumulative
// dimensions (ct). (dx, dy) runs from the start to the end of the string; its size is the text
// type's, set by the attribute lines before it.
struct TextItem {
    double x = 0.0, y = 0.0, dx = 0.0, dy = 0.0;
    std::string string;  // from the quote to the line break, as read
    char tag[3] = "ch";
};

// A solid (a fill) through two, three or four points: `sl x1 y1 x2 y2 [x3 y3 [x4 y4]]`.
struct SolidItem {
    int count = 0;
    Point2 corner[4];
};

// A point marker: `pt x y` and more fields, which describe the marker.
struct MarkerItem {
    double x = 0.0, y = 0.0;
    std::string rest;  // from the separator after y to the line break, as read
};

// Elements the host keeps together until a "#": a dimension (`msg`), or a block reference
// (`BL x y "name`, at its insertion point; the block's contents are not in the file). Its
// elements stay in their kinds' lists too, where the copies without the attributes take them;
// the group holds, per kind, where its items begin and, in file order, the kind of each.
struct GroupItem {
    double x = 0.0, y = 0.0;  // a block's insertion point
    std::string name;         // a block's, from the quote to the line break, as read
    bool known = true;        // false: a head of another shape, named and not copied
    std::size_t first[kFigureKinds] = {};
    std::vector<uint8_t> order;
};

// A group's elements in file order: the kind and index of each.
template <class Visit>
void eachMember(const GroupItem& g, Visit&& visit) {
    std::size_t taken[kFigureKinds] = {};
    for (uint8_t k : g.order) visit(static_cast<std::size_t>(k), g.first[k] + taken[k]++);
}

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
    kPointType,   // pn
    kAttributeKeys
};

// The key a line sets, or kAttributeKeys for any other line.
AttributeKey attributeKeyOf(std::string_view line);

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

// Records of the selection that no copy takes, by their tag: what is to be named.
struct RecordCount {
    std::string tag;
    std::size_t count = 0;
};

// n more records of the tag. The first kMostTags tags are counted one by one, in the order
// they come; any further ones together, as "...".
constexpr std::size_t kMostTags = 32;
void countRecords(std::vector<RecordCount>& counts, std::string_view tag, std::size_t n);

struct Figure {
    std::vector<LineItem> lines;
    std::vector<CircleItem> circles;
    std::vector<PointItem> points;
    std::vector<PolylineItem> polylines;
    std::vector<TextItem> texts;
    std::vector<SolidItem> solids;
    std::vector<MarkerItem> markers;
    std::vector<GroupItem> dimensions;
    std::vector<GroupItem> blocks;
    // Circle and ring solids, sun-shadow and 2.5D data, dimensions of a kind not known here,
    // lines of tags not known at all: read, counted, never copied.
    std::vector<RecordCount> uncopied;
    // What the figure draws: end points, points and the circles' outline points.
    Bounds bounds;
    // What the kinds kept only with the attributes cover: the texts' start points, the solids'
    // corners, the markers and the blocks' insertion points, and the longest text. Only the
    // preview's test whether a copy shows looks at them, so the extents, the start-up moves and
    // the view fit stay those of the geometry.
    Bounds optionalBounds;
    double longestText = 0.0;
    Attributes attributes;

    // bounds with the origin, which the extents always hold.
    Extents extents() const;
};
