#include "app/parameter_panel_win.h"

#include <commctrl.h>

#include <charconv>
#include <cstring>

#include "app/texts.h"
#include "view/gdi_win.h"
#include "view/window_idioms_win.h"

namespace {

void percentText(int position, char* text, std::size_t size) {
    char* end = std::to_chars(text, text + size - 2, position).ptr;
    *end++ = '%';
    *end = '\0';
}

// Sets a control's text only where it differs, so a box being typed in keeps its caret.
void showText(HWND window, const char* text) {
    char now[kRowTextSize + 16] = {};
    GetWindowTextA(window, now, sizeof now);
    if (std::strcmp(now, text) != 0) SetWindowTextA(window, text);
}

}  // namespace

const char* unitLabel(const CopyInputs& rows, int row) {
    if (row == kRowAngle)
        return rows.angleUnitFactor == kRadianFactor ? text::kRadians : text::kDegrees;
    return rows.moveUnitFactor[row] == kMoveFactorMetres ? text::kMetres : text::kMillimetres;
}

ParameterPanel::ParameterPanel() {
    const int ids[kRowCount][4] = {
        {2, kRowMoveXUnitId, 4, 5}, {6, kRowMoveYUnitId, 8, 9}, {10, kRowAngleUnitId, 12, 13},
        {14, -1, 16, 17},           {22, -1, 24, 25},           {0, -1, 0, 0}};
    for (int r = 0; r < kRowCount; ++r) {
        rows[r].editId = ids[r][0];
        rows[r].unitId = ids[r][1];
        rows[r].sliderId = ids[r][2];
        rows[r].percentId = ids[r][3];
    }
}

void ParameterPanel::create(HWND main, HINSTANCE instance, const CopyInputs& shown, HFONT font,
                            int dpi) {
    // WS_CLIPCHILDREN: the panel's own paint leaves its controls alone.
    panel = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                            scaled(kPanelWidth, dpi), scaled(50, dpi), main, idAsMenu(kPanelId),
                            instance, nullptr);
    previousProc = subclass(panel, panelProc);
    // Each control at its place at 96 DPI; layout() keeps the completion button at the bottom.
    completeButton = controls.add(panel, 0, "BUTTON", text::kCompleteButton, BS_CENTER,
                                  {5, 0, 130, 20}, kCompleteButtonId, dpi);
    setFont(completeButton, font);
    for (int r = 0; r < kRowCount; ++r) {
        ParameterRowControls& row = rows[r];
        const int y = kRowTop + kRowPitch * r;
        const DWORD typing = r == kRowCopies ? ES_NUMBER : ES_AUTOHSCROLL;  // room for arithmetic
        row.valueEdit = controls.add(panel, WS_EX_CLIENTEDGE, "EDIT", shown.rowText[r],
                                     WS_BORDER | typing, {56, y, 53, 20}, row.editId, dpi);
        setFont(row.valueEdit, font);
        SendMessageA(row.valueEdit, EM_LIMITTEXT, kRowTextSize - 1, 0);
        if (row.unitId >= 0) {
            row.unitButton = controls.add(panel, 0, "BUTTON", "", BS_OWNERDRAW,
                                          {112, y + 1, 23, 18}, row.unitId, dpi);
            setFont(row.unitButton, font);
        }
        row.slider = controls.add(panel, 0, TRACKBAR_CLASSA, "", TBS_NOTICKS, {0, y + 20, 103, 20},
                                  row.sliderId, dpi);
        char percent[16];
        percentText(shown.rowSlider[r], percent, sizeof percent);
        row.percentBox = controls.add(panel, WS_EX_CLIENTEDGE, "EDIT", percent,
                                      WS_BORDER | ES_READONLY | ES_CENTER, {105, y + 20, 32, 17},
                                      row.percentId, dpi);
        setFont(row.percentBox, font);
    }
    basePointButton = controls.add(panel, 0, "BUTTON", text::kBasePointButton, BS_CENTER,
                                   kBasePointButtonBox, kBasePointButtonId, dpi);
    setFont(basePointButton, font);
    lastValuesButton =
        controls.add(panel, 0, "BUTTON", text::kLastValuesButton, BS_CENTER | WS_DISABLED,
                     kLastValuesButtonBox, kLastValuesButtonId, dpi);
    setFont(lastValuesButton, font);
    keepAttributesBox = controls.add(panel, 0, "BUTTON", text::kKeepAttributes, BS_AUTOCHECKBOX,
                                     kKeepAttributesBox, kKeepAttributesId, dpi);
    setFont(keepAttributesBox, font);
    showing = true;
    for (int r = 0; r < kRowCount; ++r)
        SendMessageA(rows[r].slider, TBM_SETPOS, TRUE, shown.rowSlider[r]);
    SendMessageA(keepAttributesBox, BM_SETCHECK, shown.keepAttributes ? BST_CHECKED : BST_UNCHECKED,
                 0);
    showing = false;
}

