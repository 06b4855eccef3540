#pragma once

// The program's window, started once per test process, and what the tests need to drive it:
// messages as the user's actions would send them, pixels of the off-screen picture, answers to
// modal boxes, and a fixture that puts back whatever a test changed.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/app_win.h"
#include "app/settings_file.h"
#include "view/gdi_win.h"
#include "view/view_mapping.h"

namespace harness {

// The exchange file the program starts with. Its extents (the origin included) run from
// (-1.5, -1.5) to (98.5, 48.5): exactly 100 wide and 50 high.
extern const char kFigureText[];

// Fills in the state below: a fresh temporary directory as the current directory, the
// exchange file written into it, and the program started up to its message loop.
bool startProgram();
void stopProgram();  // removes the temporary directory

// The program's state: one App, as WinMain makes it.
App& app();
// A new start of the program, as the host's next call would make it, on an exchange file that
// holds exchangeText: the old window (if any) goes, a new App reads the file and zovrel.ini.
bool restartProgram(const std::string& exchangeText = kFigureText);
// How many times the canvas has painted since the program started.
int canvasPaints();
// What the panel's controls show, read back from them: texts, sliders, units, check box.
CopyInputs controlsInputs();

extern HWND mainWindow;
extern std::string directory;
// The folder that stands for the program's own (zovrel.ini lies there), beside directory so
// that the exchange file's folder holds only what the tests put there.
extern std::string programDirectory;
std::string settingsPath();
// Recorded right after start-up, before any test ran.
struct StartupState {
    RECT windowRect{};  // outer, screen coordinates
    RECT canvasClient{};
    ViewMapping view;
    std::string rowText[6];
    std::string percentText[6];
    int slider[6] = {};
    int moveUnitFactor[2] = {};
    double angleUnitFactor = 0.0;
    bool lastValuesEnabled = true;
};
extern StartupState startup;

// Dispatches everything waiting in the thread's queue. A quit message met on the way is kept
// in quitSeen (and not dispatched), so a test can ask for it.
void pump();
extern bool quitSeen;
extern WPARAM quitCode;

// Mouse messages to the main window at a canvas pixel: the panel lies left of it (140 pixels
// at 96 DPI).
LPARAM atCanvas(int x, int y);
void mouse(UINT message, int x, int y);

// Canvas geometry and pixels (0x00RRGGBB) of the off-screen picture.
int canvasWidth();
int canvasHeight();
int halfWidth();  // truncation of half the canvas width
int halfHeight();
uint32_t pixel(int x, int y);
constexpr uint32_t rgb(int r, int g, int b) {
    return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
           static_cast<uint32_t>(b);
}
constexpr uint32_t kWhite = rgb(255, 255, 255);
constexpr uint32_t kBlack = rgb(0, 0, 0);
constexpr uint32_t kGrey = rgb(200, 200, 200);
constexpr uint32_t kRed = rgb(255, 0, 0);
constexpr uint32_t kCopyBlue = rgb(50, 50, 255);
constexpr uint32_t kCopyDotBlue = rgb(0, 0, 255);
// How many pixels of a colour lie in [x0, x1) x [y0, y1) of the picture.
int countPixels(uint32_t colour, int x0, int y0, int x1, int y1);
// Pixels a window shows in the columns from x0 to x1 that `counts` takes, after the paint the
// message loop would do next.
int countShown(HWND window, int x0, int x1, const std::function<bool(uint32_t)>& counts);

// Sets the view directly (scale, offsets) and repaints.
void setView(double scale, int offsetX, int offsetY);
void repaint();

// The panel's rows (0 to 5, top to bottom).
std::string windowText(HWND window);
void setRowText(int row, const char* text);  // as typing would: the edit reports EN_UPDATE
void moveSlider(int row, int position);      // TBM_SETPOS, then the panel's WM_HSCROLL
// All six rows at once: texts and slider positions.
void setRows(const char* const texts[6], const int sliders[6]);

// A 32-bit top-down DIB section with its own memory device context.
class Dib {
  public:
    Dib(int width, int height);
    ~Dib();
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    HDC dc() const { return dc_; }
    uint32_t at(int x, int y) const;
    void fill(uint32_t colour);
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    // In the order the constructor fills them: makeDib sets bits_.
    int width_, height_;
    HDC dc_ = nullptr;
    uint32_t* bits_ = nullptr;
    GdiObject<HBITMAP> bitmap_;
    HGDIOBJ previous_ = nullptr;
};

// What the panel's owner-drawn button with this id draws into a width x height box, and what
// a box showing text would look like: light grey, the UI font, the text at (3, 2). Only the
// inside is compared, the one-pixel edge is checked on its own.
void drawOwnerButton(Dib& target, int id, bool pressed);
void drawLabelReference(Dib& target, const char* text);
bool sameInside(const Dib& a, const Dib& b);

// Answers the modal boxes that the main thread is about to show, one after the other, from a
// second thread: finds each box by its caption, remembers its text and owner, and presses the
// given button. Gives up on a box after a few seconds, so no test can hang on it.
class BoxAnswerer {
  public:
    struct Step {
        std::string caption;
        int button;  // IDYES, IDNO, IDOK
    };
    struct Seen {
        bool found = false;
        std::string text;
        HWND owner = nullptr;
        int defaultButton = 0;  // what Enter would press
    };
    explicit BoxAnswerer(std::vector<Step> steps);
    ~BoxAnswerer();
    // Waits for the thread; then seen() tells what it met.
    void finish();
    const std::vector<Seen>& seen() const { return seen_; }

  private:
    std::vector<Step> steps_;
    std::vector<Seen> seen_;
    std::thread thread_;
};

// A seeded generator of our own: the standard distributions differ between libraries, and a
// run must be the same everywhere.
class Sequence {
  public:
    explicit Sequence(uint64_t seed) : state_(seed) {}
    int below(int n) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state_ >> 33) % static_cast<uint64_t>(n));
    }
    int between(int low, int high) { return low + below(high - low + 1); }

  private:
    uint64_t state_;
};

// The process's open handles, counted one by one: Wine's GetProcessHandleCount reports 0.
DWORD countHandles();

// Runs the Windows batch tool in the current directory and waits for it; true when it wrote.
bool runBatchTool(std::string arguments);

// Exchange-file helpers in the temporary directory.
std::string readFile(const std::string& name);
void writeFile(const std::string& name, const std::string& bytes);
std::vector<std::string> directoryEntries();

// Saves what tests change and puts it back afterwards: rows, sliders, units, view, base
// point, pick mode, hint, gesture feedback, mouse state, scale dialog, window size. A test
// that ended the program leaves a new start behind it.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

  private:
    RECT windowRect_{};
    std::string rowText_[6];
    int slider_[6] = {};
    int moveUnitFactor_[2] = {};
    double angleUnitFactor_ = 0.0;
    ViewMapping view_;
    double baseX_ = 0.0, baseY_ = 0.0;
    SettingsStore settings_;
};

}  // namespace harness
