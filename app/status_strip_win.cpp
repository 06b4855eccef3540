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
    const std::string note =
        previewNote(thePanel.preview) + textsNote(thePanel.model.textsLeftOut());
    if (!note.empty()) {
        x += extent.cx + (hintLength > 0 ? uiPixels(12) : 0);
        TextOutA(dc.get(), x, uiPixels(5), note.c_str(), static_cast<int>(note.size()));
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
