#pragma once

#include <windows.h>

#include "app/child_layout_win.h"
#include "copyarray/copy_array.h"

struct App;

// A small tool window owned by the main window in which one value is typed: a label, an edit
// and OK. OK or Enter in the edit applies what was typed; the close box (and Escape) hides it
// without applying. It keeps the text it offered, so that OK on that text keeps the value
// exactly, however the text shows it.
struct SmallDialog {
    // What it is: the class, the label, the edit's place at 96 DPI, and what OK does.
    struct Kind {
        const char* className;
        const char* label;
        PixelBox editBox;
        void (*apply)(App& app);
    };

    // False when its class cannot be registered; then there is no dialog. `creation` is the
    // popup's creation parameter (the application's state, app/app_win.h).
    bool create(HWND owner, HINSTANCE instance, HFONT font, int dpi, void* creation,
                const Kind& kind, const char* initial);
    void hide();
    void placeControls(int dpi);  // its size and its controls at that DPI (place follows)
    // Its outer bottom corner onto the main window's, the right one or the left one.
    void placeAtCorner(HWND main, bool right);
    void offerText(const char* text);  // the edit shows it
    bool offeredUnchanged() const;     // the edit still holds what was offered
    // While it is open it shows what it offers, unless the drafter is typing.
    bool typing() const;
    bool isOpen() const { return popup && IsWindowVisible(popup); }
    bool owns(HWND window) const { return popup && (window == popup || IsChild(popup, window)); }

    static constexpr int kOuterWidth = 300;  // at 96 DPI, caption and frame included
    static constexpr int kOuterHeight = 50;

    HWND popup = nullptr;
    HWND okButton = nullptr;
    HWND edit = nullptr;
    int okId = 0;
    int editId = 1;
    char offeredText[kRowTextSize] = {};
    WNDPROC previousEditProc = nullptr;
    ChildLayout controls;
    Kind kind{};
};

LRESULT CALLBACK smallDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK smallEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
