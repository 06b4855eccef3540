// An input storm: for a couple of minutes, clicks and drags with any buttons wherever they
// land, odd texts typed into whatever has the focus, sliders, unit buttons, the scale dialog,
// resizes and minimise, the close question and the completion question, every question
// answered No. Afterwards the program runs and answers, the exchange file is untouched, nothing
// else is in its folder, and its GDI objects and handles are where they started.
// ZOVREL_STORM_SEED replays a storm; ZOVREL_STORM_SECONDS sets its length (default 120).

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/app_win.h"
#include "tests/window/window_harness.h"
#include "view/gdi_win.h"

using namespace harness;

namespace {

constexpr char kConfirm[] = "確認";
constexpr char kFailureCaption[] = "Zovrel";

// Answers every question No and closes every context menu for as long as it lives, from a
// second thread: the main thread is inside the box's or the menu's own message loop meanwhile.
// A failure box would mean something was written.
class AnswerNo {
  public:
    AnswerNo() {
        thread_ = std::thread([this] {
            while (!stop_) {
                if (HWND box = FindWindowA("#32770", kConfirm); box && IsWindowVisible(box)) {
                    PostMessageA(box, WM_COMMAND, IDNO, 0);
                    ++answered_;
                    for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(5);
                }
                if (HWND box = FindWindowA("#32770", kFailureCaption);
                    box && IsWindowVisible(box)) {
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                    ++failures_;
                    for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(5);
                }
                // A right click on an edit opens its context menu: Escape closes it.
                if (HWND menu = FindWindowA("#32768", nullptr); menu && IsWindowVisible(menu)) {
                    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                    ++menus_;
                    for (int i = 0; i < 200 && IsWindowVisible(menu); ++i) Sleep(5);
                }
                Sleep(2);
            }
        });
    }
    ~AnswerNo() {
        stop_ = true;
        thread_.join();
    }
    int answered() const { return answered_; }
    int failures() const { return failures_; }
    int menus() const { return menus_; }

  private:
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0}, failures_{0}, menus_{0};
    std::thread thread_;
};

struct Storm {
    Sequence random;
    int boxes = 0;  // questions asked (each answered No)

