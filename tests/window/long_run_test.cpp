// A long session: thousands of edits, slider moves, unit switches, gestures and resizes must
// leave the program's GDI objects, its handles and its memory where they were.

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/app_win.h"
#include "tests/window/window_harness.h"

using namespace harness;

namespace {

constexpr int kRepaints = 10000;
constexpr int kResizes = 500;
constexpr int kActionsPerResize = 20;  // one repaint each at most: a paint follows each input
constexpr int kWarmUpRepaints = 1000;
constexpr DWORD kHandleSlack = 8;
constexpr double kMemorySlackMb = 2.0;

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// A value typed into a row, in the row's current unit, small enough that every repaint stays
// cheap; now and then something that is not a number at all.
std::string typedText(Sequence& random, int row) {
    static const char* const kOdd[] = {"", "-", ".", "1e", "abc", "0"};
    if (random.below(20) == 0) return kOdd[random.below(6)];
    switch (row) {
        case 0:
        case 1:
            if (app().model.inputs.moveUnitFactor[row] == kMoveFactorMetres)
                return fixed(random.between(-30, 30) / 100.0, 2);
            return fixed(random.between(-3000, 3000) / 10.0, 1);
        case 2:
            if (app().model.inputs.angleUnitFactor == kRadianFactor)
                return fixed(random.between(0, 628) / 100.0, 2);
            return std::to_string(random.between(0, 360));
        case 3:
        case 4:
            return fixed(random.between(90, 110) / 100.0, 2);
        default:
            return std::to_string(random.between(0, 30));
    }
}

void clickUnit(int row) {
    const int ids[3] = {3, 7, 11};
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(ids[row], BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.rows[row].unitButton));
}

// Both buttons down at the start, three moves, both up at the end. The direction chooses the
// view operation: down-right zooms into the rectangle, up-left zooms out, up-right shows all,
// down-left goes back to the previous view, a short way moves the view.
void gesture(Sequence& random) {
    const int w = canvasWidth(), h = canvasHeight();
    const int x = random.between(w / 4, 3 * w / 4), y = random.between(h / 4, 3 * h / 4);
    static const int kSigns[4][2] = {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
    const int kind = random.below(5);
    int dx, dy;
    if (kind < 4) {
        dx = kSigns[kind][0] * random.between(20, w / 4);
        dy = kSigns[kind][1] * random.between(20, h / 4);
    } else {
        dx = random.between(-8, 8);
        dy = random.between(-8, 8);
    }
    mouse(WM_RBUTTONDOWN, x, y);
    mouse(WM_LBUTTONDOWN, x, y);
    for (int step = 1; step <= 3; ++step) mouse(WM_MOUSEMOVE, x + dx * step / 3, y + dy * step / 3);
    mouse(WM_LBUTTONUP, x + dx, y + dy);
    mouse(WM_RBUTTONUP, x + dx, y + dy);
}

// "基点変更", the marker dragged a little, a left or a right click.
void pickBasePoint(Sequence& random) {
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(26, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.basePointButton));
    int x = random.between(0, canvasWidth() - 1), y = random.between(0, canvasHeight() - 1);
    for (int step = 0; step < 3; ++step) mouse(WM_MOUSEMOVE, x + 5 * step, y + 3 * step);
    x += 10, y += 6;
    if (random.below(2)) {
        mouse(WM_LBUTTONDOWN, x, y);
        mouse(WM_LBUTTONUP, x, y);
    } else {
        mouse(WM_RBUTTONDOWN, x, y);
        mouse(WM_RBUTTONUP, x, y);
    }
}

void act(Sequence& random) {
    const int pick = random.below(100);
    if (pick < 47) {
        const int row = random.below(6);
        setRowText(row, typedText(random, row).c_str());
    } else if (pick < 62) {
        moveSlider(random.below(6), random.between(0, 100));
    } else if (pick < 72) {
        clickUnit(random.below(3));
    } else if (pick < 98) {
        gesture(random);
    } else {
        pickBasePoint(random);
    }
    pump();
}

void resize(Sequence& random, int count) {
    if (count % 25 == 24) {
        ShowWindow(mainWindow, SW_MINIMIZE);
        pump();
        ShowWindow(mainWindow, SW_RESTORE);
    } else {
        SetWindowPos(mainWindow, nullptr, 0, 0, random.between(400, 900), random.between(510, 660),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    pump();
}

struct Figures {
    int gdiObjects;
    DWORD handles;
    DWORD handlesReported;  // by GetProcessHandleCount
    double privateMb;
    double workingSetMb;
};

// Taken at the start-up window size, so that the canvas bitmap weighs the same each time.
Figures measure(const RECT& size) {
    SetWindowPos(mainWindow, nullptr, size.left, size.top, size.right - size.left,
                 size.bottom - size.top, SWP_NOZORDER | SWP_NOACTIVATE);
    repaint();
    pump();
    Figures f{liveGdiObjects(), countHandles(), 0, 0.0, 0.0};
    GetProcessHandleCount(GetCurrentProcess(), &f.handlesReported);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    // Wine fills only the shorter structure; its commit charge is the same figure there (the
    // process's resident anonymous memory and swap).
    const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    f.privateMb = privateBytes / (1024.0 * 1024.0);
    f.workingSetMb = memory.WorkingSetSize / (1024.0 * 1024.0);
    return f;
}

void print(const char* when, const Figures& f, int repaints) {
    std::printf(
        "long run, %-15s repaints %6d, GDI objects %d, handles %lu (reported %lu), "
        "private %.2f MB, working set %.2f MB\n",
        when, repaints, f.gdiObjects, static_cast<unsigned long>(f.handles),
        static_cast<unsigned long>(f.handlesReported), f.privateMb, f.workingSetMb);
}

using LongRun = WindowTest;

TEST_F(LongRun, TenThousandRepaintsLeaveGdiObjectsHandlesAndMemoryFlat) {
    RECT size{};
    GetWindowRect(mainWindow, &size);
    const auto started = std::chrono::steady_clock::now();
    const int repaintsBefore = canvasPaints();
    const Figures before = measure(size);
    print("before:", before, 0);

    Sequence random(20240611);
    Figures warm{};
    bool warmedUp = false;
    for (int r = 0; r < kResizes || canvasPaints() - repaintsBefore < kRepaints; ++r) {
        for (int a = 0; a < kActionsPerResize; ++a) act(random);
        resize(random, r);
        if (!warmedUp && canvasPaints() - repaintsBefore >= kWarmUpRepaints) {
            warm = measure(size);
            warmedUp = true;
            print("after warm-up:", warm, canvasPaints() - repaintsBefore);
        }
    }
    const Figures after = measure(size);
    const int repaints = canvasPaints() - repaintsBefore;
    print("after:", after, repaints);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("long run: %d repaints, %d resizes, %.1f s\n", repaints, kResizes, seconds);
    std::fflush(stdout);

    EXPECT_GE(repaints, kRepaints);
    ASSERT_TRUE(warmedUp);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_GT(warm.handles, 0u) << "the handle count is known";
    EXPECT_LE(after.handles, warm.handles + kHandleSlack);
    EXPECT_GT(warm.privateMb, 0.0) << "the private memory is known";
    EXPECT_LE(after.privateMb, warm.privateMb + kMemorySlackMb);
}

}  // namespace
