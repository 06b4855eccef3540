#pragma once

#include <thread>
#include <vector>

// Worker threads inside one call: the caller splits its work into parts whose results it puts
// together in order, so the outcome is the same for any number of threads.

// The number of threads a call may use: the setting, or the machine's cores when it is 0.
int workerThreads();
// 0: as many as the machine has cores; 1: everything on the calling thread.
void setWorkerThreads(int count);

// Runs task(0) .. task(parts - 1), task(0) on the calling thread, and returns when all are
// done. A thread that cannot be started leaves its part to the caller.
template <class Task>
void runParts(int parts, const Task& task) {
    std::vector<std::thread> threads;
    std::vector<int> leftOver;
    threads.reserve(parts > 1 ? parts - 1 : 0);
    for (int i = 1; i < parts; ++i) {
        try {
            threads.emplace_back(task, i);
        } catch (...) {
            leftOver.push_back(i);
        }
    }
    task(0);
    for (int i : leftOver) task(i);
    for (std::thread& t : threads) t.join();
}
