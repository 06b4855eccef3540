#pragma once

#include <cstddef>
#include <vector>

#include "figure/worker_thread.h"

// Worker threads inside one call: the caller splits its work into parts whose results it puts
// together in order, so the outcome is the same for any number of threads.

// The number of threads a call may use for the setting asked for: the setting itself, or the
// machine's cores when it is 0 (or less); never more than 16.
int workerThreads(int setting);

// Runs task(0) .. task(parts - 1), task(0) on the calling thread, and returns when all are
// done. A thread that cannot be started leaves its part to the caller.
template <class Task>
void runParts(int parts, const Task& task) {
    struct Part {
        const Task* task;
        int index;
    };
    const std::size_t others = parts > 1 ? static_cast<std::size_t>(parts - 1) : 0;
    std::vector<Part> items(others);
    std::vector<WorkerThread> threads(others);
    std::vector<int> leftOver;
    for (std::size_t i = 0; i < others; ++i) {
        items[i] = {&task, static_cast<int>(i) + 1};
        const bool started = threads[i].start(
            [](void* p) {
                const Part* part = static_cast<const Part*>(p);
                (*part->task)(part->index);
            },
            &items[i]);
        if (!started) leftOver.push_back(items[i].index);
    }
    task(0);
    for (int i : leftOver) task(i);
    for (WorkerThread& t : threads) t.join();
}