void ParameterPanel::layout(int height, int dpi) {
    // A minimised window has no room: no zero or negative size may reach a window.
    if (height <= 0) return;
    MoveWindow(panel, 0, 0, scaled(kPanelWidth, dpi), height, TRUE);
    RECT button{};
    GetClientRect(completeButton, &button);
    MoveWindow(completeButton, scaled(5, dpi), clientSize(panel).cy - button.bottom, button.right,
               button.bottom, TRUE);
}

void ParameterPanel::placeControls(int dpi) {
    controls.place(dpi);
}

void ParameterPanel::show(const CopyInputs& shown) {
    showing = true;
    for (int r = 0; r < kRowCount; ++r) {
        const ParameterRowControls& row = rows[r];
        showText(row.valueEdit, shown.rowText[r]);
        if (SendMessageA(row.slider, TBM_GETPOS, 0, 0) != shown.rowSlider[r])
            SendMessageA(row.slider, TBM_SETPOS, TRUE, shown.rowSlider[r]);
        char percent[16];
        percentText(shown.rowSlider[r], percent, sizeof percent);
        showText(row.percentBox, percent);
    }
    SendMessageA(keepAttributesBox, BM_SETCHECK, shown.keepAttributes ? BST_CHECKED : BST_UNCHECKED,
                 0);
    showing = false;
    showUnits();
}

void ParameterPanel::showUnits() {
    for (const ParameterRowControls& row : rows) invalidate(row.unitButton);
}

void ParameterPanel::showReadings(const RowReading (&reading)[kRowCount]) {
    for (int r = 0; r < kRowCount; ++r) {
        const COLORREF before = markColour(r);
        shownReading[r] = reading[r].how;
        if (markColour(r) != before) invalidate(rows[r].valueEdit);
    }
}

COLORREF ParameterPanel::markColour(int row) const {
    switch (shownReading[row]) {
        case RowRead::partial:
            return kPartialColour;
        case RowRead::notFinite:
            return kNotFiniteColour;
        case RowRead::whole:
        case RowRead::blank:
            break;
    }
    return CLR_INVALID;
}

void ParameterPanel::enableLastValues(bool enabled) {
    EnableWindow(lastValuesButton, enabled ? TRUE : FALSE);
}

void ParameterPanel::paintLabels(HFONT font, int dpi) {
    PaintDc dc(panel);
    FillRect(dc.get(), &dc.paint().rcPaint, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SelectGuard selected(dc.get(), font);
    SetBkMode(dc.get(), TRANSPARENT);
    for (int r = 0; r < kRowCount; ++r) {
        const char* label = text::kRowLabels[r];
        TextOutA(dc.get(), scaled(5, dpi), scaled(kRowTop + kRowPitch * r + 4, dpi), label,
                 lstrlenA(label));
    }
}

int ParameterPanel::rowOfValueBox(HWND window) const {
    for (int r = 0; r < kRowCount; ++r)
        if (window && rows[r].valueEdit == window) return r;
    return -1;
}

int ParameterPanel::rowOfUnitButton(int id) const {
    for (int r = 0; r < kRowCount; ++r)
        if (rows[r].unitId == id) return r;
    return -1;
}

bool ParameterPanel::isPercentBox(HWND window) const {
    for (const ParameterRowControls& row : rows)
        if (window && row.percentBox == window) return true;
    return false;
}

bool ParameterPanel::isSlider(HWND window) const {
    for (const ParameterRowControls& row : rows)
        if (window && row.slider == window) return true;
    return false;
}

void ParameterPanel::valueText(int row, char text[kRowTextSize]) const {
    text[0] = '\0';
    GetWindowTextA(rows[row].valueEdit, text, kRowTextSize);
}

std::string ParameterPanel::typedText(int row) const {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(rows[row].valueEdit)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(rows[row].valueEdit, text.data(), static_cast<int>(text.size()))));
    return text;
}

void ParameterPanel::cutText(int row, const char* text) {
    showing = true;
    SetWindowTextA(rows[row].valueEdit, text);
    const int end = lstrlenA(text);
    SendMessageA(rows[row].valueEdit, EM_SETSEL, end, end);
    showing = false;
}

int ParameterPanel::sliderPosition(int row) const {
    return static_cast<int>(SendMessageA(rows[row].slider, TBM_GETPOS, 0, 0));
}

bool ParameterPanel::keepAttributesChecked() const {
    return SendMessageA(keepAttributesBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
