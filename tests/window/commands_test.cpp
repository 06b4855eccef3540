// "完了+JWWに送信" and closing the window: the confirmations, the file written, the quit.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/commands_win.h"
#include "app/main_window_win.h"
#include "app/status_notes.h"
#include "copyarray/writer.h"
#include "figure/reader.h"
#include "tests/window/window_harness.h"

using namespace harness;

namespace {

constexpr char kConfirm[] = "確認";
constexpr char kCompleteQuestion[] = "編集を完了し、JWWに戻ります。よろしいですか？";
constexpr char kQuitQuestion[] = "変更を反映せずに終了します。よろしいですか？";

void pressComplete() {
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.completeButton));
}

void pressBasePointButton() {
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(26, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.basePointButton));
}

bool quitPosted() {
    pump();
    return quitSeen;
}

// Everything a No must leave as it was.
struct Snapshot {
    std::string rows[6];
    int sliders[6];
    int units[2];
    double angleUnit;
    ViewMapping view;
    double baseX, baseY;
    int pick;
    std::string hint;

    static Snapshot take() {
        Snapshot s{};
        const CopyInputs in = controlsInputs();
        for (int r = 0; r < 6; ++r) {
            s.rows[r] = in.rowText[r];
            s.sliders[r] = in.rowSlider[r];
        }
        s.units[0] = in.moveUnitFactor[0];
        s.units[1] = in.moveUnitFactor[1];
        s.angleUnit = in.angleUnitFactor;
        s.view = app().view;
        s.baseX = app().model.copies.baseX;
        s.baseY = app().model.copies.baseY;
        s.pick = app().picking;
        s.hint = app().strip.hint;
        return s;
    }
};

void expectSame(const Snapshot& a, const Snapshot& b) {
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(a.rows[r], b.rows[r]) << "row " << r + 1;
        EXPECT_EQ(a.sliders[r], b.sliders[r]) << "row " << r + 1;
    }
    EXPECT_EQ(a.units[0], b.units[0]);
    EXPECT_EQ(a.units[1], b.units[1]);
    EXPECT_EQ(a.angleUnit, b.angleUnit);
    EXPECT_EQ(a.view.scale, b.view.scale);
    EXPECT_EQ(a.view.offsetX, b.view.offsetX);
    EXPECT_EQ(a.view.offsetY, b.view.offsetY);
    EXPECT_EQ(a.view.savedScale, b.view.savedScale);
    EXPECT_EQ(a.baseX, b.baseX);
    EXPECT_EQ(a.baseY, b.baseY);
    EXPECT_EQ(a.pick, b.pick);
    EXPECT_EQ(a.hint, b.hint);
}

// The names in a directory of the temporary directory.
std::vector<std::string> entriesOf(const std::string& name) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((name + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string entry = found.cFileName;
        if (entry != "." && entry != "..") names.push_back(entry);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// A directory named like the exchange file, holding one file of its own.
constexpr char kInside[] = "JWC_TEMP.TXT\\drawing.txt";
constexpr char kInsideText[] = "not the exchange file\r\n";

class Commands : public WindowTest {
  protected:
    void TearDown() override {
        const DWORD attributes = GetFileAttributesA("JWC_TEMP.TXT");
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            DeleteFileA(kInside);
            RemoveDirectoryA("JWC_TEMP.TXT");
        }
        SetFileAttributesA("JWC_TEMP.TXT", FILE_ATTRIBUTE_NORMAL);
        writeFile("JWC_TEMP.TXT", kFigureText);
        WindowTest::TearDown();
    }

    // Copies moved by (80, 30): 160 at 50 % and 30 at 100 %, no turn, scale 1, two copies.
    void useTwoMovedCopies() {
        const char* const texts[6] = {"160", "30", "90", "1.0", "1.0", "2"};
        const int sliders[6] = {50, 100, 0, 100, 100, 100};
        setRows(texts, sliders);
        app().model.copies.baseX = 10;
        app().model.copies.baseY = -20;
    }
};

TEST_F(Commands, CompletionAnsweredNoChangesNothing) {
    useTwoMovedCopies();
    pressBasePointButton();
    mouse(WM_MOUSEMOVE, 50, 60);
    const Snapshot before = Snapshot::take();
    BoxAnswerer answerer({{kConfirm, IDNO}});
    pressComplete();
    answerer.finish();
    ASSERT_TRUE(answerer.seen()[0].found) << "the confirmation was asked";
    EXPECT_EQ(answerer.seen()[0].text, kCompleteQuestion);
    EXPECT_EQ(answerer.seen()[0].owner, mainWindow) << "owned by the panel's top-level window";
    expectSame(Snapshot::take(), before);
    EXPECT_EQ(app().picking, 1) << "still picking";
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), kFigureText);
    EXPECT_FALSE(quitPosted());
}

