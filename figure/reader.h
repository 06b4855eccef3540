#pragma once

#include <cstddef>

#include "figure/figure.h"
#include "figure/line_cutting.h"
#include "figure/parallel_read.h"
#include "figure/record_reader.h"

// Reading the exchange file into a figure. The file is read in binary mode and cut into pieces
// (figure/line_cutting.h), each read as a record (figure/record_reader.h); long runs of lines
// are read on several threads (figure/parallel_read.h) with the same result.

// Feeds bytes in any chunking and cuts them into pieces exactly as reading a file does.
struct FigureReader {
    // threads: as workerThreads takes it (0, one per core).
    explicit FigureReader(Figure& target, int threadSetting = 0)
        : records(target), threads(threadSetting) {}
    void feed(const char* data, std::size_t size);
    void finish();  // the last piece may lack a line break

    RecordReader records;
    int threads;
    // The size of the whole input when known: the figure's lists are then sized once from
    // what the first parts hold, instead of growing step by step.
    std::size_t expectedBytes = 0;

  private:
    void readWholeLines(const char* p, const char* end);

    char carry[kMaxPieceBytes] = {};
    std::size_t carryLength = 0;
    std::size_t consumed = 0;
    bool sized = false;
    ParallelRead parallel;
};

// Reads the file at path into figure. True when the file was opened (it has then been read to
// its end; a read error ends reading as if the file ended there), false when it cannot be
// opened as a regular file.
bool loadFigure(const char* path, Figure& figure, int threads = 0);

// The same on bytes in memory.
void loadFigureFromMemory(const char* data, std::size_t size, Figure& figure, int threads = 0);
