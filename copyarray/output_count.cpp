#include "copyarray/output_count.h"

#include "figure/element_kinds.h"

int64_t elementsPerCopy(const Figure& figure) {
    return static_cast<int64_t>(copyWeights(figure).elements);
}

OutputCount outputCount(int64_t perCopy, const CopyParameters& params) {
    OutputCount count;
    count.copies = params.copies > 0 ? params.copies : 0;
    // At most kMaxCopies times what fits in memory: far inside 64 bits.
    count.elements = count.copies * perCopy;
    return count;
}