TEST_F(Commands, CompletionAnsweredYesWritesTheCopiesAndEndsTheProgram) {
    useTwoMovedCopies();
    BoxAnswerer answerer({{kConfirm, IDYES}});
    pressComplete();
    answerer.finish();
    ASSERT_TRUE(answerer.seen()[0].found);
    const std::string expected =
        " 80.000000 30.000000 78.500000 28.500000\r\n"
        " 178.500000 78.500000 120.000000 40.000000\r\n"
        "pl\r\n"
        " 140.000000 50.000000 170.000000 50.000000\r\n"
        " 170.000000 50.000000 170.000000 70.000000\r\n"
        "#\r\n"
        "ci 110.000000 60.000000 5.000000\r\n"
        "pt 90.000000 50.000000\r\n"
        " 160.000000 60.000000 158.500000 58.500000\r\n"
        " 258.500000 108.500000 200.000000 70.000000\r\n"
        "pl\r\n"
        " 220.000000 80.000000 250.000000 80.000000\r\n"
        " 250.000000 80.000000 250.000000 100.000000\r\n"
        "#\r\n"
        "ci 190.000000 90.000000 5.000000\r\n"
        "pt 170.000000 80.000000\r\n";
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), expected);
    EXPECT_TRUE(quitPosted()) << "the program ends after writing";
    EXPECT_EQ(quitCode, 0u);
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

// Units switched, a turn, unequal scales and the base point left where pick mode put it:
// the file holds what the batch tool writes for the same inputs.
TEST_F(Commands, CompletionWritesWhatTheBatchToolWritesForTheSameInputs) {
    const char* const start[6] = {"120", "20", "90", "1.5", "0.5", "3"};
    const int sliders[6] = {100, 50, 100, 100, 100, 100};
    setRows(start, sliders);
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.rows[0].unitButton));
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(11, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.rows[2].unitButton));
    setRowText(0, "0.05");  // metres
    setRowText(2, "0.5");   // radians
    setView(0.5, 3, -7);
    pressBasePointButton();
    const int px = halfWidth() + 41, py = halfHeight() - 13;
    mouse(WM_MOUSEMOVE, px, py);

    CopyInputs inputs;
    const char* const texts[6] = {"0.05", "20", "0.5", "1.5", "0.5", "3"};
    for (int r = 0; r < 6; ++r) {
        inputs.setText(r, texts[r]);
        inputs.rowSlider[r] = sliders[r];
    }
    inputs.moveUnitFactor[0] = 1000;
    inputs.moveUnitFactor[1] = 1;
    inputs.angleUnitFactor = 1.0;
    Figure figure;
    loadFigureFromMemory(kFigureText, std::strlen(kFigureText), figure);
    CopyArray copies;
    copies.baseX = (px - halfWidth() + 3) * 0.5;
    copies.baseY = (halfHeight() - (-7) - py) * 0.5;
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    ASSERT_EQ(writeResultToStream(figure, copies, evaluateCopyParameters(inputs), stream), 1);
    std::rewind(stream);
    std::string expected;
    for (int c; (c = std::fgetc(stream)) != EOF;) expected += static_cast<char>(c);
    std::fclose(stream);
    ASSERT_GT(expected.size(), 500u);

    BoxAnswerer answerer({{kConfirm, IDYES}});
    pressComplete();
    answerer.finish();
    ASSERT_TRUE(answerer.seen()[0].found);
    EXPECT_EQ(app().model.copies.baseX, copies.baseX);
    EXPECT_EQ(app().model.copies.baseY, copies.baseY);
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), expected);
    EXPECT_TRUE(quitPosted());
}

