#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "figure/figure.h"

struct AttributeStateHash {
    std::size_t operator()(const AttributeState& s) const {
        uint64_t h = 0;
        for (uint32_t l : s.line) h = (h ^ l) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

// The attribute lines and states of a figure as they are read: each distinct one stored once.
// A line sets the state now; the state is stored only when an element asks for it, so a file
// that sets many keys before each element pays for one state an element, not one a line.
struct AttributeTable {
    explicit AttributeTable(Attributes& target) : attributes(target) {}

    // The state now is `now` with the key set to the line.
    void set(AttributeKey key, std::string_view line);
    // The index of the state now. Inline: every element asks.
    uint32_t current() { return changed ? storeNow() : stored; }
    // The index of the state now is `state`.
    void setCurrent(uint32_t state);

    uint32_t internLine(std::string_view line);
    uint32_t internState(const AttributeState& state);

    Attributes& attributes;
    bool headerDone = false;  // an element or a "#" has been read

  private:
    uint32_t storeNow();

    AttributeState now;
    uint32_t stored = 0;   // the index of `now`, unless changed
    bool changed = false;  // `now` differs from the stored state
    std::string lookup;    // reused for lookups, so a known line costs no allocation
    std::unordered_map<std::string, uint32_t> lineIndex;
    std::unordered_map<AttributeState, uint32_t, AttributeStateHash> stateIndex;
};

// A run from item `first` on; a run at the same item replaces the one there.
void pushRun(std::vector<StateRun>& runs, std::size_t first, uint32_t state);
