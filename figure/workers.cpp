#include "figure/workers.h"

#include <atomic>
#include <thread>

namespace {

std::atomic<int> setting{0};
// More threads than this only contend for memory bandwidth.
constexpr int kMostThreads = 16;

}  // namespace

int workerThreads() {
    int n = setting.load(std::memory_order_relaxed);
    // Asked once: on Linux every answer reads a file, and small reads and writes ask each time.
    static const int cores = static_cast<int>(std::thread::hardware_concurrency());
    if (n <= 0) n = cores;
    if (n < 1) n = 1;
    return n < kMostThreads ? n : kMostThreads;
}

void setWorkerThreads(int count) {
    setting.store(count, std::memory_order_relaxed);
}
