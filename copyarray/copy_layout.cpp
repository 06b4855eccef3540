#include "copyarray/copy_layout.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "copyarray/element_lines.h"
#include "copyarray/layout_walk.h"

using namespace layout_walk;

namespace {

// Equal as bits: 0 and -0 scale an arc into different signs.
bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

// Where the attribute lines of a run of lines stand: the next prefix and its line. Asked before
// every element line in order.
struct CopyLayout::Cursor {
    const AttributePlan& plan;
    bool first;  // the first copy
    std::size_t at;
    std::size_t line;

    Cursor(const AttributePlan& p, bool firstCopy, std::size_t from)
        : plan(p), first(firstCopy), at(p.after(from)) {
        line = at < plan.prefixes.size() ? plan.prefixes[at].line : SIZE_MAX;
    }
    // Before the element line l.
    void put(OutputBuffer& out, std::size_t l) {
        if (l != line) return;
        const AttributePlan::Prefix& prefix = plan.prefixes[at++];
        const AttributePlan::Change& change = plan.changes[first ? prefix.first : prefix.later];
        if (change.length > 0)
            putBytes(out, std::string_view(plan.bytes).substr(change.offset, change.length));
        line = at < plan.prefixes.size() ? plan.prefixes[at].line : SIZE_MAX;
    }
};

namespace {

// Item i of a kind of one line an item; a circle or arc scaled already where scaled is given.
template <class Kind>
bool putListed(Kind, const Figure& f, OutputBuffer& out, const Matrix3& m, const CopyStep& step,
               std::size_t i, const ScaledArcs* scaled) {
    if constexpr (std::is_same_v<Kind, CircleKind>)
        if (scaled) return putItem(out, m, step, f.circles[i], (*scaled)[i]);
    return putItem(out, m, step, Kind::list(f)[i]);
}

// Writing the lines of items, wherever they stand: in their kind's place or in a group.
struct ItemWriter {
    const CopyLayout& layout;
    OutputBuffer& out;
    const Matrix3& m;
    const CopyStep& step;
    CopyLayout::Cursor& cursor;
    bool blocks;  // block references go into this copy
    const ScaledArcs* scaled;

    // Lines [from, to) of item i of kind k, whose first line is `line`.
    bool put(std::size_t k, std::size_t i, std::size_t line, std::size_t from, std::size_t to) {
        const Figure& f = layout.figure;
        if (k == kPolyline) return putPolyline(f.polylines[i], line, from, to);
        if (isGroupKind(k)) return putGroup(k, groupsOf(f, k)[i], line, from, to);
        cursor.put(out, line);
        bool ok = true;
        ElementKinds::each([&](auto kind) {
            using Kind = decltype(kind);
            if constexpr (Kind::kLinesEach == 1)
                if (ElementKinds::index<Kind>() == k)
                    ok = putListed(kind, f, out, m, step, i, scaled);
        });
        return ok;
    }

    bool putPolyline(const PolylineItem& p, std::size_t line, std::size_t from, std::size_t to) {
        const std::size_t n = p.segments.size();
        for (std::size_t l = from; l < to; ++l) {
            if (l == 0) {
                cursor.put(out, line);
                putTag(out, PolylineKind::tag);
            } else if (l <= n) {
                cursor.put(out, line + l);
                if (!putItem(out, m, step, p.segments[l - 1])) return false;
            } else {
                putTag(out, PolylineKind::endTag);
            }
        }
        return true;
    }

