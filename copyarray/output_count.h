#pragma once

#include <cstddef>
#include <cstdint>

#include "copyarray/copy_array.h"
#include "figure/figure.h"

// What the completion would write now: the copies and the elements over all of them.
struct OutputCount {
    int copies = 0;        // the clamped count; 0 when the count is 0 or less
    int64_t elements = 0;  // copies x (segments + polyline segments + points + circles and arcs)
    double bytes = 0.0;    // about what they take in the file, where that is worth a word

    bool operator==(const OutputCount& o) const {
        return copies == o.copies && elements == o.elements && bytes == o.bytes;
    }
    bool operator!=(const OutputCount& o) const { return !(*this == o); }
};

// Segments, polyline segments, points, circles and arcs: the elements one copy writes; with
// withTexts (the copies keep the attributes) the texts too.
int64_t elementsPerCopy(const Figure& figure, bool withTexts = false);

// The texts of the figure: what one copy leaves out without the attributes.
int64_t textsPerCopy(const Figure& figure);

OutputCount outputCount(int64_t perCopy, const CopyParameters& params);

// The box around a set of points (x, y) of the figure and the points that reach its sides:
// enough to tell, for a copy's matrix, whether any point of the set lands beyond the doubles.
struct PointReach {
    struct Side {
        double x = 0.0, y = 0.0;
        std::size_t item = 0;  // for the texts: which one
    };
    bool any = false;
    bool notFinite = false;  // a number of the set is not finite: every copy writes it so
    double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;
    Side side[4];  // at minX, maxX, minY and maxY
};

// What the figure's written numbers come from, for the verdicts below. Computed once per figure.
struct FigureReach {
    PointReach points;       // end points, vertices, points, circle centres
    PointReach textPoints;   // the texts' start points: written only with the attributes
    PointReach textVectors;  // the texts' (dx, dy)
    // The solids' corners, the markers and the block references' insertion points: written
    // only with the attributes, as points.
    PointReach optionalPoints;
    bool textTooLong = false;  // a text whose length is not finite: no copy can write it
    double arcSize = 0.0;      // radius times (1 + |ratio|)
    double angle = 0.0;        // start, end and tilt of circles and arcs
    bool circles = false;
    // With the attributes, some copies leave elements out: those of the block references in
    // the copies that turn or scale, those of dimensions of another shape in all.
    bool blocks = false;
    bool unknownGroups = false;
    CircleItem largestArc;   // the circle or arc of the largest arcSize
    CircleItem widestAngle;  // the one of the largest angle
};

FigureReach figureReach(const Figure& figure);

// Whether the completion would write the copies: the writer's verdict (false where it gives
// WriteError::notRepresentable, a number to be written not finite), or unknown.
enum class WriteVerdict { writes, refuses, unknown };

// The verdict at a bounded cost: a bound over all copies decides the usual case at once; else
// each copy is decided from the figure's reach, and only copies that stays undecided on are
// checked element by element, up to `budget` elements in all; beyond that, unknown. The texts
// count only when the copies keep them.
WriteVerdict writeVerdict(const Figure& figure, const FigureReach& reach, const CopyArray& copies,
                          const CopyParameters& params, std::size_t budget);

// Elements a verdict may check one by one on each change: a few milliseconds.
constexpr std::size_t kVerdictBudget = 100000;

// The verdict however long it takes: true unless the writer would refuse.
bool copiesRepresentable(const Figure& figure, const FigureReach& reach, const CopyArray& copies,
                         const CopyParameters& params);
bool copiesRepresentable(const Figure& figure, const CopyArray& copies,
                         const CopyParameters& params);
