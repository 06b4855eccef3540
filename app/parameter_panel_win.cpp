#include "app/parameter_panel_win.h"

#include <commctrl.h>

#include <charconv>
#include <cstddef>
#include <cstring>

#include "app/child_layout_win.h"
#include "app/commands_win.h"
#include "app/globals_win.h"
#include "app/loop_input_win.h"
#include "app/output_readout_win.h"
#include "app/panel_values.h"
#include "app/status_strip_win.h"
#include "app/texts.h"
#include "view/gdi_win.h"
#include "view/window_idioms_win.h"

namespace {

// What every row shows when it is made; the move texts are replaced once the figure is read.
const CopyInputs kRowSetup = startupInputs(0.0, 0.0);

void percentText(int position, char* text, std::size_t size) {
    char* end = std::to_chars(text, text + size - 2, position).ptr;
    *end++ = '%';
    *end = '\0';
}

void setFont(HWND window) {
    ::setFont(window, theCanvas.uiFont.get());
}

HWND child(HWND parent, HINSTANCE instance, DWORD exStyle, const char* cls, const char* text,
           DWORD style, int x, int y, int w, int h, int id) {
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           idAsMenu(id), instance, nullptr);
}

int clientWidth(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r.right - r.left;
}

int clientHeight(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r.bottom - r.top;
}

}  // namespace

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

void ParameterPanel::create(HWND main, const CREATESTRUCTA& creation) {
    HINSTANCE instance = creation.hInstance;
    mainWindow = main;
    InitCommonControls();
    statusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, "", main,
                                    kStatusBarId);
    SendMessageA(statusBar, SB_SETTEXTA, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(""));
    RECT bar{};
    GetWindowRect(statusBar, &bar);
    statusStrip =
        child(statusBar, instance, 0, "STATIC", "", 0, 0, 0,
              (bar.right - bar.left) - uiPixels(kSizeGrip), bar.bottom - bar.top, kStatusStripId);
    setFont(statusStrip);

    panel = child(main, instance, 0, "STATIC", "", 0, 0, 0, uiPixels(kPanelWidth), uiPixels(50),
                  kPanelId);
    previousPanelProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(panelProc)));

    // Each control at its place at 96 DPI; layout() keeps the completion button at the bottom.
    completeButton = controls.add(panel, 0, "BUTTON", text::kCompleteButton, BS_CENTER,
                                  {5, 0, 130, 20}, kCompleteButtonId);
    setFont(completeButton);
    for (int r = 0; r < kRowCount; ++r) {
        ParameterRowControls& row = rows[r];
        const int y = kRowTop + kRowPitch * r;
        const DWORD typing = r == kRowCopies ? ES_NUMBER : ES_AUTOHSCROLL;  // room for arithmetic
        row.valueEdit = controls.add(panel, WS_EX_CLIENTEDGE, "EDIT", kRowSetup.rowText[r],
                                     WS_BORDER | typing, {56, y, 53, 20}, row.editId);
        setFont(row.valueEdit);
        if (row.unitId >= 0) {
            row.unitButton = controls.add(panel, 0, "BUTTON", "", BS_OWNERDRAW,
                                          {112, y + 1, 23, 18}, row.unitId);
            setFont(row.unitButton);
        }
        row.slider = controls.add(panel, 0, TRACKBAR_CLASSA, "", TBS_NOTICKS, {0, y + 20, 103, 20},
                                  row.sliderId);
        char percent[16];
        percentText(kRowSetup.rowSlider[r], percent, sizeof percent);
        row.percentBox =
            controls.add(panel, WS_EX_CLIENTEDGE, "EDIT", percent,
                         WS_BORDER | ES_READONLY | ES_CENTER, {105, y + 20, 32, 17}, row.percentId);
        setFont(row.percentBox);
    }
    basePointButton = controls.add(panel, 0, "BUTTON", text::kBasePointButton, BS_CENTER,
                                   {5, 420, 130, 20}, kBasePointButtonId);
    setFont(basePointButton);
    lastValuesButton = controls.add(
        panel, 0, "BUTTON", text::kLastValuesButton, BS_CENTER | WS_DISABLED,
        {kLastValuesButtonX, kLastValuesButtonY, kLastValuesButtonWidth, kLastValuesButtonHeight},
        kLastValuesButtonId);
    setFont(lastValuesButton);
    keepAttributesBox = controls.add(
        panel, 0, "BUTTON", text::kKeepAttributes, BS_AUTOCHECKBOX,
        {kKeepAttributesX, kKeepAttributesY, kKeepAttributesWidth, kKeepAttributesHeight},
        kKeepAttributesId);
    setFont(keepAttributesBox);
    scaleButton = child(statusStrip, instance, 0, "BUTTON", "", BS_OWNERDRAW, uiPixels(110),
                        uiPixels(kScaleButtonTop), uiPixels(kScaleButtonWidth),
                        uiPixels(kScaleButtonHeight), kScaleButtonId);
    previousStripProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(statusStrip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(statusStripProc)));
    for (int r = 0; r < kRowCount; ++r)
        SendMessageA(rows[r].slider, TBM_SETPOS, TRUE, kRowSetup.rowSlider[r]);
    model.update(readCopyInputs());
}

