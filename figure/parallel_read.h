#pragma once

#include <memory>
#include <vector>

#include "figure/figure.h"
#include "figure/record_reader.h"
#include "figure/worker_pool.h"

// Long runs of whole lines read by several threads, each part into a figure of its own and
// then joined in order: the figure comes out exactly as one pass would read it.
struct ParallelRead {
    // Reads the whole lines [p, end) in `count` parts (at least two): the first straight through
    // `whole`, the others on their own threads. wholeScale above 1 sizes the lists for the
    // whole input (that many times what has been read) the first time they must grow.
    void read(RecordReader& whole, const char* p, const char* end, int count, double wholeScale);

    std::vector<Figure> parts;  // kept between runs, so their lists are allocated once
    // Started at the first run and ended with the reader: a thread per block would cost more
    // than the block's part.
    std::unique_ptr<WorkerPool> pool;
};
