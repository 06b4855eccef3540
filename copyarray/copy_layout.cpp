#include "copyarray/copy_layout.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "copyarray/element_lines.h"

namespace {

// The lines that bring the host from `host` to state s: every key s knows and the host has
// otherwise.
void changeTo(const Attributes& a, const AttributeState& s, AttributeState& host,
              std::string& lines) {
    lines.clear();
    for (int k = 0; k < kAttributeKeys; ++k) {
        if (s.line[k] == kUnknownLine || s.line[k] == host.line[k]) continue;
        host.line[k] = s.line[k];
        lines += a.lines[s.line[k]];
        lines += "\r\n";
    }
}

// Two passes over the elements of a copy: the first copy's, from the header's settings, and
// every later copy's, from where the one before left the host.
void makePlan(const CopyLayout& layout, AttributePlan& plan) {
    const Figure& figure = layout.figure;
    const Attributes& a = figure.attributes;
    const AttributeState& header = a.states[a.header];
    AttributeState host = header;
    std::string lines;
    for (int pass = 0; pass < 2; ++pass) {
        std::size_t at = 0;  // index in plan.prefixes, in the second pass
        uint32_t previous = kUnknownLine;
        ElementKinds::each([&](auto kind) {
            using Kind = decltype(kind);
            constexpr std::size_t k = ElementKinds::index<Kind>();
            if (Kind::kOptional && !layout.keep) return;
            const std::vector<StateRun>& runs = a.runs[k];
            std::size_t run = 0, line = layout.firstLine[k];
            uint32_t state = 0;
            const auto& list = Kind::list(figure);
            for (std::size_t i = 0; i < list.size(); line += Kind::lines(list[i]), ++i) {
                while (run < runs.size() && runs[run].first <= i) state = runs[run++].state;
                // The host already has all an element's state that the one before had.
                if (state == previous) continue;
                previous = state;
                changeTo(a, a.states[state], host, lines);
                const std::size_t offset = plan.bytes.size();
                const uint32_t length = static_cast<uint32_t>(lines.size());
                plan.bytes += lines;
                if (pass == 0) {
                    if (length > 0) plan.prefixes.push_back({line, offset, 0, length, 0});
                    continue;
                }
                while (at < plan.prefixes.size() && plan.prefixes[at].line < line) ++at;
                if (at < plan.prefixes.size() && plan.prefixes[at].line == line) {
                    plan.prefixes[at].later = offset;
                    plan.prefixes[at].laterLength = length;
                } else if (length > 0) {
                    plan.prefixes.insert(plan.prefixes.begin() + static_cast<std::ptrdiff_t>(at),
                                         {line, 0, offset, 0, length});
                }
            }
        });
    }
    for (int k = 0; k < kAttributeKeys; ++k)
        if (header.line[k] != kUnknownLine && host.line[k] != header.line[k]) {
            plan.restore += a.lines[header.line[k]];
            plan.restore += "\r\n";
        }
}

}  // namespace

CopyLayout::CopyLayout(const Figure& f, bool anyStart, bool keepAttributes)
    : figure(f), keep(keepAttributes) {
    std::size_t at = 0;
    ElementKinds::each([&](auto kind) {
        using Kind = decltype(kind);
        static_assert(Kind::kLinesEach <= 1, "an item of fixed lines writes one");
        constexpr std::size_t k = ElementKinds::index<Kind>();
        firstLine[k] = at;
        if (Kind::kOptional && !keep) return;
        const auto& list = Kind::list(f);
        if constexpr (Kind::kLinesEach == 1) {
            at += list.size();
        } else {
            if (anyStart) itemStart[k].reserve(list.size());
            for (const typename Kind::Item& item : list) {
                if (anyStart) itemStart[k].push_back(at - firstLine[k]);
                at += Kind::lines(item);
            }
        }
    });
    firstLine[kKinds] = at;
    perCopy = at;
}

void CopyLayout::planAttributes() {
    if (keep && figure.attributes.any()) makePlan(*this, plan);
}

void CopyLayout::finish(OutputBuffer& out, int copies) const {
    if (copies > 0) putBytes(out, plan.restore);
}

// Where the attribute lines of a run of lines stand: the next prefix and its line.
struct CopyLayout::Cursor {
    const AttributePlan& plan;
    bool first;  // the first copy
    std::size_t at;
    std::size_t line;

    Cursor(const AttributePlan& p, bool firstCopy, std::size_t from)
        : plan(p), first(firstCopy), at(p.after(from)) {
        line = at < plan.prefixes.size() ? plan.prefixes[at].line : SIZE_MAX;
    }
    // Before the element whose first line is l.
    void put(OutputBuffer& out, std::size_t l) {
        if (l != line) return;
        const AttributePlan::Prefix& prefix = plan.prefixes[at++];
        const std::size_t length = first ? prefix.firstLength : prefix.laterLength;
        if (length > 0)
            putBytes(
                out,
                std::string_view(plan.bytes).substr(first ? prefix.first : prefix.later, length));
        line = at < plan.prefixes.size() ? plan.prefixes[at].line : SIZE_MAX;
    }
};

bool CopyLayout::put(OutputBuffer& out, const Matrix3& m, const CopyStep& step, std::size_t from,
                     std::size_t to) const {
    Cursor cursor(plan, step.k == 1, from);
    return !ElementKinds::any(
        [&](auto kind) { return !putKind(kind, out, m, step, from, to, cursor); });
}

template <class Kind>
bool CopyLayout::putKind(Kind, OutputBuffer& out, const Matrix3& m, const CopyStep& step,
                         std::size_t from, std::size_t to, Cursor& cursor) const {
    constexpr std::size_t k = ElementKinds::index<Kind>();
    const std::size_t begin = firstLine[k], end = firstLine[k + 1];
    if (from >= end || to <= begin) return true;
    from = from > begin ? from - begin : 0;
    to = (to < end ? to : end) - begin;
    const auto& list = Kind::list(figure);
    if constexpr (Kind::kLinesEach == 1) {
        for (std::size_t i = from; i < to; ++i) {
            cursor.put(out, begin + i);
            if (!putItem(out, m, step, list[i])) return false;
        }
    } else {
        std::size_t i = 0, start = 0;
        if (from > 0) {
            const std::vector<std::size_t>& starts = itemStart[k];
            i = static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), from) -
                                         starts.begin()) -
                1;
            start = starts[i];
        }
        for (; start < to; ++i) {
            const std::size_t n = Kind::lines(list[i]);
            if (from <= start) cursor.put(out, begin + start);
            if (!putItemLines(out, m, step, list[i], from > start ? from - start : 0,
                              to - start < n ? to - start : n))
                return false;
            start += n;
        }
    }
    return true;
}