TEST_F(Commands, CompletionOnAReadOnlyFileSaysSoAndKeepsRunning) {
    useTwoMovedCopies();
    ASSERT_TRUE(SetFileAttributesA("JWC_TEMP.TXT", FILE_ATTRIBUTE_READONLY));
    const Snapshot before = Snapshot::take();
    BoxAnswerer answerer({{kConfirm, IDYES}, {"Zovrel", IDOK}});
    pressComplete();
    answerer.finish();
    ASSERT_TRUE(answerer.seen()[0].found);
    ASSERT_TRUE(answerer.seen()[1].found) << "the failure is told";
    EXPECT_NE(answerer.seen()[1].text.find("読み取り専用"), std::string::npos)
        << "the reason: read-only; the box says: " << answerer.seen()[1].text;
    EXPECT_EQ(answerer.seen()[1].owner, mainWindow);
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), kFigureText);
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{"JWC_TEMP.TXT"})
        << "no temporary file left";
    EXPECT_FALSE(quitPosted()) << "the program keeps running";
    expectSame(Snapshot::take(), before);

    // With the cause removed, the same command succeeds.
    SetFileAttributesA("JWC_TEMP.TXT", FILE_ATTRIBUTE_NORMAL);
    BoxAnswerer again({{kConfirm, IDYES}});
    pressComplete();
    again.finish();
    EXPECT_NE(readFile("JWC_TEMP.TXT"), kFigureText);
    EXPECT_TRUE(quitPosted());
}

TEST_F(Commands, CompletionOnADirectoryInPlaceOfTheFileSaysSoAndLeavesItAlone) {
    useTwoMovedCopies();
    ASSERT_TRUE(DeleteFileA("JWC_TEMP.TXT"));
    ASSERT_TRUE(CreateDirectoryA("JWC_TEMP.TXT", nullptr));
    writeFile(kInside, kInsideText);
    WIN32_FILE_ATTRIBUTE_DATA dirBefore{};
    ASSERT_TRUE(GetFileAttributesExA("JWC_TEMP.TXT", GetFileExInfoStandard, &dirBefore));
    const std::vector<std::string> listingBefore = directoryEntries();
    const Snapshot before = Snapshot::take();
    BoxAnswerer answerer({{kConfirm, IDYES}, {"Zovrel", IDOK}});
    pressComplete();
    answerer.finish();
    ASSERT_TRUE(answerer.seen()[0].found);
    ASSERT_TRUE(answerer.seen()[1].found) << "the failure is told";
    EXPECT_NE(answerer.seen()[1].text.find("ファイルではありません"), std::string::npos)
        << "the reason: not a file; the box says: " << answerer.seen()[1].text;
    EXPECT_EQ(answerer.seen()[1].owner, mainWindow);
    EXPECT_FALSE(quitPosted()) << "the program keeps running";
    expectSame(Snapshot::take(), before);

    // Nothing was created, renamed or removed, neither beside the directory nor in it.
    EXPECT_EQ(directoryEntries(), listingBefore) << "no temporary file left";
    WIN32_FILE_ATTRIBUTE_DATA dirAfter{};
    ASSERT_TRUE(GetFileAttributesExA("JWC_TEMP.TXT", GetFileExInfoStandard, &dirAfter));
    EXPECT_TRUE(dirAfter.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(CompareFileTime(&dirAfter.ftLastWriteTime, &dirBefore.ftLastWriteTime), 0);
    EXPECT_EQ(entriesOf("JWC_TEMP.TXT"), std::vector<std::string>{"drawing.txt"});
    EXPECT_EQ(readFile(kInside), kInsideText);
}

// Another program has the file open without letting it be replaced, as an editor might.
TEST_F(Commands, CompletionOnAFileHeldOpenSaysSoAndKeepsRunning) {
    useTwoMovedCopies();
    HANDLE held = CreateFileA("JWC_TEMP.TXT", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const Snapshot before = Snapshot::take();
    BoxAnswerer answerer({{kConfirm, IDYES}, {"Zovrel", IDOK}});
    pressComplete();
    answerer.finish();
    CloseHandle(held);
    ASSERT_TRUE(answerer.seen()[0].found);
    ASSERT_TRUE(answerer.seen()[1].found) << "the failure is told";
    EXPECT_NE(answerer.seen()[1].text.find("置き換えられません"), std::string::npos)
        << "the reason: cannot replace; the box says: " << answerer.seen()[1].text;
    EXPECT_EQ(answerer.seen()[1].owner, mainWindow);
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), kFigureText);
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{"JWC_TEMP.TXT"})
        << "no temporary file left";
    EXPECT_FALSE(quitPosted()) << "the program keeps running";
    expectSame(Snapshot::take(), before);
}