    // The innermost visible child under a point of root's client area, and the point in it.
    static HWND targetAt(HWND root, POINT& p) {
        HWND w = root;
        for (;;) {
            HWND child = ChildWindowFromPointEx(w, p, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
            if (!child || child == w) return w;
            MapWindowPoints(w, child, &p, 1);
            w = child;
        }
    }

    HWND someRoot() {
        if (IsWindowVisible(app().scaleDialog.popup) && random.below(3) == 0)
            return app().scaleDialog.popup;
        return mainWindow;
    }

    // Buttons go down one by one, the mouse moves (anywhere, even off the window), and they
    // come up in any order, all sent to the window under the first point, as a capture would.
    void mouseStorm() {
        const HWND root = someRoot();
        RECT client{};
        GetClientRect(root, &client);
        POINT p{random.between(0, client.right), random.between(0, client.bottom)};
        const HWND target = targetAt(root, p);
        static const UINT kDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        static const UINT kUp[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
        static const WPARAM kFlag[3] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
        const int buttons = random.between(1, 7);
        WPARAM held = 0;
        auto send = [&](UINT message, int x, int y) {
            SendMessageA(target, message, held, MAKELPARAM(x, y));
        };
        for (int b = 0; b < 3; ++b) {
            if (!(buttons & (1 << b))) continue;
            held |= kFlag[b];
            send(kDown[b], p.x, p.y);
        }
        int x = p.x, y = p.y;
        for (int m = random.below(6); m > 0; --m) {
            x += random.between(-300, 300);
            y += random.between(-300, 300);
            send(WM_MOUSEMOVE, x, y);
        }
        for (int b = random.below(3), n = 0; n < 3; ++n, b = (b + 1) % 3) {
            if (!(buttons & (1 << b))) continue;
            held &= ~kFlag[b];
            send(kUp[b], x, y);
        }
    }

    std::string oddText() {
        static const char* const kTexts[] = {
            "",
            "nan",
            "1e999",
            "-1e999",
            "1e308",
            "-1e308",
            "99999999999999999999999999",
            "0",
            "-0",
            "inf",
            "abc",
            "x",
            "1e-320",
            "4.9e-324",
            "1.7976931348623157e308",
            "--1",
            "1..2",
            " 12 ",
            "\xb1\xb2",  // half-width kana
        };
        if (random.below(4) == 0) {
            std::string text;
            for (int n = random.below(160); n > 0; --n)
                text += "0123456789.-+eE abcXYZ"[random.below(22)];
            return text;
        }
        return kTexts[random.below(sizeof kTexts / sizeof kTexts[0])];
    }

    // Into whatever has the focus; now and then the focus goes to an edit first, or the text
    // replaces everything, or ends with Enter.
    void typeStorm() {
        if (random.below(3) == 0) {
            const HWND edits[7] = {app().panel.rows[0].valueEdit, app().panel.rows[1].valueEdit,
                                   app().panel.rows[2].valueEdit, app().panel.rows[3].valueEdit,
                                   app().panel.rows[4].valueEdit, app().panel.rows[5].valueEdit,
                                   app().scaleDialog.edit};
            const HWND edit = edits[random.below(7)];
            if (IsWindowVisible(edit)) SetFocus(edit);
        }
        const HWND focus = GetFocus();
        if (!focus) return;
        // The text replaces what stands there. Inserting into a box already full of text (the
        // value boxes do not scroll) crashes Wine's own edit control, which Windows refuses.
        SendMessageA(focus, EM_SETSEL, 0, -1);
        const std::string text = oddText();
        if (text.empty()) SendMessageA(focus, WM_CHAR, VK_BACK, 0);
        for (char c : text) SendMessageA(focus, WM_CHAR, static_cast<unsigned char>(c), 0);
        if (random.below(4) == 0) {
            SendMessageA(focus, WM_KEYDOWN, VK_RETURN, 0);
            SendMessageA(focus, WM_CHAR, '\r', 0);
            SendMessageA(focus, WM_KEYUP, VK_RETURN, 0);
        }
        if (random.below(6) == 0) {
            static const WPARAM kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP,   VK_DOWN,   VK_HOME,
                                           VK_END,  VK_PRIOR, VK_NEXT, VK_DELETE, VK_TAB};
            const WPARAM key = kKeys[random.below(10)];
            SendMessageA(focus, WM_KEYDOWN, key, 0);
            SendMessageA(focus, WM_KEYUP, key, 0);
        }
    }

    void command(HWND parent, int id, HWND control) {
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
    }

    void scaleDialogStorm() {
        if (!IsWindowVisible(app().scaleDialog.popup))
            command(app().strip.strip, 28, app().strip.scaleButton);
        SetWindowTextA(app().scaleDialog.edit, oddText().c_str());
        switch (random.below(3)) {
            case 0:
                SendMessageA(app().scaleDialog.edit, WM_KEYDOWN, VK_RETURN, 0);
                break;
            case 1:
                command(app().scaleDialog.popup, 0, app().scaleDialog.okButton);
                break;
            default:
                SendMessageA(app().scaleDialog.popup, WM_CLOSE, 0, 0);
        }
    }

    void resizeStorm() {
        switch (random.below(6)) {
            case 0:
                ShowWindow(mainWindow, SW_MINIMIZE);
                pump();
                ShowWindow(mainWindow, SW_RESTORE);
                break;
            case 1:
                ShowWindow(mainWindow, SW_MAXIMIZE);
                pump();
                ShowWindow(mainWindow, SW_RESTORE);
                break;
            default:
                // Down to nothing and up past the screen.
                SetWindowPos(mainWindow, nullptr, 0, 0, random.between(0, 1600),
                             random.between(0, 1200), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    void act() {
        const int pick = random.below(100);
        if (pick < 35) {
            mouseStorm();
        } else if (pick < 60) {
            typeStorm();
        } else if (pick < 70) {
            moveSlider(random.below(6), random.between(-50, 150));
        } else if (pick < 76) {
            static const int kIds[3] = {3, 7, 11};
            const int row = random.below(3);
            command(app().panel.panel, kIds[row], app().panel.rows[row].unitButton);
        } else if (pick < 84) {
            scaleDialogStorm();
        } else if (pick < 92) {
            resizeStorm();
        } else if (pick < 96) {
            ++boxes;
            command(app().panel.panel, 1, app().panel.completeButton);
        } else {
            ++boxes;
            SendMessageA(mainWindow, WM_CLOSE, 0, 0);
        }
        pump();
    }
};

struct Figures {
    int gdiObjects;
    DWORD handles;
};

Figures measure(const RECT& size) {
    if (IsWindowVisible(app().scaleDialog.popup))
        SendMessageA(app().scaleDialog.popup, WM_CLOSE, 0, 0);
    SetWindowPos(mainWindow, nullptr, size.left, size.top, size.right - size.left,
                 size.bottom - size.top, SWP_NOZORDER | SWP_NOACTIVATE);
    repaint();
    pump();
    return {liveGdiObjects(), countHandles()};
}

uint64_t seedFromEnvironment() {
    if (const char* text = std::getenv("ZOVREL_STORM_SEED"))
        return std::strtoull(text, nullptr, 10);
    return static_cast<uint64_t>(GetTickCount64()) * 2654435761u ^ GetCurrentProcessId();
}

using InputStorm = WindowTest;

TEST_F(InputStorm, ProgramSurvivesAndLeavesNothingBehind) {
    const uint64_t seed = seedFromEnvironment();
    const char* secondsText = std::getenv("ZOVREL_STORM_SECONDS");
    const double seconds = secondsText ? std::atof(secondsText) : 120.0;
    std::printf("input storm: seed %llu (ZOVREL_STORM_SEED replays it), %.0f s\n",
                static_cast<unsigned long long>(seed), seconds);
    std::fflush(stdout);
    RECT size{};
    GetWindowRect(mainWindow, &size);
    AnswerNo answerer;

    // A first storm of a hundred actions warms up what is made once and kept.
    Storm warmUp{Sequence(seed ^ 0x5eed), 0};
    for (int i = 0; i < 100; ++i) warmUp.act();
    const Figures before = measure(size);

    Storm storm{Sequence(seed), 0};
    const auto start = std::chrono::steady_clock::now();
    int actions = 0;
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() <
           seconds) {
        for (int i = 0; i < 50; ++i, ++actions) storm.act();
    }
    const Figures after = measure(size);
    std::printf(
        "input storm: %d actions, %d questions answered No (%d asked), %d context menus closed, "
        "%d repaints; GDI objects %d -> %d, handles %lu -> %lu\n",
        actions, answerer.answered(), storm.boxes + warmUp.boxes, answerer.menus(), canvasPaints(),
        before.gdiObjects, after.gdiObjects, static_cast<unsigned long>(before.handles),
        static_cast<unsigned long>(after.handles));
    std::fflush(stdout);

    // Clicks on the completion button ask too.
    EXPECT_GE(answerer.answered(), storm.boxes + warmUp.boxes) << "every question came";
    EXPECT_EQ(answerer.failures(), 0) << "nothing was written, so nothing failed";
    EXPECT_FALSE(quitSeen) << "a No keeps the program running";
    EXPECT_TRUE(IsWindow(mainWindow));
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutA(mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result), 0);
    const int repaints = canvasPaints();
    const char* const texts[6] = {"120", "0", "90", "1.0", "1.0", "3"};
    const int sliders[6] = {100, 0, 0, 100, 100, 100};
    setRows(texts, sliders);
    pump();
    EXPECT_GT(canvasPaints(), repaints) << "still repaints after an edit";
    EXPECT_EQ(readFile("JWC_TEMP.TXT"), kFigureText);
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{"JWC_TEMP.TXT"});
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_GT(before.handles, 0u);
    EXPECT_EQ(after.handles, before.handles);
}

}  // namespace
