#include "app/output_readout_win.h"

#include <charconv>
#include <string>

#include "app/child_layout_win.h"
#include "app/globals_win.h"
#include "app/texts.h"
#include "copyarray/output_count.h"

namespace {

constexpr int kReadoutGap = 8;  // pixels (at 96 DPI) between the readout and its neighbours

// What the readout says: the count, or that the completion would refuse to write.
struct Readout {
    OutputCount count;
    bool writable = true;
    bool operator!=(const Readout& o) const { return count != o.count || writable != o.writable; }
};

Readout latest;  // as of the last change of the rows or the base point
Readout shown;

Readout current() {
    return {thePanel.model.output,
            copiesRepresentable(theFigure, theFigureReach, theCopyArray, thePanel.model.params)};
}

template <class T>
void append(std::string& s, T value) {
    char digits[24];
    s.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

}  // namespace

void updateOutputReadout() {
    if (!thePanel.statusStrip) return;
    // The scale button lies on the strip, which does not clip its children: redraw it too.
    latest = current();
    if (latest != shown)
        RedrawWindow(thePanel.statusStrip, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void paintOutputReadout(HDC dc, int textEnd) {
    shown = latest;
    std::string line = text::kOutputNotWritable;
    if (shown.writable) {
        line = text::kOutputBefore;
        append(line, shown.count.copies);
        line += text::kOutputMiddle;
        append(line, shown.count.elements);
        line += text::kOutputAfter;
    }
    RECT button{};
    GetWindowRect(thePanel.scaleButton, &button);
    MapWindowPoints(HWND_DESKTOP, thePanel.statusStrip, reinterpret_cast<POINT*>(&button), 2);
    SIZE extent{};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &extent);
    const int gap = uiPixels(kReadoutGap);
    const int left = button.left - gap - extent.cx;
    if (left < textEnd + gap) return;
    // The copies' own colour: the readout counts them.
    const COLORREF previous = SetTextColor(dc, kCopyColour);
    TextOutA(dc, left, uiPixels(5), line.c_str(), static_cast<int>(line.size()));
    SetTextColor(dc, previous);
}
