#pragma once

#include <cstddef>
#include <memory>

#include "figure/worker_thread.h"

// Worker threads for the length of one call, started once and given one job after another:
// starting a thread costs far more than handing it a part. The caller waits for each job, or
// does work of its own meanwhile; the pool ends its threads when it goes out of scope, so none
// outlives the call.
struct WorkerPool {
    // Starts up to `threads` threads; size() says how many are running (0 when none could start:
    // the caller then does the work alone).
    explicit WorkerPool(int threads);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool();

    int size() const { return running; }

    // Runs job(i) on worker i for every worker, and returns at once; wait() returns when every
    // worker is done with it. job must live until then.
    template <class Job>
    void start(const Job& job) {
        begin([](const void* context, int worker) { (*static_cast<const Job*>(context))(worker); },
              &job);
    }
    template <class Job>
    void start(const Job&&) = delete;  // a temporary would be gone before the workers run it
    void wait();

  private:
    struct Seat {
        WorkerPool* pool;
        int index;
    };
    void begin(void (*run)(const void*, int), const void* context);
    void serve(int index);

    WorkerLock lock;
    WorkerSignal wake;  // a job, or the end, for the workers
    WorkerSignal done;  // the last worker done, for the caller
    void (*jobRun)(const void*, int) = nullptr;
    const void* jobContext = nullptr;
    unsigned long long jobs = 0;  // jobs started so far: each worker takes each once
    int busy = 0;                 // workers not yet done with the current job
    bool ending = false;
    int running = 0;
    std::unique_ptr<Seat[]> seats;
    std::unique_ptr<WorkerThread[]> threads;
};
