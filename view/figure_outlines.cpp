#include "view/figure_outlines.h"

#include "figure/outline.h"
#include "figure/workers.h"

namespace {

// Below this many circles one thread samples them as fast as several start.
constexpr std::size_t kCirclesPerThread = 20000;

}  // namespace

void FigureOutlines::build(const Figure& figure, int threads) {
    const std::vector<CircleItem>& circles = figure.circles;
    start.assign(circles.size() + 1, 0);
    for (std::size_t i = 0; i < circles.size(); ++i)
        start[i + 1] = start[i] + (circles[i].isThreeNumberCircle()
                                       ? 0
                                       : static_cast<std::size_t>(outlinePointCount(circles[i])));
    points.resize(start.back());
    std::size_t parts = static_cast<std::size_t>(workerThreads(threads));
    if (parts > circles.size() / kCirclesPerThread) parts = circles.size() / kCirclesPerThread;
    if (parts < 1) parts = 1;
    // The reader kept only circles whose every outline point is finite, so each fills its room.
    runParts(static_cast<int>(parts), [&](int part) {
        const std::size_t first = circles.size() * static_cast<std::size_t>(part) / parts;
        const std::size_t last = circles.size() * static_cast<std::size_t>(part + 1) / parts;
        for (std::size_t i = first; i < last; ++i)
            if (!circles[i].isThreeNumberCircle())
                sampleOutline(circles[i], points.data() + start[i]);
    });
}

const Point2* FigureOutlines::of(std::size_t i, const CircleItem& c, Point2* room,
                                 std::size_t& count) const {
    if (c.isThreeNumberCircle()) {
        count = static_cast<std::size_t>(sampleOutline(c, room));
        return room;
    }
    count = start[i + 1] - start[i];
    return points.data() + start[i];
}
