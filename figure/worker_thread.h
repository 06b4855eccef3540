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

// A lock over what workers share, and a signal to wait for under it, of the platform's own. On
// Windows a critical section and a condition variable, deleted with their owners: the
// toolchain's std::mutex is never destroyed, so what its first use allocates stays.
struct WorkerLock {
    WorkerLock();
    WorkerLock(const WorkerLock&) = delete;
    WorkerLock& operator=(const WorkerLock&) = delete;
    ~WorkerLock();

    void lock();
    void unlock();

    void* native;  // the platform's
};

struct WorkerSignal {
    WorkerSignal();
    WorkerSignal(const WorkerSignal&) = delete;
    WorkerSignal& operator=(const WorkerSignal&) = delete;
    ~WorkerSignal();

    // Releases `held` (locked by the caller) while it waits, and takes it again; may return
    // without a wake.
    void wait(WorkerLock& held);
    void wakeOne();
    void wakeAll();

    // Waits, with `held` locked, until done() is true.
    template <class Done>
    void waitUntil(WorkerLock& held, Done done) {
        while (!done()) wait(held);
    }

    void* native;
};
