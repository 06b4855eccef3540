// "前回値": the rows a completed run stored in zovrel.ini, brought back by the button in the
// next run; a damaged file or a folder that cannot be written leaves the button disabled.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/globals_win.h"
#include "app/main_window_win.h"
#include "figure/reader.h"
#include "tests/window/window_harness.h"

using namespace harness;

namespace {

constexpr char kConfirm[] = "確認";

void press(int id, HWND button) {
    SendMessageA(thePanel.panel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    UpdateWindow(theCanvas.window);
}

// Yes to the confirmation; true when the program went on to end.
bool complete() {
    BoxAnswerer answerer({{kConfirm, IDYES}});
    press(kCompleteButtonId, thePanel.completeButton);
    answerer.finish();
    pump();
    const bool ended = answerer.seen()[0].found && quitSeen;
    quitSeen = false;
    return ended;
}

bool buttonEnabled() {
    return IsWindowEnabled(thePanel.lastValuesButton) != FALSE;
}

// The panel as a fresh start leaves it.
void startupRows() {
    thePanel.moveUnitFactor[0] = startup.moveUnitFactor[0];
    thePanel.moveUnitFactor[1] = startup.moveUnitFactor[1];
    thePanel.angleUnitFactor = startup.angleUnitFactor;
    for (int r = 0; r < 6; ++r) {
        setRowText(r, startup.rowText[r].c_str());
        moveSlider(r, startup.slider[r]);
    }
}

void expectStartupRows() {
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(windowText(thePanel.rows[r].valueEdit), startup.rowText[r]);
    EXPECT_EQ(thePanel.model.inputs.moveUnitFactor[0], startup.moveUnitFactor[0]);
}

class LastValuesButton : public WindowTest {
  protected:
    void TearDown() override {
        DeleteFileA(settingsPath().c_str());
        writeFile("JWC_TEMP.TXT", kFigureText);
        WindowTest::TearDown();
    }
};

TEST_F(LastValuesButton, PutsBackTheRowsOfTheLastCompletedRun) {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    const std::string folder(program, std::string(program).rfind('\\') + 1);
    EXPECT_EQ(settingsBesideProgram(), folder + "zovrel.ini");
    // Metres, radians, a calculation and every slider moved.
    const char* const texts[6] = {"120", "20", "90", "1.5", "0.5", "3"};
    const int sliders[6] = {100, 50, 70, 100, 90, 100};
    setRows(texts, sliders);
    press(kRowMoveXUnitId, thePanel.rows[kRowMoveX].unitButton);
    press(kRowAngleUnitId, thePanel.rows[kRowAngle].unitButton);
    setRowText(kRowMoveX, "0.05");
    setRowText(kRowAngle, "(1+2)/6");
    const CopyInputs sent = thePanel.model.inputs;
    ASSERT_TRUE(complete());
    const std::string firstRun = readFile("JWC_TEMP.TXT");
    const std::string stored = readFile(settingsPath());
    ASSERT_NE(stored.find("angle=(1+2)/6\r\n"), std::string::npos) << stored;
    EXPECT_TRUE(buttonEnabled());

    // The next run: a fresh exchange file, the start-up rows, the file read at start-up.
    writeFile("JWC_TEMP.TXT", kFigureText);
    startupRows();
    thePanel.loadLastValues(settingsPath());
    expectStartupRows();  // only the button brings them back
    ASSERT_TRUE(buttonEnabled());
    const int repaints = theCanvas.repaints;
    press(kLastValuesButtonId, thePanel.lastValuesButton);
    EXPECT_GT(theCanvas.repaints, repaints) << "the preview follows";
    EXPECT_EQ(thePanel.model.params.copies, 3) << "and the model";
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(windowText(thePanel.rows[r].valueEdit), sent.rowText[r]) << "row " << r + 1;
        EXPECT_EQ(SendMessageA(thePanel.rows[r].slider, TBM_GETPOS, 0, 0), sliders[r]);
        EXPECT_EQ(windowText(thePanel.rows[r].percentBox), std::to_string(sliders[r]) + "%");
    }
    EXPECT_EQ(thePanel.moveUnitFactor[0], kMoveFactorMetres);
    EXPECT_EQ(thePanel.angleUnitFactor, kRadianFactor);
    Dib metres(23, 18), expected(23, 18);
    drawOwnerButton(metres, kRowMoveXUnitId, false);
    drawLabelReference(expected, "m");
    EXPECT_TRUE(sameInside(metres, expected));
    ASSERT_TRUE(complete());
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), firstRun);
    EXPECT_EQ(readFile(settingsPath()), stored);
}

