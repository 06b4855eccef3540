#include "app/base_dialog_win.h"

#include "app/base_point_text.h"
#include "app/commands_win.h"
#include "app/texts.h"
#include "view/window_idioms_win.h"

bool BaseDialog::create(HWND owner, HINSTANCE instance, HFONT font, int dpi, void* creation) {
    const Kind base{
        text::kBaseDialogClass, text::kBaseDialogLabel, {74, 5, 131, 20}, applyTypedBase};
    return SmallDialog::create(owner, instance, font, dpi, creation, base, "");
}

void BaseDialog::offer(double x, double y) {
    offeredBase = {x, y};
    offerText(basePointText(x, y).c_str());
    SetWindowTextA(popup, "");
}

void BaseDialog::refuse(const char* why) {
    SetWindowTextA(popup, why);
    SetFocus(edit);
    selectAllText(edit);
}

void BaseDialog::show(double x, double y) {
    if (!popup) return;
    offer(x, y);
    ShowWindow(popup, SW_SHOW);
    // Ready for typing: the whole text goes at the first key.
    SetFocus(edit);
    selectAllText(edit);
}

void BaseDialog::place(HWND main) {
    placeAtCorner(main, false);
}

void BaseDialog::followBase(double x, double y) {
    if (!isOpen() || typing() || (x == offeredBase.x && y == offeredBase.y)) return;
    offer(x, y);
}

bool BaseDialog::typedBase(Point2& base) const {
    if (offeredUnchanged()) {
        base = offeredBase;
        return true;
    }
    char text[kRowTextSize] = {};
    GetWindowTextA(edit, text, sizeof text);
    return readBasePoint(text, base);
}