void ParameterPanel::layout(HWND, WPARAM wParam, LPARAM lParam, const RECT& mainClient) {
    SendMessageA(statusBar, WM_SIZE, wParam, lParam);
    const int ws = clientWidth(statusBar);
    const int hs = clientHeight(statusBar);
    const int grip = uiPixels(kSizeGrip);
    // A minimised window has no room: no zero or negative size may reach a window.
    if (ws - grip > 0 && hs > 0) MoveWindow(statusStrip, 0, 0, ws - grip, hs, TRUE);
    const int panelHeight = (mainClient.bottom - mainClient.top) - hs;
    if (panelHeight > 0) {
        MoveWindow(panel, 0, 0, uiPixels(kPanelWidth), panelHeight, TRUE);
        RECT button{};
        GetClientRect(completeButton, &button);
        MoveWindow(completeButton, uiPixels(5), clientHeight(panel) - button.bottom, button.right,
                   button.bottom, TRUE);
    }
    const int width = uiPixels(kScaleButtonWidth);
    int x = ws - width - grip;
    if (x < uiPixels(kScaleButtonMinX)) x = uiPixels(kScaleButtonMinX);
    MoveWindow(scaleButton, x, uiPixels(kScaleButtonTop), width, uiPixels(kScaleButtonHeight),
               TRUE);
}

void ParameterPanel::placeControls() {
    controls.place();
}

void ParameterPanel::setDefaultMoves(double horizontal, double vertical) {
    const MoveRowState h = defaultMoveRow(horizontal);
    const MoveRowState v = defaultMoveRow(vertical);
    moveUnitFactor[0] = h.unitFactor;
    SetWindowTextA(rows[kRowMoveX].valueEdit, h.text);
    moveUnitFactor[1] = v.unitFactor;
    SetWindowTextA(rows[kRowMoveY].valueEdit, v.text);
}

void ParameterPanel::valueText(int id, char* buffer) {
    for (const ParameterRowControls& row : rows) {
        if (row.editId == id) {
            GetWindowTextA(row.valueEdit, buffer, kRowTextSize);
            return;
        }
    }
}

int ParameterPanel::sliderPosition(int id) {
    for (const ParameterRowControls& row : rows)
        if (row.sliderId == id) return static_cast<int>(SendMessageA(row.slider, TBM_GETPOS, 0, 0));
    return 0;
}

