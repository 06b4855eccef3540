#include "figure/attribute_table.h"

void AttributeTable::set(AttributeKey key, std::string_view line) {
    const uint32_t index = internLine(line);
    if (now.line[key] == index) return;
    now.line[key] = index;
    changed = true;
}

uint32_t AttributeTable::storeNow() {
    stored = internState(now);
    changed = false;
    return stored;
}

void AttributeTable::setCurrent(uint32_t state) {
    now = attributes.states[state];
    stored = state;
    changed = false;
}

uint32_t AttributeTable::internLine(std::string_view line) {
    lookup.assign(line.data(), line.size());
    const auto found = lineIndex.find(lookup);
    if (found != lineIndex.end()) return found->second;
    const uint32_t index = static_cast<uint32_t>(attributes.lines.size());
    attributes.lines.emplace_back(line);
    lineIndex.emplace(lookup, index);
    return index;
}

uint32_t AttributeTable::internState(const AttributeState& state) {
    if (stateIndex.empty()) stateIndex.emplace(attributes.states[0], 0);
    const auto found = stateIndex.find(state);
    if (found != stateIndex.end()) return found->second;
    const uint32_t index = static_cast<uint32_t>(attributes.states.size());
    attributes.states.push_back(state);
    stateIndex.emplace(state, index);
    return index;
}

void pushRun(std::vector<StateRun>& runs, std::size_t first, uint32_t state) {
    if (!runs.empty() && runs.back().first == first)
        runs.back().state = state;
    else
        runs.push_back({first, state});
}
