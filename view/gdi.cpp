#include "view/gdi.h"

namespace {
int liveCount = 0;
}

int liveGdiObjects() { return liveCount; }
void countGdiObject(int delta) { liveCount += delta; }

GdiObject<HPEN> makePen(COLORREF colour) { return GdiObject<HPEN>(CreatePen(PS_SOLID, 0, colour)); }