// Each cause of a failed write has its own text; a failure without a known cause is not
// reported as a full disk.
TEST(WriteFailure, EachCauseHasATextOfItsOwn) {
    const WriteError causes[] = {WriteError::none,
                                 WriteError::readOnly,
                                 WriteError::notAFile,
                                 WriteError::cannotCreate,
                                 WriteError::writeFailed,
                                 WriteError::cannotReplace,
                                 WriteError::notRepresentable};
    std::set<std::string> texts;
    for (WriteError cause : causes) texts.insert(writeFailureReason(cause));
    EXPECT_EQ(texts.size(), std::size(causes));
}

// The loop ends with the quit message's code, and with 0 when GetMessageA fails.
TEST(MessageLoop, ReturnsTheQuitCodeOrZeroWhenGettingAMessageFails) {
    static BOOL result;
    auto fetch = [](MSG* message) {
        message->message = WM_NULL;
        message->wParam = 5;
        return result;
    };
    result = 0;
    EXPECT_EQ(runMessageLoop(app(), fetch), 5);
    result = -1;
    EXPECT_EQ(runMessageLoop(app(), fetch), 0);
}

TEST_F(Commands, CloseAnsweredNoChangesNothing) {
    useTwoMovedCopies();
    pressBasePointButton();
    const Snapshot before = Snapshot::take();
    BoxAnswerer answerer({{kConfirm, IDNO}});
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    answerer.finish();
    ASSERT_TRUE(answerer.seen()[0].found);
    EXPECT_EQ(answerer.seen()[0].text, kQuitQuestion);
    EXPECT_EQ(answerer.seen()[0].owner, mainWindow);
    expectSame(Snapshot::take(), before);
    EXPECT_TRUE(IsWindowVisible(mainWindow));
    EXPECT_FALSE(quitPosted());
}

TEST_F(Commands, CloseAnsweredYesEndsWithoutWriting) {
    useTwoMovedCopies();
    BoxAnswerer answerer({{kConfirm, IDYES}});
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    answerer.finish();
    ASSERT_TRUE(answerer.seen()[0].found);
    EXPECT_TRUE(quitPosted());
    EXPECT_EQ(quitCode, 0u);
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), kFigureText);
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

// A write of several gigabytes: the readout says about how large, and the completion asks once
// more, with No as the default; No leaves everything as it was.
TEST_F(Commands, ALargeWriteIsAnnouncedAndAskedFor) {
    std::string drawing;
    for (int i = 0; i < 2000; ++i)
        drawing += " 0 " + std::to_string(i) + " 10 " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(restartProgram(drawing));
    setRowText(5, "100000");
    EXPECT_NE(outputReadout(app().model).find("GB"), std::string::npos)
        << outputReadout(app().model);
    BoxAnswerer answerer({{kConfirm, IDYES}, {kConfirm, IDNO}});
    pressComplete();
    answerer.finish();
    ASSERT_TRUE(answerer.seen()[1].found) << "the second question";
    EXPECT_NE(answerer.seen()[1].text.find("GB"), std::string::npos);
    EXPECT_EQ(answerer.seen()[1].defaultButton, IDNO);
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), drawing);
    EXPECT_FALSE(quitPosted());
    ASSERT_TRUE(restartProgram());
}

}  // namespace
