#include <thread>

#include "figure/worker_thread.h"

bool WorkerThread::start(void (*run)(void*), void* context) {
    try {
        handle = new std::thread(run, context);
    } catch (...) {
        handle = nullptr;
    }
    return handle != nullptr;
}

void WorkerThread::join() {
    if (!handle) return;
    auto* thread = static_cast<std::thread*>(handle);
    thread->join();
    delete thread;
    handle = nullptr;
}