    bool putGroup(std::size_t k, const GroupItem& g, std::size_t line, std::size_t from,
                  std::size_t to) {
        const std::size_t lines = layout.groupLines[k][&g - groupsOf(layout.figure, k).data()];
        // A copy without the block still has its attribute lines: the host's settings after it
        // are the copy's whatever it turns.
        const bool written = k == kDimension || blocks;
        if (from == 0) {
            cursor.put(out, line);
            if (written && !(k == kDimension ? putDimensionHead(out) : putBlockHead(out, m, g)))
                return false;
        }
        std::size_t at = 1;
        bool ok = true;
        eachMember(g, [&](std::size_t kk, std::size_t ii) {
            const std::size_t n = layout.itemLines(kk, ii);
            if (ok && at + n > from && at < to) {
                const std::size_t a = from > at ? from - at : 0;
                const std::size_t b = std::min(to - at, n);
                if (written) {
                    ok = put(kk, ii, line + at, a, b);
                } else {
                    // Every line but a polyline's "#" may carry attribute lines.
                    const std::size_t last = kk == kPolyline ? std::min(b, n - 1) : b;
                    for (std::size_t l = a; l < last; ++l) cursor.put(out, line + at + l);
                }
            }
            at += n;
        });
        if (ok && written && to == lines) putTag(out, PolylineKind::endTag);
        return ok;
    }
};

}  // namespace

std::size_t CopyLayout::itemLines(std::size_t k, std::size_t i) const {
    if (k == kPolyline) return figure.polylines[i].segments.size() + 2;
    if (isGroupKind(k)) return groupLines[k][i];
    return 1;
}

CopyLayout::CopyLayout(const Figure& f, bool anyStart, bool keepAttributes)
    : figure(f), keep(keepAttributes) {
    // With the attributes, a group's elements are written in the group: in their kinds, the
    // items of every group are left out.
    std::vector<std::pair<std::size_t, std::size_t>> grouped[kKinds];
    if (keep) {
        for (std::size_t gk : {kDimension, kBlock}) {
            for (const GroupItem& g : groupsOf(f, gk)) {
                std::size_t count[kKinds] = {};
                for (uint8_t k : g.order) ++count[k];
                for (std::size_t k = 0; k < kKinds; ++k)
                    if (count[k] > 0) grouped[k].push_back({g.first[k], g.first[k] + count[k]});
            }
        }
    }
    std::size_t at = 0;
    ElementKinds::each([&](auto kind) {
        using Kind = decltype(kind);
        constexpr std::size_t k = ElementKinds::index<Kind>();
        firstLine[k] = at;
        if (Kind::kOptional && !keep) return;
        const auto& list = Kind::list(f);
        allOwn[k] = grouped[k].empty();
        if (!allOwn[k]) {
            std::sort(grouped[k].begin(), grouped[k].end());
            std::size_t next = 0;
            for (const auto& [first, last] : grouped[k]) {
                for (; next < first; ++next) own[k].push_back(next);
                next = std::max(next, last);
            }
            for (; next < list.size(); ++next) own[k].push_back(next);
        }
        if constexpr (std::is_same_v<typename Kind::Item, GroupItem>) {
            groupLines[k].reserve(list.size());
            for (const GroupItem& g : list) {
                std::size_t lines = 2;
                eachMember(g, [&](std::size_t kk, std::size_t ii) { lines += itemLines(kk, ii); });
                groupLines[k].push_back(g.known ? lines : 0);
            }
        }
        const std::size_t count = allOwn[k] ? list.size() : own[k].size();
        ownItems[k] = count;
        if constexpr (Kind::kLinesEach == 1) {
            at += count;
        } else {
            if (anyStart) itemStart[k].reserve(count);
            for (std::size_t n = 0; n < count; ++n) {
                if (anyStart) itemStart[k].push_back(at - firstLine[k]);
                at += itemLines(k, allOwn[k] ? n : own[k][n]);
            }
        }
    });
    firstLine[kKinds] = at;
    perCopy = at;
    stringBytesBefore.push_back(0);
    if (!keep) return;
    eachWritten(*this, [&](std::size_t k, std::size_t i, std::size_t line) {
        std::size_t bytes = 0;
        if (k == ElementKinds::index<TextKind>()) bytes = f.texts[i].string.size();
        if (k == ElementKinds::index<MarkerKind>()) bytes = f.markers[i].rest.size();
        if (k == kBlock) bytes = f.blocks[i].name.size();
        if (bytes == 0) return;
        stringLines.push_back(line);
        stringBytesBefore.push_back(stringBytesBefore.back() + bytes);
    });
}

std::size_t CopyLayout::stringBytesBeforeLine(std::size_t line) const {
    const auto at = std::lower_bound(stringLines.begin(), stringLines.end(), line);
    return stringBytesBefore[static_cast<std::size_t>(at - stringLines.begin())];
}

std::size_t CopyLayout::estimatedBytes(std::size_t from, std::size_t to) const {
    if (perCopy == 0) return 0;
    auto before = [&](std::size_t g) {
        return g / perCopy * stringBytesBefore.back() + stringBytesBeforeLine(g % perCopy);
    };
    return (to - from) * kUsualLineBytes + before(to) - before(from);
}

void CopyLayout::planArcs(const CopyParameters& params) {
    arcs.clear();
    if (params.copies < 2 || figure.circles.empty()) return;
    // The same scales in the first two copies are the same in every copy: only 0 and 1 (and
    // what is not finite) are their own squares, and so every power of themselves.
    CopySteps steps(params);
    const CopyStep first = steps.next(), second = steps.next();
    if (!sameBits(first.scaleX, second.scaleX) || !sameBits(first.scaleY, second.scaleY)) return;
    arcs.plan(figure.circles, first.scaleX, first.scaleY);
}

void CopyLayout::scaleArcs(std::size_t from, std::size_t to) {
    arcs.fill(figure.circles, from, to);
}

void CopyLayout::planAttributes() {
    if (keep && figure.attributes.any()) makeAttributePlan(*this, plan);
}

void CopyLayout::finish(OutputBuffer& out, int copies) const {
    if (copies > 0) putBytes(out, plan.restore);
}

bool CopyLayout::put(OutputBuffer& out, const Matrix3& m, const CopyStep& step, std::size_t from,
                     std::size_t to) const {
    Cursor cursor(plan, step.k == 1, from);
    const ScaledArcs* scaled = nullptr;
    if (!arcs.empty() && sameBits(step.scaleX, arcs.scaleX) && sameBits(step.scaleY, arcs.scaleY))
        scaled = &arcs;
    return !ElementKinds::any(
        [&](auto kind) { return !putKind(kind, out, m, step, from, to, cursor, scaled); });
}

template <class Kind>
bool CopyLayout::putKind(Kind, OutputBuffer& out, const Matrix3& m, const CopyStep& step,
                         std::size_t from, std::size_t to, Cursor& cursor,
                         const ScaledArcs* scaled) const {
    constexpr std::size_t k = ElementKinds::index<Kind>();
    const std::size_t begin = firstLine[k], end = firstLine[k + 1];
    if (from >= end || to <= begin) return true;
    from = from > begin ? from - begin : 0;
    to = (to < end ? to : end) - begin;
    if constexpr (Kind::kLinesEach == 1) {
        // The usual case, a line an item: no lookups.
        for (std::size_t n = from; n < to; ++n) {
            cursor.put(out, begin + n);
            if (!putListed(Kind{}, figure, out, m, step, allOwn[k] ? n : own[k][n], scaled))
                return false;
        }
    } else {
        ItemWriter writer{*this, out, m, step, cursor, movesOnly(step), scaled};
        const std::size_t count = ownItems[k];
        std::size_t n = 0, start = 0;
        if (from > 0) {
            const std::vector<std::size_t>& starts = itemStart[k];
            n = static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), from) -
                                         starts.begin()) -
                1;
            start = starts[n];
        }
        for (; n < count && start < to; ++n) {
            const std::size_t i = allOwn[k] ? n : own[k][n];
            const std::size_t lines = itemLines(k, i);
            if (lines > 0 && !writer.put(k, i, begin + start, from > start ? from - start : 0,
                                         std::min(to - start, lines)))
                return false;
            start += lines;
        }
    }
    return true;
}
