#include "app/tab_order.h"

int nextTabStop(int count, int current, bool backward) {
    if (count <= 0) return -1;
    if (current < 0 || current >= count) return backward ? count - 1 : 0;
    if (backward) return current == 0 ? count - 1 : current - 1;
    return current + 1 == count ? 0 : current + 1;
}

int nextTabStopAmong(const bool isStop[], int count, int current, bool backward) {
    if (count <= 0) return -1;
    // Outside the list the focus lies before the first control: the walk enters at an end.
    int at = current >= 0 && current < count ? current : (backward ? 0 : count - 1);
    for (int step = 0; step < count; ++step) {
        at = nextTabStop(count, at, backward);
        if (isStop[at]) return at;
    }
    return -1;
}
