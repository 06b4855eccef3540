#pragma once

#include <string>

#include "copyarray/copy_array.h"
#include "figure/figure.h"

// The command line of zovrel-batch: the panel's six rows, units and base point as options.

struct BatchRow {
    bool given = false;
    std::string typed;  // as the command line gave it
    std::string text;   // as a box holds it (Shift-JIS)
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

// False with a one-line message in error for a usage error: a row's text longer than a box
// holds (127 bytes) or not a finite number is one. utf8Arguments: the command line is UTF-8
// (not Windows), and the full-width forms of a row's text become those a box holds.
bool parseBatchOptions(int argc, const char* const* argv, BatchOptions& options, std::string& error,
                       bool utf8Arguments = false);

// One line for each row whose text was read only in part: the option, its text and what it was
// read as. Empty when every text reads as typed.
std::string batchReadingNotes(const BatchOptions& options);

// The inputs the panel would hold: the start-up state for the figure, with the given rows
// and units put in.
CopyInputs batchInputs(const BatchOptions& options, const Figure& figure);

// The batch tool's --help text, and the program's version.
const char* batchUsage();
const char* zovrelVersion();
