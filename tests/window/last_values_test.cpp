// "前回値": the rows a completed run stored in zovrel.ini, brought back by the button in the
// next run; a damaged file or a folder that cannot be written leaves the button disabled.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/app_win.h"
#include "app/main_window_win.h"
#include "figure/reader.h"
#include "tests/window/window_harness.h"

using namespace harness;

namespace {

constexpr char kConfirm[] = "確認";

void press(int id, HWND button) {
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    UpdateWindow(app().canvas.window);
}

// Yes to the confirmation; true when the program went on to end.
bool complete() {
    BoxAnswerer answerer({{kConfirm, IDYES}});
    press(kCompleteButtonId, app().panel.completeButton);
    answerer.finish();
    pump();
    const bool ended = answerer.seen()[0].found && quitSeen;
    quitSeen = false;
    return ended;
}

bool buttonEnabled() {
    return IsWindowEnabled(app().panel.lastValuesButton) != FALSE;
}

void expectStartupRows() {
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(windowText(app().panel.rows[r].valueEdit), startup.rowText[r]);
    EXPECT_EQ(app().model.inputs.moveUnitFactor[0], startup.moveUnitFactor[0]);
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
    press(kRowMoveXUnitId, app().panel.rows[kRowMoveX].unitButton);
    press(kRowAngleUnitId, app().panel.rows[kRowAngle].unitButton);
    setRowText(kRowMoveX, "0.05");
    setRowText(kRowAngle, "(1+2)/6");
    const CopyInputs sent = app().model.inputs;
    ASSERT_TRUE(complete());
    const std::string firstRun = readFile("JWC_TEMP.TXT");
    const std::string stored = readFile(settingsPath());
    ASSERT_NE(stored.find("angle=(1+2)/6\r\n"), std::string::npos) << stored;

    // The next run: a fresh exchange file, the start-up rows, the file read at start-up.
    ASSERT_TRUE(restartProgram());
    expectStartupRows();  // only the button brings them back
    ASSERT_TRUE(buttonEnabled());
    const int repaints = canvasPaints();
    press(kLastValuesButtonId, app().panel.lastValuesButton);
    EXPECT_GT(canvasPaints(), repaints) << "the preview follows";
    EXPECT_EQ(app().model.params.copies, 3) << "and the model";
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(windowText(app().panel.rows[r].valueEdit), sent.rowText[r]) << "row " << r + 1;
        EXPECT_EQ(SendMessageA(app().panel.rows[r].slider, TBM_GETPOS, 0, 0), sliders[r]);
        EXPECT_EQ(windowText(app().panel.rows[r].percentBox), std::to_string(sliders[r]) + "%");
    }
    EXPECT_EQ(app().model.inputs.moveUnitFactor[0], kMoveFactorMetres);
    EXPECT_EQ(app().model.inputs.angleUnitFactor, kRadianFactor);
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
    ASSERT_TRUE(restartProgram());
    EXPECT_FALSE(buttonEnabled());
    press(kLastValuesButtonId, app().panel.lastValuesButton);  // as if it could be pressed
    expectStartupRows();

