#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

// Which copies a repaint begins: the first always, a further one only while the deadline has
// not passed. Workers drawing their shares of the copies on several threads ask in turn; a
// copy is begun once any worker has been let past it, so the copies begun are always 1..n.
struct CopyGate {
    explicit CopyGate(std::chrono::steady_clock::time_point end) : deadline(end) {}

    // Asked by each worker for its copies k in rising order; false from the first copy refused
    // on. `known` is the worker's own memory of the copies begun (0 at its start), so that the
    // copies below it cost no shared access.
    bool mayBegin(int k, int& known);
    int begun() const;  // the copies begun so far

    std::chrono::steady_clock::time_point deadline;
    // The copies begun in the low 32 bits, the first from the start, whichever worker asks
    // first; kClosed once one was refused.
    std::atomic<int64_t> state{1};
    static constexpr int64_t kClosed = int64_t{1} << 32;
};
