#include "figure/workers.h"

#include <thread>

namespace {

// More threads than this only contend for memory bandwidth.
constexpr int kMostThreads = 16;

}  // namespace

int workerThreads(int setting) {
    // Asked once: on Linux every answer reads a file, and small reads and writes ask each time.
    static const int cores = static_cast<int>(std::thread::hardware_concurrency());
    int n = setting > 0 ? setting : cores;
    if (n < 1) n = 1;
    return n < kMostThreads ? n : kMostThreads;
}
