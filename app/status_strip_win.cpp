// The status text strip: the hint, notes on the preview, and the scale button.

#include "app/status_strip_win.h"

#include <charconv>

#include "app/child_layout_win.h"
#include "app/globals_win.h"
#include "app/output_readout_win.h"
#include "app/parameter_panel_win.h"
#include "app/texts.h"
#include "view/gdi_win.h"

std::string previewNote(const PreviewResult& preview) {
    std::string note;
    if (preview.clamped) note += text::kCopiesClamped;
    if (preview.drawn < preview.wanted) {
        char count[16];
        *std::to_chars(count, count + sizeof count - 1, preview.drawn).ptr = '\0';
        note += text::kPreviewPartialBefore;
        note += count;
        note += text::kPreviewPartialAfter;
    }
    return note;
}

std::string textsNote(int64_t texts) {
    if (texts <= 0) return {};
    char count[24];
    *std::to_chars(count, count + sizeof count - 1, texts).ptr = '\0';
    return std::string(text::kTextsLeftOutBefore) + count + text::kTextsLeftOutAfter;
}

namespace {

constexpr COLORREF kStandingNoteColour = RGB(112, 112, 112);

void onStripPaint(HWND window) {
    PaintDc dc(window);
    // The notes change length; clear what an earlier, longer text left behind.
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
    SelectGuard font(dc.get(), theCanvas.uiFont.get());
    SetBkMode(dc.get(), TRANSPARENT);
    RECT panel{};
    GetClientRect(thePanel.panel, &panel);
    int x = panel.right;
    const int hintLength = lstrlenA(thePanel.hintText);
    TextOutA(dc.get(), x, uiPixels(5), thePanel.hintText, hintLength);
    SIZE extent{};
    GetTextExtentPoint32A(dc.get(), thePanel.hintText, hintLength, &extent);
    int end = x + extent.cx;
    // What the preview left out, in black like the hint; the texts the copies leave out, a
    // standing remark rather than news, in grey.
    const std::string notes[2] = {previewNote(thePanel.preview),
                                  textsNote(thePanel.model.textsLeftOut())};
    const COLORREF colours[2] = {GetTextColor(dc.get()), kStandingNoteColour};
    for (int i = 0; i < 2; ++i) {
        const std::string& note = notes[i];
        if (note.empty()) continue;
        x = end + (end > panel.right ? uiPixels(12) : 0);
        const COLORREF previous = SetTextColor(dc.get(), colours[i]);
        TextOutA(dc.get(), x, uiPixels(5), note.c_str(), static_cast<int>(note.size()));
        SetTextColor(dc.get(), previous);
        GetTextExtentPoint32A(dc.get(), note.c_str(), static_cast<int>(note.size()), &extent);
        end = x + extent.cx;
    }
    paintOutputReadout(dc.get(), end);
}

}  // namespace

LRESULT CALLBACK statusStripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            onStripPaint(window);
            break;
        case WM_DRAWITEM:
            thePanel.drawItem(wParam, lParam);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kScaleButtonId) theScaleDialog.show();
            return 0;
    }
    return CallWindowProcA(thePanel.previousStripProc, window, message, wParam, lParam);
}
