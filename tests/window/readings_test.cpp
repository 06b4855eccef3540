// What the panel says about a typed text: the value box's mark, the status strip's note, the
// readout and the completion while a text is not a finite number, the row typed into at 0 %,
// and the boxes' 127 bytes.

#include <windows.h>

#include <climits>
#include <string>

#include "app/app_win.h"
#include "app/status_notes.h"
#include "app/texts.h"
#include "tests/window/window_harness.h"

using namespace harness;

namespace {

// The pixels of one colour in a window, as the paint the message loop would do next leaves it.
int pixelsOf(HWND window, COLORREF colour, int fromX = 0) {
    const uint32_t wanted = rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return countShown(window, fromX, INT_MAX, [&](uint32_t c) { return c == wanted; });
}

int boxPixels(int row, COLORREF colour) {
    return pixelsOf(app().panel.rows[row].valueEdit, colour);
}

// The notes' black text right of the panel.
int notePixels() {
    return pixelsOf(app().strip.strip, RGB(0, 0, 0), 140);
}

using Readings = WindowTest;

TEST_F(Readings, MarksNotesAndTheRefusalAtCompletion) {
    const int before = notePixels();
    setRowText(kRowMoveX, "12abc");
    EXPECT_GT(boxPixels(kRowMoveX, kPartialColour), 20);
    EXPECT_EQ(valueNote(app().model), std::string(text::kRowLabels[kRowMoveX]) +
                                          text::kReadInPartAs + "12" + text::kReadInPartAfter);
    EXPECT_GT(notePixels(), before + 100) << "the strip shows the note";

    setRowText(kRowScaleX, "2/0");
    EXPECT_GT(boxPixels(kRowScaleX, kNotFiniteColour), 10);
    EXPECT_FALSE(app().model.writable);
    EXPECT_EQ(outputReadout(app().model), std::string(text::kOutputRowNotFiniteBefore) +
                                              text::kRowLabels[kRowScaleX] +
                                              text::kOutputRowNotFiniteAfter);
    const std::string file = readFile("JWC_TEMP.TXT");
    BoxAnswerer ok({{text::kConfirm, IDYES}, {text::kWriteFailedCaption, IDOK}});
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(kCompleteButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.completeButton));
    ok.finish();
    pump();
    ASSERT_TRUE(ok.seen()[1].found) << "explained instead of written";
    EXPECT_EQ(ok.seen()[1].text.rfind(text::kRowLabels[kRowScaleX], 0), 0u) << ok.seen()[1].text;
    EXPECT_FALSE(quitSeen);
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), file);

    setRowText(kRowScaleX, "1.0");
    setRowText(kRowMoveX, "120");
    EXPECT_EQ(boxPixels(kRowMoveX, kPartialColour), 0);
    EXPECT_EQ(boxPixels(kRowScaleX, kNotFiniteColour), 0);
    EXPECT_EQ(valueNote(app().model), "");
    EXPECT_TRUE(app().model.writable);
}

TEST_F(Readings, ARowAtZeroPercentSaysItCountsOnceItsSliderMoves) {
    moveSlider(kRowAngle, 0);
    const int before = notePixels();
    setRowText(kRowAngle, "15");
    EXPECT_EQ(valueNote(app().model),
              std::string(text::kRowLabels[kRowAngle]) + text::kSliderAtZeroAfter);
    EXPECT_GT(notePixels(), before + 100);
    moveSlider(kRowAngle, 50);
    EXPECT_EQ(valueNote(app().model), "");
    EXPECT_EQ(notePixels(), before);
}

// A text cut at the 127th byte keeps no half of a double-byte character; typing stops there.
TEST_F(Readings, BoxesHold127BytesOfWholeCharacters) {
    std::string sum;
    for (int i = 0; i < 63; ++i) sum += "1+";
    HWND edit = app().panel.rows[kRowMoveY].valueEdit;
    setRowText(kRowMoveY, (sum + "\x82\x50").c_str());  // a full-width 1 as its 127th byte
    EXPECT_EQ(windowText(edit), sum);
    EXPECT_EQ(std::string(app().model.inputs.rowText[kRowMoveY]), sum);
    setRowText(kRowMoveY, (sum + "1").c_str());
    SendMessageA(edit, EM_SETSEL, 127, 127);
    SendMessageA(edit, WM_CHAR, '0', 0);
    EXPECT_EQ(windowText(edit), sum + "1");
    EXPECT_EQ(readRowText(kRowMoveY, app().model.inputs.rowText[kRowMoveY]).value, 64.0);
}

}  // namespace
