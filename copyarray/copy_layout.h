#pragma once

#include <cstddef>
#include <vector>

#include "copyarray/attribute_plan.h"
#include "copyarray/copy_array.h"
#include "copyarray/line_output.h"
#include "figure/element_kinds.h"
#include "figure/figure.h"
#include "figure/matrix3.h"

// The lines of one copy, in the order the file holds them, numbered from 0; lines number on
// across all copies, copy after copy, so a run of lines may start or end anywhere, even inside
// a polyline.
struct CopyLayout {
    static constexpr std::size_t kKinds = ElementKinds::count;

    // anyStart: runs of lines may be asked for from any line (the parallel writer), not only
    // from a copy's first. keepAttributes: the attribute lines and the optional kinds.
    CopyLayout(const Figure& f, bool anyStart, bool keepAttributes);

    // The attribute lines to write, when they are kept: only for a layout that writes.
    void planAttributes();
    // Writes lines [from, to) of the copy with matrix m and step (from > 0 only for a layout
    // made with anyStart); false at a number that is not finite.
    bool put(OutputBuffer& out, const Matrix3& m, const CopyStep& step, std::size_t from,
             std::size_t to) const;
    // The lines of the attributes, kept or not, after the last copy.
    void finish(OutputBuffer& out, int copies) const;

    const Figure& figure;
    bool keep = false;
    AttributePlan plan;
    std::size_t firstLine[kKinds + 1] = {};  // where each kind's lines begin in a copy
    // Where each item's lines begin within its kind, for the kinds whose items differ in
    // lines; only for a layout that is asked for runs starting anywhere.
    std::vector<std::size_t> itemStart[kKinds];
    std::size_t perCopy = 0;

  private:
    struct Cursor;
    template <class Kind>
    bool putKind(Kind, OutputBuffer& out, const Matrix3& m, const CopyStep& step, std::size_t from,
                 std::size_t to, Cursor& cursor) const;
};
