#include "tests/window/window_harness.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/app_win.h"
#include "app/canvas_window_win.h"
#include "app/main_window_win.h"
#include "app/owner_button_win.h"
#include "app/status_strip_win.h"
#include "view/window_idioms_win.h"

namespace harness {

// A slanted segment from the origin whose far end needs truncating, a long segment, a point
// element, a two-segment polyline and a small full circle.
const char kFigureText[] =
    " 0.000000 0.000000 -1.500000 -1.500000\r\n"
    " 98.500000 48.500000 40.000000 10.000000\r\n"
    "pt 10.000000 20.000000\r\n"
    "pl\r\n"
    " 60.000000 20.000000 90.000000 20.000000\r\n"
    " 90.000000 20.000000 90.000000 40.000000\r\n"
    "#\r\n"
    "ci 30.000000 30.000000 5.000000\r\n";

HWND mainWindow = nullptr;
std::string directory;
std::string programDirectory;
StartupState startup;
bool quitSeen = false;
WPARAM quitCode = 0;

namespace {

std::unique_ptr<App> theApp;
int paints = 0;
WNDPROC canvasProcedure = nullptr;

// In front of the canvas's own procedure: counts its paints.
LRESULT CALLBACK countPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++paints;
    return CallWindowProcA(canvasProcedure, window, message, wParam, lParam);
}

void recordStartup() {
    GetWindowRect(mainWindow, &startup.windowRect);
    GetClientRect(app().canvas.window, &startup.canvasClient);
    startup.view = app().view;
    for (int r = 0; r < 6; ++r) {
        startup.rowText[r] = windowText(app().panel.rows[r].valueEdit);
        startup.percentText[r] = windowText(app().panel.rows[r].percentBox);
        startup.slider[r] =
            static_cast<int>(SendMessageA(app().panel.rows[r].slider, TBM_GETPOS, 0, 0));
    }
    startup.moveUnitFactor[0] = app().model.inputs.moveUnitFactor[0];
    startup.moveUnitFactor[1] = app().model.inputs.moveUnitFactor[1];
    startup.angleUnitFactor = app().model.inputs.angleUnitFactor;
    startup.lastValuesEnabled = IsWindowEnabled(app().panel.lastValuesButton) != FALSE;
}

void removeDirectory(const std::string& path) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string entry = path + "\\" + found.cFileName;
            SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(entry.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

bool startProgram() {
    // The virtual display's pointer must not wander over the window and send moves of its own.
    SetCursorPos(GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1,
                 GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1);
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    // A fresh server hands out the same process ids again: a directory left behind by an
    // earlier run must not stop this one.
    const std::string base =
        std::string(temp) + "zovrel-window-" + std::to_string(GetCurrentProcessId());
    // The program's folder (zovrel.ini) beside it, fresh as well.
    for (int n = 0;; ++n) {
        directory = n ? base + "-" + std::to_string(n) : base;
        programDirectory = directory + "-program";
        DWORD error = ERROR_SUCCESS;
        if (CreateDirectoryA(directory.c_str(), nullptr)) {
            if (CreateDirectoryA(programDirectory.c_str(), nullptr)) break;
            error = GetLastError();
            RemoveDirectoryA(directory.c_str());
        } else {
            error = GetLastError();
        }
        if (error != ERROR_ALREADY_EXISTS || n > 100) return false;
    }
    if (!SetCurrentDirectoryA(directory.c_str())) return false;
    if (!restartProgram()) return false;
    recordStartup();
    return true;
}

App& app() {
    return *theApp;
}

bool restartProgram(const std::string& exchangeText) {
    if (mainWindow && IsWindow(mainWindow)) DestroyWindow(mainWindow);
    pump();
    quitSeen = false;
    theApp.reset();
    writeFile("JWC_TEMP.TXT", exchangeText);
    theApp = std::make_unique<App>();
    mainWindow =
        startZovrel(app(), GetModuleHandleA(nullptr), "JWC_TEMP.TXT", settingsPath().c_str());
    if (!mainWindow) return false;
    paints = 0;
    canvasProcedure = subclass(app().canvas.window, countPaints);
    pump();
    return true;
}

int canvasPaints() {
    return paints;
}

CopyInputs controlsInputs() {
    CopyInputs in = app().model.inputs;
    const ParameterPanel& panel = app().panel;
    for (int r = 0; r < kRowCount; ++r) {
        panel.valueText(r, in.rowText[r]);
        in.rowSlider[r] = panel.sliderPosition(r);
    }
    in.keepAttributes = panel.keepAttributesChecked();
    return in;
}

void stopProgram() {
    if (mainWindow && IsWindow(mainWindow)) DestroyWindow(mainWindow);
    pump();
    theApp.reset();
    if (directory.empty()) return;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    SetCurrentDirectoryA(temp);
    removeDirectory(directory);
    removeDirectory(programDirectory);
}

std::string settingsPath() {
    return programDirectory + "\\" + kSettingsFileName;
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitSeen = true;
            quitCode = message.wParam;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LPARAM atCanvas(int x, int y) {
    RECT panel{};
    GetClientRect(app().panel.panel, &panel);
    return MAKELPARAM(static_cast<WORD>(x + panel.right), static_cast<WORD>(y));
}

void mouse(UINT message, int x, int y) {
    SendMessageA(mainWindow, message, 0, atCanvas(x, y));
    UpdateWindow(app().canvas.window);  // the paint the message loop would do next
}

int canvasWidth() {
    RECT r{};
    GetClientRect(app().canvas.window, &r);
    return r.right;
}

int canvasHeight() {
    RECT r{};
    GetClientRect(app().canvas.window, &r);
    return r.bottom;
}

int halfWidth() {
    return static_cast<int>(canvasWidth() * 0.5);
}
int halfHeight() {
    return static_cast<int>(canvasHeight() * 0.5);
}

uint32_t pixel(int x, int y) {
    const Canvas& canvas = app().canvas;
    UpdateWindow(canvas.window);  // a paint still owed by the last message
    GdiFlush();
    if (x < 0 || y < 0 || x >= canvas.bitmapWidth || y >= canvas.bitmapHeight) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") lies outside the picture";
        return 0xFFFFFFFFu;
    }
    return canvas.bits[static_cast<size_t>(y) * canvas.bitmapWidth + x] & 0xFFFFFFu;
}

int countPixels(uint32_t colour, int x0, int y0, int x1, int y1) {
    const Canvas& canvas = app().canvas;
    UpdateWindow(canvas.window);
    GdiFlush();
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (x >= 0 && y >= 0 && x < canvas.bitmapWidth && y < canvas.bitmapHeight &&
                (canvas.bits[static_cast<size_t>(y) * canvas.bitmapWidth + x] & 0xFFFFFFu) ==
                    colour)
                ++n;
    return n;
}

void setView(double scale, int offsetX, int offsetY) {
    app().view.scale = scale;
    app().view.offsetX = offsetX;
    app().view.offsetY = offsetY;
    repaint();
}

void repaint() {
    app().canvas.invalidate();
    UpdateWindow(app().canvas.window);
    pump();  // what the paint reported: the status strip's notes
}

std::string windowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void setRowText(int row, const char* text) {
    SetWindowTextA(app().panel.rows[row].valueEdit, text);
    UpdateWindow(app().canvas.window);
}

void moveSlider(int row, int position) {
    HWND slider = app().panel.rows[row].slider;
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
    SendMessageA(app().panel.panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(slider));
    UpdateWindow(app().canvas.window);
}

void setRows(const char* const texts[6], const int sliders[6]) {
    for (int r = 0; r < 6; ++r) {
        setRowText(r, texts[r]);
        moveSlider(r, sliders[r]);
    }
}

Dib::Dib(int width, int height)
    : width_(width),
      height_(height),
      dc_(CreateCompatibleDC(nullptr)),
      bitmap_(makeDib(dc_, width, height, bits_)),
      previous_(SelectObject(dc_, bitmap_.get())) {}

Dib::~Dib() {
    // The bitmap goes after this, once nothing has it selected.
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
}

uint32_t Dib::at(int x, int y) const {
    GdiFlush();
    return bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFFu;
}

void Dib::fill(uint32_t colour) {
    GdiFlush();
    std::fill_n(bits_, static_cast<size_t>(width_) * height_, colour);
}

void drawOwnerButton(Dib& target, int id, bool pressed) {
    const RECT box{0, 0, target.width(), target.height()};
    char label[kRowTextSize + 8] = {};
    const int row = app().panel.rowOfUnitButton(id);
    if (row >= 0)
        lstrcpyA(label, unitLabel(app().model.inputs, row));
    else if (id == kScaleButtonId)
        scaleLabel(app().view.scale, label, sizeof label);
    drawRaisedButton(target.dc(), box, pressed, label, app().font.get(), app().dpi);
    GdiFlush();
}

void drawLabelReference(Dib& target, const char* text) {
    const RECT box{0, 0, target.width(), target.height()};
    FillRect(target.dc(), &box, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    HGDIOBJ previous = SelectObject(target.dc(), app().font.get());
    TextOutA(target.dc(), 3, 2, text, lstrlenA(text));
    SelectObject(target.dc(), previous);
    GdiFlush();
}

bool sameInside(const Dib& a, const Dib& b) {
    for (int y = 1; y < a.height() - 1; ++y)
        for (int x = 1; x < a.width() - 1; ++x)
            if (a.at(x, y) != b.at(x, y)) return false;
    return true;
}

namespace {

BOOL CALLBACK collectText(HWND child, LPARAM target) {
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) *reinterpret_cast<std::string*>(target) += windowText(child);
    return TRUE;
}

// The button drawn as the default, which Enter presses.
BOOL CALLBACK findDefaultButton(HWND child, LPARAM target) {
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        *reinterpret_cast<int*>(target) = GetDlgCtrlID(child);
    return TRUE;
}

}  // namespace

BoxAnswerer::BoxAnswerer(std::vector<Step> steps) : steps_(std::move(steps)), seen_(steps_.size()) {
    thread_ = std::thread([this] {
        using namespace std::chrono_literals;
        for (size_t i = 0; i < steps_.size(); ++i) {
            HWND box = nullptr;
            for (int tries = 0; tries < 500 && !box; ++tries) {
                box = FindWindowA("#32770", steps_[i].caption.c_str());
                if (box && !IsWindowVisible(box)) box = nullptr;
                if (!box) std::this_thread::sleep_for(10ms);
            }
            if (!box) return;  // the box never came: the test reports it
            seen_[i].found = true;
            seen_[i].owner = GetWindow(box, GW_OWNER);
            EnumChildWindows(box, findDefaultButton,
                             reinterpret_cast<LPARAM>(&seen_[i].defaultButton));
            EnumChildWindows(box, collectText, reinterpret_cast<LPARAM>(&seen_[i].text));
            PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(steps_[i].button), 0);
            for (int tries = 0; tries < 500 && IsWindow(box); ++tries)
                std::this_thread::sleep_for(10ms);
        }
    });
}

BoxAnswerer::~BoxAnswerer() {
    finish();
}

void BoxAnswerer::finish() {
    if (thread_.joinable()) thread_.join();
}

// Asks every handle value the handle table can have reached: Wine hands out the lowest free one.
DWORD countHandles() {
    DWORD count = 0;
    for (uintptr_t value = 4; value < 4 * 65536; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> directoryEntries() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void WindowTest::SetUp() {
    pump();
    quitSeen = false;
    GetWindowRect(mainWindow, &windowRect_);
    for (int r = 0; r < 6; ++r) {
        rowText_[r] = windowText(app().panel.rows[r].valueEdit);
        slider_[r] = static_cast<int>(SendMessageA(app().panel.rows[r].slider, TBM_GETPOS, 0, 0));
    }
    moveUnitFactor_[0] = app().model.inputs.moveUnitFactor[0];
    moveUnitFactor_[1] = app().model.inputs.moveUnitFactor[1];
    angleUnitFactor_ = app().model.inputs.angleUnitFactor;
    view_ = app().view;
    baseX_ = app().model.copies.baseX;
    baseY_ = app().model.copies.baseY;
    settings_ = app().settings;
}

void WindowTest::TearDown() {
    if (!IsWindow(mainWindow)) {
        // The test ended the program: the next test finds a new start.
        ASSERT_TRUE(restartProgram());
        return;
    }
    ReleaseCapture();
    app().mouse = MouseTracker{};
    app().picking = false;
    app().scaleDialog.hide();
    app().baseDialog.hide();
    RECT now{};
    GetWindowRect(mainWindow, &now);
    if (!EqualRect(&now, &windowRect_))
        SetWindowPos(mainWindow, nullptr, windowRect_.left, windowRect_.top,
                     windowRect_.right - windowRect_.left, windowRect_.bottom - windowRect_.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    CopyInputs rows = app().model.inputs;
    rows.moveUnitFactor[0] = moveUnitFactor_[0];
    rows.moveUnitFactor[1] = moveUnitFactor_[1];
    rows.angleUnitFactor = angleUnitFactor_;
    app().model.setRows(rows);
    app().panel.showUnits();
    for (int r = 0; r < 6; ++r) {
        setRowText(r, rowText_[r].c_str());
        moveSlider(r, slider_[r]);
    }
    app().view = view_;
    app().model.setBase(baseX_, baseY_);
    app().settings = settings_;
    app().panel.enableLastValues(app().settings.hasLastValues());
    app().strip.setHint("");
    repaint();
    pump();
    quitSeen = false;
}

bool runBatchTool(std::string arguments) {
    std::string exe = std::string("Z:") + ZOVREL_BATCH_EXE;
    for (char& c : exe)
        if (c == '/') c = '\\';
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA info{};
    info.cb = sizeof info;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &info, &process))
        return false;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

int countShown(HWND window, int x0, int x1, const std::function<bool(uint32_t)>& counts) {
    UpdateWindow(window);
    RECT r{};
    GetClientRect(window, &r);
    Dib shown(r.right, r.bottom);
    HDC dc = GetDC(window);
    BitBlt(shown.dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    int n = 0;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = x0; x < x1 && x < r.right; ++x) n += counts(shown.at(x, y));
    return n;
}

}  // namespace harness
