#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "copyarray/copy_layout.h"
#include "figure/element_kinds.h"
#include "figure/figure.h"

// Walks over a copy's layout, shared by the writing of its lines and the planning of its
// attribute lines.
namespace layout_walk {

constexpr std::size_t kPolyline = ElementKinds::index<PolylineKind>();
constexpr std::size_t kDimension = ElementKinds::index<DimensionKind>();
constexpr std::size_t kBlock = ElementKinds::index<BlockKind>();

inline bool isGroupKind(std::size_t k) {
    return k == kDimension || k == kBlock;
}

inline const std::vector<GroupItem>& groupsOf(const Figure& f, std::size_t k) {
    return k == kDimension ? f.dimensions : f.blocks;
}

// Every item a copy writes, with its first line, in writing order: the items in their kinds'
// places, a group's after its head line.
template <class Visit>
void eachWritten(const CopyLayout& layout, Visit&& visit) {
    const Figure& f = layout.figure;
    for (std::size_t k = 0; k < CopyLayout::kKinds; ++k) {
        std::size_t line = layout.firstLine[k];
        const std::size_t count = layout.ownItems[k];
        for (std::size_t n = 0; n < count; ++n) {
            const std::size_t i = layout.allOwn[k] ? n : layout.own[k][n];
            const std::size_t lines = layout.itemLines(k, i);
            if (lines == 0) continue;
            visit(k, i, line);
            if (isGroupKind(k)) {
                std::size_t at = line + 1;
                eachMember(groupsOf(f, k)[i], [&](std::size_t kk, std::size_t ii) {
                    visit(kk, ii, at);
                    at += layout.itemLines(kk, ii);
                });
            }
            line += lines;
        }
    }
}

}  // namespace layout_walk
