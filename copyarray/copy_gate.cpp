#include "copyarray/copy_gate.h"

bool CopyGate::mayBegin(int k, int& known) {
    if (k <= known) return true;
    int64_t s = state.load();
    for (;;) {
        known = static_cast<int32_t>(s & 0xffffffff);
        if (k <= known) return true;
        if (s & kClosed) return false;
        const bool late = std::chrono::steady_clock::now() >= deadline;
        if (state.compare_exchange_weak(s, late ? s | kClosed : int64_t{k})) {
            if (!late) known = k;
            return !late;
        }
    }
}

int CopyGate::begun() const {
    return static_cast<int32_t>(state.load() & 0xffffffff);
}
