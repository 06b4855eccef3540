#pragma once

#include <string>

#include "copyarray/copy_array.h"
#include "figure/figure.h"

// The command line of zovrel-batch: the panel's six rows, units and base point as options.

struct BatchRow {
    bool given = false;
    std::string text;
    int slider = 100;
};

struct BatchOptions {
    std::string file = "JWC_TEMP.TXT";
    std::string output;  // empty: the file itself; "-": standard output
    BatchRow rows[kRowCount];
    int moveUnitFactor[2] = {0, 0};  // 0: not given
    double angleUnitFactor = 0.0;    // 0: not given
    double baseX = 0.0;
    double baseY = 0.0;
    int threads = 0;  // 0: one per core
    bool keepAttributes = false;
    bool help = false;
    bool version = false;
};

// False with a one-line message in error for a usage error.
bool parseBatchOptions(int argc, const char* const* argv, BatchOptions& options,
                       std::string& error);

// The inputs the panel would hold: the start-up state for the figure, with the given rows
// and units put in.
CopyInputs batchInputs(const BatchOptions& options, const Figure& figure);

extern const char kBatchUsage[];
extern const char kZovrelVersion[];
