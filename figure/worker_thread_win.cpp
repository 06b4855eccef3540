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
