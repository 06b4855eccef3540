#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <limits>

// Which copies a repaint draws and which worker draws them. Blocks of consecutive copies go in
// rising order to whichever worker asks next, and each worker walks its copies in rising order,
// asking before each one: the first copy is always let past, a further one only while the
// deadline has not passed. A copy is drawn once any worker has been let past it, so the copies
// drawn are 1..n whatever the threads do: every copy below one let past lies in a block already
// handed out, and its worker is let past it too.
struct CopyDeal {
    using Clock = std::chrono::steady_clock;
    using Now = Clock::time_point (*)();

    // `clock` is read before each copy beyond those already let past; tests stop its time.
    explicit CopyDeal(Clock::time_point end, Now clock = Clock::now) : deadline(end), now(clock) {}

    // The next block's copies first..last of 1..copies; false when none is left or a copy was
    // refused.
    bool take(int copies, int& first, int& last);
    // Asked by a worker for each copy k of its blocks in rising order; false from the first copy
    // refused on. `known` is the worker's own memory of the copies let past (0 at its start), so
    // the copies below it cost no shared access.
    bool mayBegin(int k, int& known);
    int begun() const;  // the copies let past so far

    // Copies per block; set before any worker asks. One block: the copies as one pass.
    int block = std::numeric_limits<int>::max();
    Clock::time_point deadline;
    Now now;
    std::atomic<int64_t> taken{0};  // blocks handed out
    // The copies let past in the low 32 bits, the first from the start, whichever worker asks
    // first; kClosed once one was refused.
    std::atomic<int64_t> state{1};
    static constexpr int64_t kClosed = int64_t{1} << 32;
};
