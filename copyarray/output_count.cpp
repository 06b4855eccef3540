#include "copyarray/output_count.h"

int64_t elementsPerCopy(const Figure& figure) {
    int64_t n = static_cast<int64_t>(figure.lines.size()) +
                static_cast<int64_t>(figure.points.size()) +
                static_cast<int64_t>(figure.circles.size());
    for (const PolylineItem& polyline : figure.polylines)
        n += static_cast<int64_t>(polyline.segments.size());
    return n;
}

OutputCount outputCount(int64_t perCopy, const CopyParameters& params) {
    OutputCount count;
    count.copies = params.copies > 0 ? params.copies : 0;
    // At most kMaxCopies times what fits in memory: far inside 64 bits.
    count.elements = count.copies * perCopy;
    return count;
}
