#include "app/status_strip_win.h"

#include <commctrl.h>

#include <string>

#include "app/app_win.h"
#include "app/base_point_text.h"
#include "app/commands_win.h"
#include "app/owner_button_win.h"
#include "app/panel_values.h"
#include "app/status_notes.h"
#include "view/gdi_win.h"
#include "view/window_idioms_win.h"

namespace {

constexpr COLORREF kStandingNoteColour = RGB(112, 112, 112);
constexpr int kReadoutGap = 8;  // between the readout and its neighbours
constexpr int kNoteGap = 12;    // between the hint and the notes

int textWidth(HDC dc, const std::string& text) {
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

// "出力 N 個 / M 要素", right-aligned before the scale button, unless it would reach left of
// textEnd, the end of the hint and the notes (these matter more while they are shown).
void paintReadout(const App& app, HDC dc, int textEnd) {
    const std::string line = outputReadout(app.model);
    RECT button{};
    GetWindowRect(app.strip.scaleButton, &button);
    MapWindowPoints(HWND_DESKTOP, app.strip.strip, reinterpret_cast<POINT*>(&button), 2);
    const int gap = app.px(kReadoutGap);
    const int left = button.left - gap - textWidth(dc, line);
    if (left < textEnd + gap) return;
    // The copies' own colour: the readout counts them.
    const COLORREF previous = SetTextColor(dc, kCopyColour);
    TextOutA(dc, left, app.px(5), line.c_str(), static_cast<int>(line.size()));
    SetTextColor(dc, previous);
}

void onStripPaint(const App& app, HWND window) {
    PaintDc dc(window);
    // The notes change length; clear what an earlier, longer text left behind.
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
    SelectGuard font(dc.get(), app.font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    const int panelRight = clientSize(app.panel.panel).cx;
    const std::string hint = app.strip.hint;
    TextOutA(dc.get(), panelRight, app.px(5), hint.c_str(), static_cast<int>(hint.size()));
    int end = panelRight + textWidth(dc.get(), hint);
    // How the rows were read and what the preview left out, in black like the hint; what the
    // copies leave out of the selection, a standing remark rather than news, in grey.
    const std::string notes[3] = {valueNote(app.model), previewNote(app.preview),
                                  leftOutNote(app.model.leftOut)};
    const COLORREF colours[3] = {GetTextColor(dc.get()), GetTextColor(dc.get()),
                                 kStandingNoteColour};
    for (int i = 0; i < 3; ++i) {
        const std::string& note = notes[i];
        if (note.empty()) continue;
        const int x = end + (end > panelRight ? app.px(kNoteGap) : 0);
        const COLORREF previous = SetTextColor(dc.get(), colours[i]);
        TextOutA(dc.get(), x, app.px(5), note.c_str(), static_cast<int>(note.size()));
        SetTextColor(dc.get(), previous);
        end = x + textWidth(dc.get(), note);
    }
    paintReadout(app, dc.get(), end);
}

void onScaleButtonDraw(const App& app, const OwnerDrawItem& item) {
    char label[kRowTextSize + 8];
    scaleLabel(app.view.scale, label, sizeof label);
    drawRaisedButton(item.dc, item.rect, item.pressed, label, app.font.get(), app.dpi);
}

// "基点 X, Y" with as many of two decimals as the button has room for.
void onBaseButtonDraw(const App& app, const OwnerDrawItem& item) {
    const double x = app.model.copies.baseX, y = app.model.copies.baseY;
    std::string label;
    {
        SelectGuard font(item.dc, app.font.get());
        const int room = (item.rect.right - item.rect.left) - app.px(6);
        for (int decimals = 2; decimals >= 0; --decimals) {
            label = basePointLabel(x, y, decimals);
            if (textWidth(item.dc, label) <= room) break;
        }
    }
    drawRaisedButton(item.dc, item.rect, item.pressed, label.c_str(), app.font.get(), app.dpi);
}

}  // namespace

void scaleLabel(double scale, char* label, int size) {
    char number[kRowTextSize];
    formatBoxNumber(scale, true, number);
    lstrcpynA(label, "X ", size);
    lstrcpynA(label + 2, number, size - 2);
}

void StatusStrip::create(HWND main, HINSTANCE instance, HFONT font, int dpi) {
    // Every window of the bar clips its children: each paints only itself, in any order.
    bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | SBARS_SIZEGRIP | CCS_BOTTOM,
                              "", main, kStatusBarId);
    SendMessageA(bar, SB_SETTEXTA, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(""));
    RECT r{};
    GetWindowRect(bar, &r);
    strip = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                            (r.right - r.left) - scaled(kSizeGrip, dpi), r.bottom - r.top, bar,
                            idAsMenu(kStatusStripId), instance, nullptr);
    setFont(strip, font);
    scaleButton = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                  scaled(110, dpi), scaled(kScaleButtonTop, dpi),
                                  scaled(kScaleButtonWidth, dpi), scaled(kScaleButtonHeight, dpi),
                                  strip, idAsMenu(kScaleButtonId), instance, nullptr);
    const PixelBox base = scaledRect(kBaseButtonBox, dpi);
    baseButton =
        CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, base.x, base.y,
                        base.w, base.h, strip, idAsMenu(kBaseButtonId), instance, nullptr);
    previousProc = subclass(strip, statusStripProc);
}

void StatusStrip::layout(WPARAM wParam, LPARAM lParam, int dpi) {
    SendMessageA(bar, WM_SIZE, wParam, lParam);
    const SIZE client = clientSize(bar);
    const int grip = scaled(kSizeGrip, dpi);
    // A minimised window has no room: no zero or negative size may reach a window.
    if (client.cx - grip > 0 && client.cy > 0)
        MoveWindow(strip, 0, 0, client.cx - grip, client.cy, TRUE);
    const int width = scaled(kScaleButtonWidth, dpi);
    int x = client.cx - width - grip;
    if (x < scaled(kScaleButtonMinX, dpi)) x = scaled(kScaleButtonMinX, dpi);
    MoveWindow(scaleButton, x, scaled(kScaleButtonTop, dpi), width, scaled(kScaleButtonHeight, dpi),
               TRUE);
    const PixelBox base = scaledRect(kBaseButtonBox, dpi);
    MoveWindow(baseButton, base.x, base.y, base.w, base.h, TRUE);
}

void StatusStrip::setHint(const char* text) {
    lstrcpynA(hint, text, kHintSize);
    invalidate();
}

void StatusStrip::invalidate() {
    ::invalidate(strip);
}

void StatusStrip::showScale() {
    ::invalidate(scaleButton);
}

void StatusStrip::showBase() {
    ::invalidate(baseButton);
}

LRESULT CALLBACK statusStripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    App& app = appOf(window);
    switch (message) {
        case WM_PAINT:
            onStripPaint(app, window);
            break;
        case WM_DRAWITEM: {
            const OwnerDrawItem item = ownerDrawItem(wParam, lParam);
            if (item.id == kScaleButtonId) onScaleButtonDraw(app, item);
            if (item.id == kBaseButtonId) onBaseButtonDraw(app, item);
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kScaleButtonId) showScaleDialog(app);
            if (LOWORD(wParam) == kBaseButtonId) showBaseDialog(app);
            return 0;
    }
    return CallWindowProcA(app.strip.previousProc, window, message, wParam, lParam);
}
