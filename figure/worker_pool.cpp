#include "figure/worker_pool.h"

#include <mutex>

WorkerPool::WorkerPool(int count)
    : seats(new Seat[count > 0 ? count : 0]), threads(new WorkerThread[count > 0 ? count : 0]) {
    for (int i = 0; i < count; ++i) {
        // Seats are numbered as the threads that did start, so jobs see 0 .. size() - 1.
        seats[running] = {this, running};
        const bool started = threads[running].start(
            [](void* seat) {
                const Seat* s = static_cast<const Seat*>(seat);
                s->pool->serve(s->index);
            },
            &seats[running]);
        if (!started) break;
        ++running;
    }
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard<WorkerLock> hold(lock);
        done.waitUntil(lock, [&] { return busy == 0; });  // a job's context lives no longer
        ending = true;
    }
    wake.wakeAll();
    for (int i = 0; i < running; ++i) threads[i].join();
}

void WorkerPool::begin(void (*run)(const void*, int), const void* context) {
    {
        std::lock_guard<WorkerLock> hold(lock);
        jobRun = run;
        jobContext = context;
        busy = running;
        ++jobs;
    }
    wake.wakeAll();
}

void WorkerPool::wait() {
    std::lock_guard<WorkerLock> hold(lock);
    done.waitUntil(lock, [&] { return busy == 0; });
}

void WorkerPool::serve(int index) {
    unsigned long long taken = 0;
    std::unique_lock<WorkerLock> hold(lock);
    for (;;) {
        wake.waitUntil(lock, [&] { return ending || jobs != taken; });
        if (ending) return;
        taken = jobs;
        void (*const run)(const void*, int) = jobRun;
        const void* const context = jobContext;
        hold.unlock();
        run(context, index);
        hold.lock();
        if (--busy == 0) done.wakeOne();
    }
}
