#include "app/scale_dialog_win.h"

#include "app/commands_win.h"
#include "app/panel_values.h"
#include "app/texts.h"
#include "figure/expression.h"

bool ScaleDialog::create(HWND owner, HINSTANCE instance, HFONT font, int dpi, void* creation) {
    const Kind scale{
        text::kScaleDialogClass, text::kScaleDialogLabel, {100, 5, 53, 20}, applyTypedScale};
    return SmallDialog::create(owner, instance, font, dpi, creation, scale, "40");
}

void ScaleDialog::offer(double scale) {
    offeredScale = scale;
    char shown[kRowTextSize];
    formatScaleText(scale, shown);
    offerText(shown);
}

void ScaleDialog::show(double scale) {
    if (!popup) return;
    offer(scale);
    ShowWindow(popup, SW_SHOW);
}

double ScaleDialog::typedScale() const {
    char text[kRowTextSize] = {};
    GetWindowTextA(edit, text, sizeof text);
    return lstrcmpA(text, offeredText) == 0 ? offeredScale : typedValue(text);
}

void ScaleDialog::followView(double scale) {
    // A scale being typed is the drafter's: a wheel notch must not take it from under them.
    if (!isOpen() || typing()) return;
    offer(scale);
}

void ScaleDialog::place(HWND main) {
    placeAtCorner(main, true);
}