    // A folder that does not exist stands for one that cannot be written: the run completes,
    // nothing is said, nothing remembered.
    const std::string nowhere = programDirectory + "\\missing\\zovrel.ini";
    app().settings.load(nowhere);
    app().panel.enableLastValues(app().settings.hasLastValues());
    EXPECT_FALSE(buttonEnabled());
    ASSERT_TRUE(complete());
    EXPECT_FALSE(app().settings.hasLastValues());
    EXPECT_EQ(GetFileAttributesA(nowhere.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A file damaged anywhere is ignored whole: a line the program never writes after the check
// box's line leaves the box off.
TEST_F(LastValuesButton, AFileDamagedAnywhereLeavesTheCheckBoxOffToo) {
    writeFile(settingsPath(), "[zovrel]\r\nkeep-attributes=1\r\nbroken\r\n");
    ASSERT_TRUE(restartProgram());
    EXPECT_EQ(SendMessageA(app().panel.keepAttributesBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(app().model.params.keepAttributes);
    writeFile(settingsPath(), "[zovrel]\r\nkeep-attributes=1\r\n");
    ASSERT_TRUE(restartProgram());
    EXPECT_EQ(SendMessageA(app().panel.keepAttributesBox, BM_GETCHECK, 0, 0), BST_CHECKED);
    DeleteFileA(settingsPath().c_str());
    ASSERT_TRUE(restartProgram());
}

}  // namespace

namespace {

bool keepChecked() {
    return SendMessageA(app().panel.keepAttributesBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The program started on the selection with attributes and texts, for one test.
class KeepAttributes : public LastValuesButton {
  protected:
    void SetUp() override {
        LastValuesButton::SetUp();
        text_ = readFile(ZOVREL_SAMPLES "/attributes.txt");
        ASSERT_FALSE(text_.empty());
        ASSERT_TRUE(restartProgram(text_));
    }
    void TearDown() override {
        DeleteFileA(settingsPath().c_str());
        ASSERT_TRUE(restartProgram());
        LastValuesButton::TearDown();
    }
    std::string text_;
};

}  // namespace

// Off by default; on, the completion writes what the batch tool writes with --keep-attributes;
// the check box is remembered as it is left, and a new start takes it up again.
TEST_F(KeepAttributes, CheckBoxCopiesAttributesAndTextsAndIsRemembered) {
    ASSERT_FALSE(keepChecked());
    EXPECT_EQ(windowText(app().panel.keepAttributesBox), "属性・文字も複写");
    EXPECT_EQ(GetWindowLongA(app().panel.keepAttributesBox, GWL_STYLE) & 0xF, BS_AUTOCHECKBOX);
    EXPECT_EQ(GetDlgCtrlID(app().panel.keepAttributesBox), kKeepAttributesId);
    ASSERT_GT(app().figure.texts.size(), 0u);
    EXPECT_GT(app().model.textsLeftOut(), 0) << "the status note counts them";
    const char* const texts[6] = {"150", "0", "30", "1.0", "1.0", "3"};
    const int sliders[6] = {100, 0, 100, 100, 100, 100};
    setRows(texts, sliders);
    SendMessageA(app().panel.keepAttributesBox, BM_SETCHECK, BST_CHECKED, 0);
    press(kKeepAttributesId, app().panel.keepAttributesBox);
    EXPECT_TRUE(app().model.params.keepAttributes);
    EXPECT_EQ(app().model.textsLeftOut(), 0);
    EXPECT_NE(readFile(settingsPath()).find("\r\nkeep-attributes=1\r\n"), std::string::npos)
        << "remembered as soon as it is left so";

    writeFile("batch.txt", readFile("JWC_TEMP.TXT"));
    ASSERT_TRUE(
        runBatchTool("--move-x 150 --move-y 0@0 --angle 30 --scale-x 1.0 --scale-y 1.0 "
                     "--copies 3 --base 0,0 --keep-attributes batch.txt"));
    const std::string expected = readFile("batch.txt");
    DeleteFileA("batch.txt");
    ASSERT_NE(expected.find("\nch "), std::string::npos);
    app().model.copies.baseX = app().model.copies.baseY = 0;
    ASSERT_TRUE(complete());
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), expected);

    // The next start: the check box as it was left.
    ASSERT_TRUE(restartProgram(text_));
    EXPECT_TRUE(keepChecked());
    EXPECT_TRUE(app().model.params.keepAttributes);
}

// "前回値" that ticks the check box leaves it ticked for the next start too, as a click would.
TEST_F(KeepAttributes, LastValuesRememberTheCheckBoxTheyPutBack) {
    SendMessageA(app().panel.keepAttributesBox, BM_SETCHECK, BST_CHECKED, 0);
    press(kKeepAttributesId, app().panel.keepAttributesBox);
    ASSERT_TRUE(complete());
    ASSERT_TRUE(restartProgram(text_));
    SendMessageA(app().panel.keepAttributesBox, BM_SETCHECK, BST_UNCHECKED, 0);
    press(kKeepAttributesId, app().panel.keepAttributesBox);
    ASSERT_FALSE(keepChecked());
    press(kLastValuesButtonId, app().panel.lastValuesButton);
    ASSERT_TRUE(keepChecked());
    ASSERT_TRUE(restartProgram(text_));  // closed without sending
    EXPECT_TRUE(keepChecked());
}
