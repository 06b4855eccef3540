#include "copyarray/attribute_plan.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "copyarray/copy_layout.h"
#include "copyarray/layout_walk.h"
#include "figure/attribute_table.h"

using namespace layout_walk;

namespace {

// The states of items: that of item i of the kind with index k is the last run at or before
// it. Asked in writing order, which mostly rises within a kind, so the run found last and the
// one after it are tried before a search.
struct StateFinder {
    const Attributes& a;
    std::size_t at[kFigureKinds] = {};

    uint32_t operator()(std::size_t k, std::size_t i) {
        const std::vector<StateRun>& runs = a.runs[k];
        std::size_t& r = at[k];
        for (std::size_t near = r; near < runs.size() && near < r + 2; ++near)
            if (runs[near].first <= i && (near + 1 == runs.size() || i < runs[near + 1].first))
                return runs[r = near].state;
        const auto after = std::upper_bound(
            runs.begin(), runs.end(), i,
            [](std::size_t item, const StateRun& run) { return item < run.first; });
        if (after == runs.begin()) return 0;
        r = static_cast<std::size_t>(after - 1 - runs.begin());
        return runs[r].state;
    }
};

// What brings the host from `host` to state s: the line of every key s knows and the host has
// otherwise (kUnknownLine for the others), which the host then has.
AttributeState changeTo(const AttributeState& s, AttributeState& host) {
    AttributeState change;
    for (int k = 0; k < kAttributeKeys; ++k) {
        if (s.line[k] == kUnknownLine || s.line[k] == host.line[k]) continue;
        host.line[k] = s.line[k];
        change.line[k] = s.line[k];
    }
    return change;
}

// Every element line of a copy with the attribute state it has, in writing order.
template <class Visit>
void eachLineState(const CopyLayout& layout, Visit&& visit) {
    const Figure& f = layout.figure;
    StateFinder stateOf{f.attributes};
    eachWritten(layout, [&](std::size_t k, std::size_t i, std::size_t line) {
        const uint32_t state = stateOf(k, i);
        visit(line, state);
        if (k != kPolyline) return;
        const PolylineItem& p = f.polylines[i];
        std::size_t run = 0;
        uint32_t s = state;
        for (std::size_t j = 0; j < p.segments.size(); ++j) {
            while (run < p.runs.size() && p.runs[run].first <= j) s = p.runs[run++].state;
            visit(line + 1 + j, s);
        }
    });
}

}  // namespace

// The first copy starts from the header's settings, every later one from where the copy before
// it left the host: a walk to find that, then one to plan both.
void makeAttributePlan(const CopyLayout& layout, AttributePlan& plan) {
    const Attributes& a = layout.figure.attributes;
    const AttributeState& header = a.states[a.header];
    // One walk finds where the state changes; the host already has all a line's state that
    // the one before had.
    struct StateChange {
        std::size_t line;
        uint32_t state;
    };
    std::vector<StateChange> changes;
    uint32_t previous = kUnknownLine;
    eachLineState(layout, [&](std::size_t line, uint32_t state) {
        if (state == previous) return;
        previous = state;
        changes.push_back({line, state});
    });
    AttributeState first = header, later = header;
    for (const StateChange& c : changes) changeTo(a.states[c.state], later);
    // A change is known by its lines' indices, and its text made once: each distinct line is
    // stored once, so equal indices are equal texts.
    const AttributeState none;
    std::unordered_map<AttributeState, uint32_t, AttributeStateHash> known;
    auto intern = [&](const AttributeState& change) -> uint32_t {
        if (change == none) return 0;
        const auto [at, added] =
            known.try_emplace(change, static_cast<uint32_t>(plan.changes.size()));
        if (added) {
            const std::size_t offset = plan.bytes.size();
            for (uint32_t l : change.line) {
                if (l == kUnknownLine) continue;
                plan.bytes += a.lines[l];
                plan.bytes += "\r\n";
            }
            plan.changes.push_back({offset, static_cast<uint32_t>(plan.bytes.size() - offset)});
        }
        return at->second;
    };
    for (const StateChange& c : changes) {
        const AttributeState firstChange = changeTo(a.states[c.state], first);
        const AttributeState laterChange = changeTo(a.states[c.state], later);
        if (!(firstChange == none) || !(laterChange == none))
            plan.prefixes.push_back({c.line, intern(firstChange), intern(laterChange)});
    }
    for (int k = 0; k < kAttributeKeys; ++k)
        if (header.line[k] != kUnknownLine && later.line[k] != header.line[k]) {
            plan.restore += a.lines[header.line[k]];
            plan.restore += "\r\n";
        }
}
