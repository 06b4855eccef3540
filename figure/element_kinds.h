#pragma once

#include <cstddef>
#include <string_view>
#include <type_traits>
#include <vector>

#include "figure/figure.h"
#include "figure/outline.h"

// The figure's element kinds, in the order every copy is written. What differs between kinds
// is said once, in the kind's struct; everything done for every kind (reading's dispatch,
// counting, writing, the preview, snapping, the parallel reading's parts) walks ElementKinds.
// A new kind is a struct here and one entry in ElementKinds; the reader, the writer, the
// preview and the snapping each give it one overload, and the compiler names any missing.
//
// A kind gives its list in the figure, whether a piece read is one of its lines (starts), the
// prefix the writer puts before its numbers, whether the preview shows it as dots (kDots: over
// the copy's lines), and what one item is worth to one copy: elements
// (what the status bar counts) and work (points and segments the preview draws), and lines,
// the lines it writes where kLinesEach is 0 (items of differing lines) and 1 otherwise. A kind
// kept only when the copies keep the attributes (kOptional) is left out of everything without
// them.

namespace kinds {

// Whether a piece that is not empty starts with the tag.
// Byte by byte: the tags are two or three bytes, and a call to memcmp per tag and line would
// cost more than the reading of a segment.
constexpr bool startsWith(std::string_view piece, std::string_view tag) {
    if (piece.size() < tag.size()) return false;
    for (std::size_t i = 0; i < tag.size(); ++i)
        if (piece[i] != tag[i]) return false;
    return true;
}

}  // namespace kinds

struct SegmentKind {
    static constexpr bool kOptional = false;
    static constexpr bool kDots = false;
    using Item = LineItem;
    static constexpr char prefix[] = " ";
    static constexpr std::size_t kLinesEach = 1;
    static bool starts(std::string_view piece) { return piece[0] == ' '; }
    static const std::vector<Item>& list(const Figure& f) { return f.lines; }
    static std::vector<Item>& list(Figure& f) { return f.lines; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t lines(const Item&) { return 1; }
    static std::size_t work(const Item&) { return 1; }
};

// "pl", its segments (as segment lines), "#".
struct PolylineKind {
    static constexpr bool kOptional = false;
    static constexpr bool kDots = false;
    using Item = PolylineItem;
    static constexpr std::string_view tag = "pl";
    static constexpr std::string_view endTag = "#";
    static constexpr std::size_t kLinesEach = 0;
    static bool starts(std::string_view piece) { return kinds::startsWith(piece, tag); }
    static const std::vector<Item>& list(const Figure& f) { return f.polylines; }
    static std::vector<Item>& list(Figure& f) { return f.polylines; }
    static std::size_t elements(const Item& p) { return p.segments.size(); }
    static std::size_t lines(const Item& p) { return p.segments.size() + 2; }
    static std::size_t work(const Item& p) { return p.segments.size(); }
};

struct CircleKind {
    static constexpr bool kOptional = false;
    static constexpr bool kDots = false;
    using Item = CircleItem;
    static constexpr char prefix[] = "ci ";
    static constexpr std::size_t kLinesEach = 1;
    static bool starts(std::string_view piece) { return kinds::startsWith(piece, "ci"); }
    static const std::vector<Item>& list(const Figure& f) { return f.circles; }
    static std::vector<Item>& list(Figure& f) { return f.circles; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t lines(const Item&) { return 1; }
    static std::size_t work(const Item& c) {
        return static_cast<std::size_t>(outlinePointCount(c));
    }
};

// `pt x y`; a pt line with more fields is a marker (MarkerKind), told apart when it is read.
struct PointKind {
    static constexpr bool kOptional = false;
    static constexpr bool kDots = true;
    using Item = PointItem;
    static constexpr char prefix[] = "pt ";
    static constexpr std::size_t kLinesEach = 1;
    static bool starts(std::string_view piece) { return kinds::startsWith(piece, "pt"); }
    static const std::vector<Item>& list(const Figure& f) { return f.points; }
    static std::vector<Item>& list(Figure& f) { return f.points; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t lines(const Item&) { return 1; }
    static std::size_t work(const Item&) { return 1; }
};

// Every text kind of the host: one line, with its own tag, drawn as the segment it covers.
struct TextKind {
    static constexpr bool kOptional = true;
    static constexpr bool kDots = false;
    using Item = TextItem;
    static constexpr std::string_view kTags = "hvsrcopt";  // after the 'c': ch cv cs cr ...
    static constexpr std::size_t kLinesEach = 1;
    static bool starts(std::string_view piece) {
        return piece.size() >= 2 && piece[0] == 'c' && kTags.find(piece[1]) != kTags.npos;
    }
    static const std::vector<Item>& list(const Figure& f) { return f.texts; }
    static std::vector<Item>& list(Figure& f) { return f.texts; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t lines(const Item&) { return 1; }
    static std::size_t work(const Item&) { return 2; }
};

struct SolidKind {
    static constexpr bool kOptional = true;
    static constexpr bool kDots = false;
    using Item = SolidItem;
    static constexpr char prefix[] = "sl ";
    static constexpr std::size_t kLinesEach = 1;
    static bool starts(std::string_view piece) { return kinds::startsWith(piece, "sl"); }
    static const std::vector<Item>& list(const Figure& f) { return f.solids; }
    static std::vector<Item>& list(Figure& f) { return f.solids; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t lines(const Item&) { return 1; }
    static std::size_t work(const Item& s) { return static_cast<std::size_t>(s.count); }
};

// Read through the point's tag: a pt line of more than two fields.
struct MarkerKind {
    static constexpr bool kOptional = true;
    static constexpr bool kDots = true;
    using Item = MarkerItem;
    static constexpr char prefix[] = "pt ";
    static constexpr std::size_t kLinesEach = 1;
    static bool starts(std::string_view) { return false; }
    static const std::vector<Item>& list(const Figure& f) { return f.markers; }
    static std::vector<Item>& list(Figure& f) { return f.markers; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t lines(const Item&) { return 1; }
    static std::size_t work(const Item&) { return 1; }
};

// `msg`, the dimension's elements, "#". Its elements count and draw as their own kinds.
struct DimensionKind {
    static constexpr bool kOptional = true;
    static constexpr bool kDots = false;
    using Item = GroupItem;
    static constexpr std::string_view tag = "msg";
    static constexpr std::size_t kLinesEach = 0;
    static bool starts(std::string_view piece) { return kinds::startsWith(piece, tag); }
    static const std::vector<Item>& list(const Figure& f) { return f.dimensions; }
    static std::vector<Item>& list(Figure& f) { return f.dimensions; }
    static std::size_t elements(const Item&) { return 0; }
    static std::size_t work(const Item&) { return 0; }
};

// `BL x y "name`, "#": copied only into the copies that are pure translations.
struct BlockKind {
    static constexpr bool kOptional = true;
    static constexpr bool kDots = true;
    using Item = GroupItem;
    static constexpr std::string_view tag = "BL";
    static constexpr char prefix[] = "BL ";
    static constexpr std::size_t kLinesEach = 0;
    static bool starts(std::string_view piece) { return kinds::startsWith(piece, tag); }
    static const std::vector<Item>& list(const Figure& f) { return f.blocks; }
    static std::vector<Item>& list(Figure& f) { return f.blocks; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t work(const Item&) { return 1; }
};

template <class... Kinds>
struct KindList {
    static constexpr std::size_t count = sizeof...(Kinds);

