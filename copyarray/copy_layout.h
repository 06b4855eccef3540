#pragma once

#include <cstddef>
#include <vector>

#include "copyarray/attribute_plan.h"
#include "copyarray/copy_array.h"
#include "copyarray/line_output.h"
#include "copyarray/scale_arc.h"
#include "figure/element_kinds.h"
#include "figure/figure.h"
#include "figure/matrix3.h"

// The lines of one copy, in the order the file holds them, numbered from 0; lines number on
// across all copies, copy after copy, so a run of lines may start or end anywhere, even inside
// a polyline or a group. Every copy has the same lines: where a copy leaves a block reference
// out (it turns or scales), the block's attribute lines still go out, so the host's settings
// after it are the same in every copy.
struct CopyLayout {
    static constexpr std::size_t kKinds = ElementKinds::count;

    // anyStart: runs of lines may be asked for from any line (the parallel writer), not only
    // from a copy's first. keepAttributes: the attribute lines and the optional kinds; the
    // elements of a group are then written in the group, not in their kinds' places.
    CopyLayout(const Figure& f, bool anyStart, bool keepAttributes);

    // The attribute lines to write, when they are kept: only for a layout that writes.
    void planAttributes();
    // Where every copy has the same scales (both 1, say), the circles and arcs are scaled once
    // for the run instead of once per copy: planArcs makes room when so, scaleArcs fills
    // [from, to) of it (from any thread, each its own range) before the first put.
    void planArcs(const CopyParameters& params);
    void scaleArcs(std::size_t from, std::size_t to);
    // Writes lines [from, to) of the copy with matrix m and step (from > 0 only for a layout
    // made with anyStart); false at a number that is not finite.
    bool put(OutputBuffer& out, const Matrix3& m, const CopyStep& step, std::size_t from,
             std::size_t to) const;
    // The lines of the attributes, kept or not, after the last copy.
    void finish(OutputBuffer& out, int copies) const;
    // The lines of item i of the kind with index k, where it is written in its kind's place.
    std::size_t itemLines(std::size_t k, std::size_t i) const;
    // The bytes lines [from, to) of the copies take, about (lines number on from copy to copy):
    // a usual line's worth each, and the strings the lines carry (texts, markers, block names).
    std::size_t estimatedBytes(std::size_t from, std::size_t to) const;
    static constexpr std::size_t kUsualLineBytes = 96;

    const Figure& figure;
    bool keep = false;
    AttributePlan plan;
    std::size_t firstLine[kKinds + 1] = {};  // where each kind's lines begin in a copy
    // The items written in their kind's place, where some are a group's (else all, in order).
    std::vector<std::size_t> own[kKinds];
    bool allOwn[kKinds] = {};
    std::size_t ownItems[kKinds] = {};  // how many (none for a kind the copies leave out)
    // Where each item's lines begin within its kind, for the kinds whose items differ in
    // lines; only for a layout that is asked for runs starting anywhere.
    std::vector<std::size_t> itemStart[kKinds];
    // The lines of each dimension and block (0 for one that is not copied).
    std::vector<std::size_t> groupLines[kKinds];
    std::size_t perCopy = 0;
    // The lines of a copy that carry strings, ascending, and the strings' bytes before each.
    std::vector<std::size_t> stringLines;
    std::vector<std::size_t> stringBytesBefore;  // one more than stringLines: all of a copy's
    std::size_t stringBytesBeforeLine(std::size_t line) const;  // within a copy
    // The circles and arcs scaled once for the run, or none.
    ScaledArcs arcs;

    struct Cursor;

  private:
    template <class Kind>
    bool putKind(Kind, OutputBuffer& out, const Matrix3& m, const CopyStep& step, std::size_t from,
                 std::size_t to, Cursor& cursor, const ScaledArcs* scaled) const;
};
