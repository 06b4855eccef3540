#include "tests/window/window_harness.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>

#include "app/globals_win.h"
#include "app/main_window_win.h"

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

void recordStartup() {
    GetWindowRect(mainWindow, &startup.windowRect);
    GetClientRect(theCanvas.window, &startup.canvasClient);
    startup.view = theCanvas.view;
    for (int r = 0; r < 6; ++r) {
        startup.rowText[r] = windowText(thePanel.rows[r].valueEdit);
        startup.percentText[r] = windowText(thePanel.rows[r].percentBox);
        startup.slider[r] =
            static_cast<int>(SendMessageA(thePanel.rows[r].slider, TBM_GETPOS, 0, 0));
    }
    startup.moveUnitFactor[0] = thePanel.moveUnitFactor[0];
    startup.moveUnitFactor[1] = thePanel.moveUnitFactor[1];
    startup.angleUnitFactor = thePanel.angleUnitFactor;
    startup.lastValuesEnabled = IsWindowEnabled(thePanel.lastValuesButton) != FALSE;
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
    writeFile("JWC_TEMP.TXT", kFigureText);
    mainWindow = startZovrel(GetModuleHandleA(nullptr), "JWC_TEMP.TXT", settingsPath().c_str());
    if (!mainWindow) return false;
    recordStartup();
    pump();
    return true;
}

void stopProgram() {
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
    GetClientRect(thePanel.panel, &panel);
    return MAKELPARAM(static_cast<WORD>(x + panel.right), static_cast<WORD>(y));
}

void mouse(UINT message, int x, int y) {
    SendMessageA(mainWindow, message, 0, atCanvas(x, y));
    UpdateWindow(theCanvas.window);  // the paint the message loop would do next
}

int canvasWidth() {
    RECT r{};
    GetClientRect(theCanvas.window, &r);
    return r.right;
}

int canvasHeight() {
    RECT r{};
    GetClientRect(theCanvas.window, &r);
    return r.bottom;
}

int halfWidth() {
    return static_cast<int>(canvasWidth() * 0.5);
}
int halfHeight() {
    return static_cast<int>(canvasHeight() * 0.5);
}

uint32_t pixel(int x, int y) {
    UpdateWindow(theCanvas.window);  // a paint still owed by the last message
    GdiFlush();
    if (x < 0 || y < 0 || x >= theCanvas.bitmapWidth || y >= theCanvas.bitmapHeight) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") lies outside the picture";
        return 0xFFFFFFFFu;
    }
    return theCanvas.bits[static_cast<size_t>(y) * theCanvas.bitmapWidth + x] & 0xFFFFFFu;
}

int countPixels(uint32_t colour, int x0, int y0, int x1, int y1) {
    UpdateWindow(theCanvas.window);
    GdiFlush();
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (x >= 0 && y >= 0 && x < theCanvas.bitmapWidth && y < theCanvas.bitmapHeight &&
                (theCanvas.bits[static_cast<size_t>(y) * theCanvas.bitmapWidth + x] & 0xFFFFFFu) ==
                    colour)
                ++n;
    return n;
}

void setView(double scale, int offsetX, int offsetY) {
    theCanvas.view.scale = scale;
    theCanvas.view.offsetX = offsetX;
    theCanvas.view.offsetY = offsetY;
    repaint();
}

void repaint() {
    theCanvas.invalidate();
    UpdateWindow(theCanvas.window);
}

std::string windowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void setRowText(int row, const char* text) {
    SetWindowTextA(thePanel.rows[row].valueEdit, text);
    UpdateWindow(theCanvas.window);
}

void moveSlider(int row, int position) {
    HWND slider = thePanel.rows[row].slider;
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
    SendMessageA(thePanel.panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(slider));
    UpdateWindow(theCanvas.window);
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
    thePanel.drawOwnerButton(target.dc(), id, pressed, box);
    GdiFlush();
}

void drawLabelReference(Dib& target, const char* text) {
    const RECT box{0, 0, target.width(), target.height()};
    FillRect(target.dc(), &box, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    HGDIOBJ previous = SelectObject(target.dc(), theCanvas.uiFont.get());
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
        rowText_[r] = windowText(thePanel.rows[r].valueEdit);
        slider_[r] = static_cast<int>(SendMessageA(thePanel.rows[r].slider, TBM_GETPOS, 0, 0));
    }
    moveUnitFactor_[0] = thePanel.moveUnitFactor[0];
    moveUnitFactor_[1] = thePanel.moveUnitFactor[1];
    angleUnitFactor_ = thePanel.angleUnitFactor;
    view_ = theCanvas.view;
    baseX_ = theCopyArray.baseX;
    baseY_ = theCopyArray.baseY;
    settingsPath_ = thePanel.settingsPath;
    lastValues_ = thePanel.lastValues;
    hasLastValues_ = thePanel.hasLastValues;
}

void WindowTest::TearDown() {
    ReleaseCapture();
    theMouse = MouseTracker{};
    basePointPickMode = 0;
    if (theScaleDialog.popup) ShowWindow(theScaleDialog.popup, SW_HIDE);
    RECT now{};
    GetWindowRect(mainWindow, &now);
    if (!EqualRect(&now, &windowRect_))
        SetWindowPos(mainWindow, nullptr, windowRect_.left, windowRect_.top,
                     windowRect_.right - windowRect_.left, windowRect_.bottom - windowRect_.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    thePanel.moveUnitFactor[0] = moveUnitFactor_[0];
    thePanel.moveUnitFactor[1] = moveUnitFactor_[1];
    thePanel.angleUnitFactor = angleUnitFactor_;
    for (int r = 0; r < 6; ++r) {
        setRowText(r, rowText_[r].c_str());
        moveSlider(r, slider_[r]);
    }
    theCanvas.view = view_;
    theCopyArray.baseX = baseX_;
    theCopyArray.baseY = baseY_;
    thePanel.settingsPath = settingsPath_;
    thePanel.lastValues = lastValues_;
    thePanel.hasLastValues = hasLastValues_;
    thePanel.enableLastValues();
    thePanel.setHint("");
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

}  // namespace harness
