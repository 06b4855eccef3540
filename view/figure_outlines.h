#pragma once

#include <cstddef>
#include <vector>

#include "figure/figure.h"
#include "figure/point2.h"

// The outlines the preview draws the figure's circles and arcs with, sampled once from their
// numbers: circle i's points are points[start[i]] up to points[start[i + 1]].
struct FigureOutlines {
    // threads: as workerThreads takes it.
    void build(const Figure& figure, int threads = 0);

    const Point2* of(std::size_t circle) const { return points.data() + start[circle]; }
    std::size_t count(std::size_t circle) const { return start[circle + 1] - start[circle]; }

    std::vector<std::size_t> start;
    std::vector<Point2> points;
};
