#pragma once

#include <cstddef>
#include <vector>

#include "figure/figure.h"
#include "figure/point2.h"

// The outlines the preview draws the figure's arcs with, sampled once from their numbers: arc
// i's points are points[start[i]] up to points[start[i + 1]]. A three-number circle's outline
// is a multiply and an add per coordinate from a table, cheaper to sample where it is drawn
// than to read back from memory for every copy, so none is kept for it.
struct FigureOutlines {
    // threads: as workerThreads takes it.
    void build(const Figure& figure, int threads = 0);

    // The outline of circle i (the figure's circle c): kept points, or those of a three-number
    // circle sampled into room (kMaxOutlinePoints); count is how many.
    const Point2* of(std::size_t i, const CircleItem& c, Point2* room, std::size_t& count) const;

    std::vector<std::size_t> start;
    std::vector<Point2> points;
};
