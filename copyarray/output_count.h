#pragma once

#include <cstdint>

#include "copyarray/copy_array.h"
#include "figure/figure.h"

// What the completion would write now: the copies and the elements over all of them.
struct OutputCount {
    int copies = 0;        // the clamped count; 0 when the count is 0 or less
    int64_t elements = 0;  // copies x (segments + polyline segments + points + circles and arcs)

    bool operator==(const OutputCount& o) const {
        return copies == o.copies && elements == o.elements;
    }
    bool operator!=(const OutputCount& o) const { return !(*this == o); }
};

// Segments, polyline segments, points, circles and arcs: the elements one copy writes; with
// withTexts (the copies keep the attributes) the texts too.
int64_t elementsPerCopy(const Figure& figure, bool withTexts = false);

// The texts of the figure: what one copy leaves out without the attributes.
int64_t textsPerCopy(const Figure& figure);

OutputCount outputCount(int64_t perCopy, const CopyParameters& params);

// The largest magnitudes the figure's written numbers come from, for copiesRepresentable.
// Computed once per figure.
struct FigureReach {
    double coordinate = 0.0;  // end points, points, circle centres, texts' points and vectors
    double arcSize = 0.0;     // radius times (1 + |ratio|)
    double angle = 0.0;       // start, end and tilt of circles and arcs
    bool circles = false;
};

FigureReach figureReach(const Figure& figure);

// Whether the completion would write the copies: exactly the writer's verdict, false where it
// gives WriteError::notRepresentable (a number to be written is not finite). Usually decided by
// a bound on every copy's matrix; only where that bound fails by the writer's checking pass.
bool copiesRepresentable(const Figure& figure, const FigureReach& reach, const CopyArray& copies,
                         const CopyParameters& params);
bool copiesRepresentable(const Figure& figure, const CopyArray& copies,
                         const CopyParameters& params);
