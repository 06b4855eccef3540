#include "copyarray/copy_deal.h"

#include <algorithm>

bool CopyDeal::take(int copies, int& first, int& last) {
    // Its first copy would be refused: it lies beyond every copy let past.
    if (state.load() & kClosed) return false;
    const int64_t b = taken.fetch_add(1);
    if (b >= (int64_t{copies} + block - 1) / block) return false;
    first = static_cast<int>(b * block + 1);
    last = static_cast<int>(std::min<int64_t>(copies, b * block + block));
    return true;
}

bool CopyDeal::mayBegin(int k, int& known) {
    if (k <= known) return true;
    int64_t s = state.load();
    for (;;) {
        known = static_cast<int32_t>(s & 0xffffffff);
        if (k <= known) return true;
        if (s & kClosed) return false;
        const bool late = now() >= deadline;
        if (state.compare_exchange_weak(s, late ? s | kClosed : int64_t{k})) {
            if (!late) known = k;
            return !late;
        }
    }
}

int CopyDeal::begun() const {
    return static_cast<int32_t>(state.load() & 0xffffffff);
}
