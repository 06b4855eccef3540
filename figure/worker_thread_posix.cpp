#include <condition_variable>
#include <mutex>
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

WorkerLock::WorkerLock() : native(new std::mutex) {}

WorkerLock::~WorkerLock() {
    delete static_cast<std::mutex*>(native);
}

void WorkerLock::lock() {
    static_cast<std::mutex*>(native)->lock();
}

void WorkerLock::unlock() {
    static_cast<std::mutex*>(native)->unlock();
}

WorkerSignal::WorkerSignal() : native(new std::condition_variable) {}

WorkerSignal::~WorkerSignal() {
    delete static_cast<std::condition_variable*>(native);
}

void WorkerSignal::wait(WorkerLock& held) {
    std::unique_lock<std::mutex> hold(*static_cast<std::mutex*>(held.native), std::adopt_lock);
    static_cast<std::condition_variable*>(native)->wait(hold);
    static_cast<void>(hold.release());  // the caller still holds it
}

void WorkerSignal::wakeOne() {
    static_cast<std::condition_variable*>(native)->notify_one();
}

void WorkerSignal::wakeAll() {
    static_cast<std::condition_variable*>(native)->notify_all();
}
