#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The attribute lines the copies carry: before an element, the line of every key whose value
// differs from what the host has at that point. The host's state before an element is the
// same in every copy but the first (which starts from the header's write settings), so each
// element needs at most two prefixes, found once for all copies; most are empty.
struct AttributePlan {
    struct Prefix {
        std::size_t line = 0;  // the element's first line within a copy
        // The lines in bytes: [first, first + firstLength) for the first copy, then the later.
        std::size_t first = 0, later = 0;
        uint32_t firstLength = 0, laterLength = 0;
    };
    std::vector<Prefix> prefixes;  // by line
    std::string bytes;             // one buffer for all of them: no allocation per element
    std::string restore;           // after the last copy: the header's value of every key changed

    // The next prefix at or after line.
    std::size_t after(std::size_t line) const {
        return static_cast<std::size_t>(
            std::lower_bound(prefixes.begin(), prefixes.end(), line,
                             [](const Prefix& p, std::size_t l) { return p.line < l; }) -
            prefixes.begin());
    }
};
