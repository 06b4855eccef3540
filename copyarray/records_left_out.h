#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "copyarray/copy_array.h"
#include "figure/figure.h"

// What the copies leave out of the selection, to be named: every kind of record with its tag
// and how many of the selection's records it holds.
struct LeftOut {
    enum Why {
        notKept,       // the copies do not keep the attributes: the option would copy them
        neverCopied,   // no copy takes them: circle and ring solids, sun-shadow and 2.5D data,
                       // dimensions and block references of unknown shape, unknown tags
        turnedCopies,  // block references, in the copies that turn or scale
    };
    std::string tag;
    std::size_t count = 0;
    Why why = neverCopied;
};

// The selection's records that only the option copies, and those no copy takes, by tag:
// counted once per figure.
struct RecordTally {
    std::vector<LeftOut> optional;  // texts by tag, solids, markers, dimensions, blocks
    std::size_t blocks = 0;
    std::size_t blockElements = 0;  // the block references and the elements between their lines
    std::vector<LeftOut> never;

    explicit RecordTally(const Figure& figure);
    RecordTally() = default;
};

std::vector<LeftOut> recordsLeftOut(const RecordTally& tally, const CopyParameters& params);

// The copies that only move the figure, and so take its block references: all when nothing
// turns or scales, every second one where a scale is -1, else none.
int movesOnlyCopies(const CopyParameters& params);
