#include "app/owner_button_win.h"

#include "view/dpi_scale.h"
#include "view/gdi_win.h"

void drawRaisedButton(HDC dc, const RECT& rect, bool pressed, const char* label, HFONT font,
                      int dpi) {
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SelectGuard selected(dc, font);
    TextOutA(dc, scaled(3, dpi), scaled(2, dpi), label, lstrlenA(label));
    const GdiObject<HPEN> penA = makePen(pressed ? RGB(128, 128, 128) : RGB(255, 255, 255));
    const GdiObject<HPEN> penB = makePen(pressed ? RGB(255, 255, 255) : RGB(128, 128, 128));
    {
        SelectGuard pen(dc, penA.get());
        MoveToEx(dc, 0, rect.bottom - 1, nullptr);
        LineTo(dc, 0, 0);
        LineTo(dc, rect.right - 1, 0);
    }
    SelectGuard pen(dc, penB.get());
    MoveToEx(dc, 0, rect.bottom - 1, nullptr);
    LineTo(dc, rect.right - 1, rect.bottom - 1);
    LineTo(dc, rect.right - 1, -1);
}
