#include "figure/worker_pool.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every worker runs every job once, and wait() returns only when all have: each worker notes
// the job it ran in slots of its own, which the caller reads after wait().
TEST(WorkerPool, ThreadsRunEachJobOnceInTurn) {
    for (int threads : {0, 1, 2, 5}) {
        WorkerPool pool(threads);
        ASSERT_EQ(pool.size(), threads);
        std::vector<int> ran(static_cast<std::size_t>(threads), 0), runs(ran.size(), 0);
        int job = 0;
        const auto note = [&](int worker) {
            ran[static_cast<std::size_t>(worker)] = job;
            ++runs[static_cast<std::size_t>(worker)];
        };
        for (job = 1; job <= 300; ++job) {
            pool.start(note);
            pool.wait();
            for (int r : ran) ASSERT_EQ(r, job) << threads << " threads";
        }
        for (int r : runs) EXPECT_EQ(r, 300) << threads << " threads";
    }
}

}  // namespace