    // visit(Kind{}) for every kind, in file order.
    template <class Visit>
    static void each(Visit&& visit) {
        (visit(Kinds{}), ...);
    }
    // The same, stopping at the first kind for which visit returns true; whether one did.
    template <class Visit>
    static bool any(Visit&& visit) {
        return (visit(Kinds{}) || ...);
    }
    // The kind's place in file order.
    template <class Kind>
    static constexpr std::size_t index() {
        std::size_t i = 0;
        const bool found = ((std::is_same_v<Kind, Kinds> ? true : (++i, false)) || ...);
        return found ? i : count;
    }
};

using ElementKinds = KindList<SegmentKind, PolylineKind, CircleKind, PointKind, TextKind, SolidKind,
                              MarkerKind, DimensionKind, BlockKind>;
static_assert(ElementKinds::count == kFigureKinds, "Attributes keeps runs for every kind");

// Whether the figure holds no element of any kind.
inline bool holdsNothing(const Figure& figure) {
    return !ElementKinds::any([&](auto kind) { return !decltype(kind)::list(figure).empty(); });
}

// What one copy of the whole figure holds.
struct CopyWeights {
    std::size_t elements = 0;
    std::size_t work = 0;
};

// withOptional: the kinds kept only with the attributes count too.
inline CopyWeights copyWeights(const Figure& figure, bool withOptional = false) {
    CopyWeights w;
    ElementKinds::each([&](auto kind) {
        using Kind = decltype(kind);
        if (Kind::kOptional && !withOptional) return;
        for (const typename Kind::Item& item : Kind::list(figure)) {
            w.elements += Kind::elements(item);
            w.work += Kind::work(item);
        }
    });
    return w;
}
