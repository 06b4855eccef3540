#pragma once

#include <cstddef>
#include <string_view>
#include <type_traits>
#include <vector>

#include "figure/figure.h"
#include "figure/outline.h"

// The figure's element kinds, in the order every copy is written: segments, polylines, circles
// and arcs, points. What differs between kinds is said once, in the kind's struct; everything
// done for every kind (counting, writing, reading's dispatch, the preview) walks ElementKinds.
// A new kind is a struct here and one entry in ElementKinds; the reader, the writer, the preview
// and the snapping each give it one overload, and the compiler names any that is missing.
//
// A kind gives its list in the figure, the tag its lines start with (what the reader matches),
// the prefix the writer puts before its numbers, and what one item is worth to one copy:
// elements (what the status bar counts), lines (what the exchange file holds) and work
// (points and segments the preview draws). kLinesEach is the lines of every item when they
// are the same for all, else 0 (the writer then finds an item's lines by a table). A kind kept
// only when the copies keep the attributes (kOptional) is left out of everything without it.

struct SegmentKind {
    static constexpr bool kOptional = false;
    using Item = LineItem;
    static constexpr std::string_view tag = " ";
    static constexpr const char* prefix = " ";
    static constexpr std::size_t kLinesEach = 1;
    static const std::vector<Item>& list(const Figure& f) { return f.lines; }
    static std::vector<Item>& list(Figure& f) { return f.lines; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t lines(const Item&) { return 1; }
    static std::size_t work(const Item&) { return 1; }
};

// "pl", its segments (as segment lines), "#".
struct PolylineKind {
    static constexpr bool kOptional = false;
    using Item = PolylineItem;
    static constexpr std::string_view tag = "pl";
    static constexpr std::string_view endTag = "#";
    static constexpr std::size_t kLinesEach = 0;
    static const std::vector<Item>& list(const Figure& f) { return f.polylines; }
    static std::vector<Item>& list(Figure& f) { return f.polylines; }
    static std::size_t elements(const Item& p) { return p.segments.size(); }
    static std::size_t lines(const Item& p) { return p.segments.size() + 2; }
    static std::size_t work(const Item& p) { return p.segments.size(); }
};

struct CircleKind {
    static constexpr bool kOptional = false;
    using Item = CircleItem;
    static constexpr std::string_view tag = "ci";
    static constexpr const char* prefix = "ci ";
    static constexpr std::size_t kLinesEach = 1;
    static const std::vector<Item>& list(const Figure& f) { return f.circles; }
    static std::vector<Item>& list(Figure& f) { return f.circles; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t lines(const Item&) { return 1; }
    static std::size_t work(const Item& c) {
        return static_cast<std::size_t>(outlinePointCount(c));
    }
};

struct PointKind {
    static constexpr bool kOptional = false;
    using Item = PointItem;
    static constexpr std::string_view tag = "pt";
    static constexpr const char* prefix = "pt ";
    static constexpr std::size_t kLinesEach = 1;
    static const std::vector<Item>& list(const Figure& f) { return f.points; }
    static std::vector<Item>& list(Figure& f) { return f.points; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t lines(const Item&) { return 1; }
    static std::size_t work(const Item&) { return 1; }
};

// `ch x y dx dy "string`: one line, drawn as the segment from its start to its end.
struct TextKind {
    static constexpr bool kOptional = true;
    using Item = TextItem;
    static constexpr std::string_view tag = "ch";
    static constexpr const char* prefix = "ch ";
    static constexpr std::size_t kLinesEach = 1;
    static const std::vector<Item>& list(const Figure& f) { return f.texts; }
    static std::vector<Item>& list(Figure& f) { return f.texts; }
    static std::size_t elements(const Item&) { return 1; }
    static std::size_t lines(const Item&) { return 1; }
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

using ElementKinds = KindList<SegmentKind, PolylineKind, CircleKind, PointKind, TextKind>;
static_assert(ElementKinds::count == kFigureKinds, "Attributes keeps runs for every kind");

// Whether the figure holds no element of any kind.
inline bool holdsNothing(const Figure& figure) {
    return !ElementKinds::any([&](auto kind) { return !decltype(kind)::list(figure).empty(); });
}

// What one copy of the whole figure holds.
struct CopyWeights {
    std::size_t elements = 0;
    std::size_t lines = 0;
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
            w.lines += Kind::lines(item);
            w.work += Kind::work(item);
        }
    });
    return w;
}
