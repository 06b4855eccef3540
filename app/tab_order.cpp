#include "app/tab_order.h"

int nextTabStop(int count, int current, bool backward) {
    if (count <= 0) return -1;
    if (current < 0 || current >= count) return backward ? count - 1 : 0;
    if (backward) return current == 0 ? count - 1 : current - 1;
    return current + 1 == count ? 0 : current + 1;
}