bool ParameterPanel::toggleUnit(int id) {
    int row;
    if (id == kRowMoveXUnitId) {
        row = kRowMoveX;
    } else if (id == kRowMoveYUnitId) {
        row = kRowMoveY;
    } else if (id == kRowAngleUnitId) {
        row = kRowAngle;
    } else {
        return false;
    }
    char text[kRowTextSize] = {};
    valueText(rows[row].editId, text);
    if (row == kRowAngle)
        toggleAngleUnit(text, angleUnitFactor);
    else
        toggleMoveUnit(text, moveUnitFactor[row]);
    SetWindowTextA(rows[row].valueEdit, text);
    return true;
}

void ParameterPanel::updatePercentBoxes() {
    for (const ParameterRowControls& row : rows) {
        char text[16];
        percentText(static_cast<int>(SendMessageA(row.slider, TBM_GETPOS, 0, 0)), text,
                    sizeof text);
        SetWindowTextA(row.percentBox, text);
    }
}

void ParameterPanel::paintLabels() {
    PaintDc dc(panel);
    FillRect(dc.get(), &dc.paint().rcPaint, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SelectGuard font(dc.get(), theCanvas.uiFont.get());
    SetBkMode(dc.get(), TRANSPARENT);
    for (int r = 0; r < kRowCount; ++r) {
        const char* label = text::kRowLabels[r];
        TextOutA(dc.get(), uiPixels(5), uiPixels(kRowTop + kRowPitch * r + 4), label,
                 lstrlenA(label));
    }
}

void ParameterPanel::drawItem(WPARAM wParam, LPARAM lParam) {
    const OwnerDrawItem item = ownerDrawItem(wParam, lParam);
    drawOwnerButton(item.dc, item.id, item.pressed, item.rect);
}

void ParameterPanel::drawOwnerButton(HDC dc, int id, bool pressed, const RECT& rect) {
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SelectGuard font(dc, theCanvas.uiFont.get());
    char label[kRowTextSize + 8] = {};
    if (id == kRowMoveXUnitId || id == kRowMoveYUnitId) {
        const int factor = moveUnitFactor[id == kRowMoveXUnitId ? 0 : 1];
        lstrcpyA(label, factor == kMoveFactorMetres ? text::kMetres : text::kMillimetres);
    } else if (id == kRowAngleUnitId) {
        lstrcpyA(label, angleUnitFactor == kRadianFactor ? text::kRadians : text::kDegrees);
    } else if (id == kScaleButtonId) {
        label[0] = 'X';
        label[1] = ' ';
        formatBoxNumber(theCanvas.view.scale, true, label + 2);
    }
    TextOutA(dc, uiPixels(3), uiPixels(2), label, lstrlenA(label));
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

void ParameterPanel::setHint(const char* text) {
    lstrcpynA(hintText, text, kHintSize);
    redrawNow(statusStrip);
}

void ParameterPanel::showScale() {
    redrawNow(scaleButton);
    theScaleDialog.followView();
}

void ParameterPanel::rowsChanged() {
    model.update(readCopyInputs());
    theCanvas.invalidate();
    updateOutputReadout();
}

bool ParameterPanel::isValueBox(HWND window) const {
    for (const ParameterRowControls& row : rows)
        if (row.valueEdit == window) return true;
    return false;
}

CopyInputs ParameterPanel::readCopyInputs() {
    CopyInputs in;
    for (int r = 0; r < kRowCount; ++r) {
        valueText(rows[r].editId, in.rowText[r]);
        in.rowSlider[r] = sliderPosition(rows[r].sliderId);
    }
    in.moveUnitFactor[0] = moveUnitFactor[0];
    in.moveUnitFactor[1] = moveUnitFactor[1];
    in.angleUnitFactor = angleUnitFactor;
    in.keepAttributes = SendMessageA(keepAttributesBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return in;
}

void ParameterPanel::notePreview(const PreviewResult& result) {
    if (result.drawn == preview.drawn && result.wanted == preview.wanted &&
        result.clamped == preview.clamped)
        return;
    preview = result;
    if (statusStrip) InvalidateRect(statusStrip, nullptr, TRUE);
}

void ParameterPanel::loadLastValues(const std::string& path) {
    settingsPath = path;
    const Settings settings = path.empty() ? Settings() : readSettings(path.c_str());
    hasLastValues = settings.hasLast;
    if (hasLastValues) lastValues = settings.last;
    SendMessageA(keepAttributesBox, BM_SETCHECK,
                 settings.keepAttributes ? BST_CHECKED : BST_UNCHECKED, 0);
    enableLastValues();
    rowsChanged();
}

void ParameterPanel::storeSettings(bool withLastValues) {
    Settings settings;
    settings.keepAttributes = model.inputs.keepAttributes;
    settings.hasLast = hasLastValues;
    settings.last = lastValues;
    if (withLastValues) {
        settings.last.rows = model.inputs;
        settings.hasLast = storableRows(model.inputs);
    }
    // A folder that cannot be written just means nothing is remembered: nobody is told.
    if (settingsPath.empty() || !writeSettings(settingsPath.c_str(), settings)) return;
    if (!withLastValues) return;
    lastValues = settings.last;
    hasLastValues = settings.hasLast;
    enableLastValues();
}

void ParameterPanel::storeLastValues() {
    storeSettings(true);
}

void ParameterPanel::restoreLastValues() {
    if (!hasLastValues) return;
    const CopyInputs& in = lastValues.rows;
    moveUnitFactor[0] = in.moveUnitFactor[0];
    moveUnitFactor[1] = in.moveUnitFactor[1];
    angleUnitFactor = in.angleUnitFactor;
    SendMessageA(keepAttributesBox, BM_SETCHECK, in.keepAttributes ? BST_CHECKED : BST_UNCHECKED,
                 0);
    // Each text set would report itself and evaluate half-set rows; the model takes them once.
    settingRows = true;
    for (int r = 0; r < kRowCount; ++r) {
        SetWindowTextA(rows[r].valueEdit, in.rowText[r]);
        SendMessageA(rows[r].slider, TBM_SETPOS, TRUE, in.rowSlider[r]);
        if (rows[r].unitButton) InvalidateRect(rows[r].unitButton, nullptr, TRUE);
    }
    settingRows = false;
    updatePercentBoxes();
    rowsChanged();
}

void ParameterPanel::enableLastValues() {
    EnableWindow(lastValuesButton, hasLastValues ? TRUE : FALSE);
}

// The panel procedure: one small handler per message, then the static control's own.

namespace {

void onPanelCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == EN_UPDATE) {
        if (!thePanel.settingRows && thePanel.isValueBox(reinterpret_cast<HWND>(lParam)))
            thePanel.rowsChanged();
        return;
    }
    switch (LOWORD(wParam)) {
        case kCompleteButtonId:
            completeCommand();
            break;
        case kBasePointButtonId:
            basePointCommand();
            break;
        case kKeepAttributesId:
            thePanel.rowsChanged();
            thePanel.storeSettings(false);  // the check box is remembered as it is left
            break;
        case kLastValuesButtonId:
            thePanel.restoreLastValues();
            break;
        default:
            if (thePanel.toggleUnit(LOWORD(wParam))) thePanel.rowsChanged();
            InvalidateRect(reinterpret_cast<HWND>(lParam), nullptr, TRUE);
            break;
    }
}

void onPanelSlider() {
    thePanel.updatePercentBoxes();
    thePanel.rowsChanged();
}

}  // namespace

LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            thePanel.paintLabels();
            break;
        case WM_DRAWITEM:
            thePanel.drawItem(wParam, lParam);
            drawTabFocus(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            break;
        case WM_COMMAND:
            onPanelCommand(wParam, lParam);
            break;
        case WM_HSCROLL:
            onPanelSlider();
            break;
    }
    return CallWindowProcA(thePanel.previousPanelProc, window, message, wParam, lParam);
}
