#include "copyarray/records_left_out.h"

#include <algorithm>

#include "figure/element_kinds.h"

namespace {

std::size_t known(const std::vector<GroupItem>& groups) {
    return static_cast<std::size_t>(
        std::count_if(groups.begin(), groups.end(), [](const GroupItem& g) { return g.known; }));
}

}  // namespace

RecordTally::RecordTally(const Figure& figure) {
    std::size_t texts[TextKind::kTags.size()] = {};
    for (const TextItem& t : figure.texts) ++texts[TextKind::kTags.find(t.tag[1])];
    for (std::size_t i = 0; i < TextKind::kTags.size(); ++i)
        if (texts[i] > 0) optional.push_back({std::string{'c', TextKind::kTags[i]}, texts[i]});
    if (!figure.solids.empty()) optional.push_back({"sl", figure.solids.size()});
    if (!figure.markers.empty()) optional.push_back({"pt", figure.markers.size()});
    if (const std::size_t n = known(figure.dimensions)) optional.push_back({"msg", n});
    blocks = known(figure.blocks);
    for (const GroupItem& g : figure.blocks) {
        if (!g.known) continue;
        eachMember(g, [&](std::size_t k, std::size_t i) {
            ElementKinds::each([&](auto kind) {
                using Kind = decltype(kind);
                if (ElementKinds::index<Kind>() == k)
                    blockElements += Kind::elements(Kind::list(figure)[i]);
            });
        });
        blockElements += 1;
    }
    if (blocks > 0) optional.push_back({"BL", blocks});
    for (LeftOut& left : optional) left.why = LeftOut::notKept;
    for (const RecordCount& c : figure.uncopied) never.push_back({c.tag, c.count});
}

std::vector<LeftOut> recordsLeftOut(const RecordTally& tally, const CopyParameters& params) {
    std::vector<LeftOut> out;
    if (params.copies <= 0) return out;  // nothing is copied, nothing left out of a copy
    if (!params.keepAttributes) {
        out = tally.optional;
    } else if (tally.blocks > 0 && movesOnlyCopies(params) < params.copies) {
        out.push_back({"BL", tally.blocks, LeftOut::turnedCopies});
    }
    out.insert(out.end(), tally.never.begin(), tally.never.end());
    return out;
}

int movesOnlyCopies(const CopyParameters& params) {
    const int copies = params.copies > 0 ? params.copies : 0;
    // Copy k turns by k * angle and scales by scale^k, which is 1 only for 1, and for -1 when k
    // is even.
    auto unit = [](double s) { return s == 1.0 || s == -1.0; };
    if (params.angle != 0.0 || !unit(params.scaleX) || !unit(params.scaleY)) return 0;
    return params.scaleX == 1.0 && params.scaleY == 1.0 ? copies : copies / 2;
}
