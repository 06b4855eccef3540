#include <windows.h>

#include "figure/worker_thread.h"

namespace {

DWORD WINAPI begin(void* self) {
    const WorkerThread* worker = static_cast<const WorkerThread*>(self);
    worker->function(worker->argument);
    return 0;
}

}  // namespace

bool WorkerThread::start(void (*run)(void*), void* context) {
    function = run;
    argument = context;
    handle = CreateThread(nullptr, 0, begin, this, 0, nullptr);
    return handle != nullptr;
}

void WorkerThread::join() {
    if (!handle) return;
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
    handle = nullptr;
}

WorkerLock::WorkerLock() : native(new CRITICAL_SECTION) {
    InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(native));
}

WorkerLock::~WorkerLock() {
    DeleteCriticalSection(static_cast<CRITICAL_SECTION*>(native));
    delete static_cast<CRITICAL_SECTION*>(native);
}

void WorkerLock::lock() {
    EnterCriticalSection(static_cast<CRITICAL_SECTION*>(native));
}

void WorkerLock::unlock() {
    LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(native));
}

// A condition variable needs no deleting: it holds nothing of the system's.
WorkerSignal::WorkerSignal() : native(new CONDITION_VARIABLE) {
    InitializeConditionVariable(static_cast<CONDITION_VARIABLE*>(native));
}

WorkerSignal::~WorkerSignal() {
    delete static_cast<CONDITION_VARIABLE*>(native);
}

void WorkerSignal::wait(WorkerLock& held) {
    SleepConditionVariableCS(static_cast<CONDITION_VARIABLE*>(native),
                             static_cast<CRITICAL_SECTION*>(held.native), INFINITE);
}

void WorkerSignal::wakeOne() {
    WakeConditionVariable(static_cast<CONDITION_VARIABLE*>(native));
}

void WorkerSignal::wakeAll() {
    WakeAllConditionVariable(static_cast<CONDITION_VARIABLE*>(native));
}