TEST_F(LastValuesButton, DamagedFileOrUnwritableFolderLeavesItDisabled) {
    writeFile(settingsPath(), "[zovrel]\r\nmove-x=12\r\nmove-x-slider=101\r\n");
    thePanel.loadLastValues(settingsPath());
    EXPECT_FALSE(buttonEnabled());
    press(kLastValuesButtonId, thePanel.lastValuesButton);  // as if it could be pressed
    expectStartupRows();

    // A folder that does not exist stands for one that cannot be written: the run completes,
    // nothing is said, nothing remembered.
    const std::string nowhere = programDirectory + "\\missing\\zovrel.ini";
    thePanel.loadLastValues(nowhere);
    EXPECT_FALSE(buttonEnabled());
    ASSERT_TRUE(complete());
    EXPECT_FALSE(buttonEnabled());
    EXPECT_EQ(GetFileAttributesA(nowhere.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace

namespace {

bool keepChecked() {
    return SendMessageA(thePanel.keepAttributesBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The figure the program works on, for one test: the selection with attributes and texts.
class KeepAttributes : public LastValuesButton {
  protected:
    void SetUp() override {
        LastValuesButton::SetUp();
        saved_ = theFigure;
        const std::string text = readFile(ZOVREL_SAMPLES "/attributes.txt");
        ASSERT_FALSE(text.empty());
        writeFile("JWC_TEMP.TXT", text);
        theFigure = Figure();
        loadFigureFromMemory(text.data(), text.size(), theFigure);
        theFigureBounds = figureBounds(theFigure);
        theFigureReach = figureReach(theFigure);
        thePanel.model.setFigure(theFigure);
    }
    void TearDown() override {
        SendMessageA(thePanel.keepAttributesBox, BM_SETCHECK, BST_UNCHECKED, 0);
        theFigure = saved_;
        theFigureBounds = figureBounds(theFigure);
        theFigureReach = figureReach(theFigure);
        thePanel.model.setFigure(theFigure);
        LastValuesButton::TearDown();
    }
    Figure saved_;
};

}  // namespace

// Off by default; on, the completion writes what the batch tool writes with --keep-attributes;
// the check box is remembered as it is left, and a new start takes it up again.
TEST_F(KeepAttributes, CheckBoxCopiesAttributesAndTextsAndIsRemembered) {
    ASSERT_FALSE(keepChecked());
    EXPECT_EQ(windowText(thePanel.keepAttributesBox), "属性・文字も複写");
    EXPECT_EQ(GetWindowLongA(thePanel.keepAttributesBox, GWL_STYLE) & 0xF, BS_AUTOCHECKBOX);
    EXPECT_EQ(GetDlgCtrlID(thePanel.keepAttributesBox), kKeepAttributesId);
    ASSERT_GT(theFigure.texts.size(), 0u);
    EXPECT_GT(thePanel.model.textsLeftOut(), 0) << "the status note counts them";
    const char* const texts[6] = {"150", "0", "30", "1.0", "1.0", "3"};
    const int sliders[6] = {100, 0, 100, 100, 100, 100};
    setRows(texts, sliders);
    SendMessageA(thePanel.keepAttributesBox, BM_SETCHECK, BST_CHECKED, 0);
    press(kKeepAttributesId, thePanel.keepAttributesBox);
    EXPECT_TRUE(thePanel.model.params.keepAttributes);
    EXPECT_EQ(thePanel.model.textsLeftOut(), 0);
    EXPECT_NE(readFile(settingsPath()).find("\r\nkeep-attributes=1\r\n"), std::string::npos)
        << "remembered as soon as it is left so";

    writeFile("batch.txt", readFile("JWC_TEMP.TXT"));
    ASSERT_TRUE(
        runBatchTool("--move-x 150 --move-y 0@0 --angle 30 --scale-x 1.0 --scale-y 1.0 "
                     "--copies 3 --base 0,0 --keep-attributes batch.txt"));
    const std::string expected = readFile("batch.txt");
    DeleteFileA("batch.txt");
    ASSERT_NE(expected.find("\nch "), std::string::npos);
    theCopyArray.baseX = theCopyArray.baseY = 0;
    ASSERT_TRUE(complete());
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), expected);

    // The next start: the check box as it was left.
    SendMessageA(thePanel.keepAttributesBox, BM_SETCHECK, BST_UNCHECKED, 0);
    thePanel.loadLastValues(settingsPath());
    EXPECT_TRUE(keepChecked());
    EXPECT_TRUE(thePanel.model.params.keepAttributes);
}
