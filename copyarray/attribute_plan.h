#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CopyLayout;

// The attribute lines the copies carry: before an element, the line of every key whose value
// differs from what the host has at that point. The host's state before an element is the
// same in every copy but the first (which starts from the header's write settings), so each
// element needs at most two prefixes, found once for all copies; most are empty.
struct AttributePlan {
    // A run of attribute lines in `bytes`; changes[0] is the empty one.
    struct Change {
        std::size_t offset = 0;
        uint32_t length = 0;
    };
    struct Prefix {
        std::size_t line = 0;  // the element's first line within a copy
        uint32_t first = 0;    // the change before it in the first copy
        uint32_t later = 0;    // and in every later copy
    };
    std::vector<Prefix> prefixes;  // by line
    // Each distinct run of lines once: elements that alternate between a few states share them.
    std::vector<Change> changes{Change()};
    std::string bytes;
    std::string restore;  // after the last copy: the header's value of every key changed

    // The next prefix at or after line.
    std::size_t after(std::size_t line) const {
        return static_cast<std::size_t>(
            std::lower_bound(prefixes.begin(), prefixes.end(), line,
                             [](const Prefix& p, std::size_t l) { return p.line < l; }) -
            prefixes.begin());
    }
};

// The plan of a layout that keeps the attributes, for its figure's attribute states.
void makeAttributePlan(const CopyLayout& layout, AttributePlan& plan);
