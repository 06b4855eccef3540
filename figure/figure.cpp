#include "figure/figure.h"

void Bounds::include(const Bounds& other) {
    if (other.empty) return;
    include(other.box.minX, other.box.minY);
    include(other.box.maxX, other.box.maxY);
}

Extents Figure::extents() const {
    Extents e;
    if (bounds.empty) return e;
    e.widen(bounds.box.minX, bounds.box.minY);
    e.widen(bounds.box.maxX, bounds.box.maxY);
    return e;
}

AttributeKey attributeKeyOf(std::string_view line) {
    if (line.size() < 2) return kAttributeKeys;
    if (line[0] == 'l') {
        switch (line[1]) {
            case 'g':
                return kLayerGroup;
            case 'y':
                return kLayer;
            case 'c':
                return kLineColour;
            case 't':
                return kLineType;
            case 'w':
                return kLineWidth;
            default:
                return kAttributeKeys;
        }
    }
    if (line[0] == 'c' && line[1] == 'n')
        return line.size() > 2 && line[2] == '"' ? kTextFont : kTextType;
    if (line[0] == 'p' && line[1] == 'n') return kPointType;
    return kAttributeKeys;
}

void countRecords(std::vector<RecordCount>& counts, std::string_view tag, std::size_t n) {
    for (int pass = 0; pass < 2; ++pass) {
        for (RecordCount& c : counts)
            if (c.tag == tag) {
                c.count += n;
                return;
            }
        if (counts.size() < kMostTags) break;
        tag = "...";
    }
    counts.push_back({std::string(tag), n});
}
