#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "figure/figure.h"

struct AttributeStateHash {
    std::size_t operator()(const AttributeState& s) const {
        std::size_t h = 0;
        for (uint32_t l : s.line) h = h * 1000003u ^ l;
        return h;
    }
};

// The attribute lines and states of a figure as they are read: each distinct one stored once.
struct AttributeTable {
    explicit AttributeTable(Attributes& target) : attributes(target) {}

    uint32_t internLine(std::string_view line);
    uint32_t internState(const AttributeState& state);

    Attributes& attributes;
    uint32_t current = 0;     // the state in effect now
    bool headerDone = false;  // an element or a "#" has been read

  private:
    std::unordered_map<std::string, uint32_t> lineIndex;
    std::unordered_map<AttributeState, uint32_t, AttributeStateHash> stateIndex;
};

// A run from item `first` on; a run at the same item replaces the one there.
void pushRun(std::vector<StateRun>& runs, std::size_t first, uint32_t state);
