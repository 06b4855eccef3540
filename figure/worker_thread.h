#pragma once

// One thread of the platform's own for a worker. On Windows a plain CreateThread: once joined
// it leaves no handle behind (the threads library of the toolchain keeps some for reuse).
struct WorkerThread {
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread() { join(); }

    // Runs run(context) on a new thread; false when none could be started.
    bool start(void (*run)(void*), void* context);
    void join();  // waits for it; nothing when it never started

    void (*function)(void*) = nullptr;
    void* argument = nullptr;
    void* handle = nullptr;  // the platform's
};
