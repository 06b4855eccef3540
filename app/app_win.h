#pragma once

#include <windows.h>

#include <string>

#include "app/base_dialog_win.h"
#include "app/parameter_model.h"
#include "app/parameter_panel_win.h"
#include "app/scale_dialog_win.h"
#include "app/settings_store.h"
#include "app/status_strip_win.h"
#include "copyarray/copy_preview.h"
#include "figure/figure.h"
#include "view/canvas_win.h"
#include "view/dpi_scale.h"
#include "view/figure_outlines.h"
#include "view/gdi_win.h"
#include "view/mouse_tracker.h"
#include "view/pan_drag.h"
#include "view/snap.h"
#include "view/view_mapping.h"
#include "view/wheel_zoom.h"

// The program's one state. WinMain makes it; every window procedure reaches it through its
// window (appOf). Input changes it and invalidates what shows the change; paints only read it.
struct App {
    // The drawing and every value the drafter sets.
    std::string exchangePath;
    Figure figure;
    FigureOutlines outlines;  // the circles as the preview draws them
    ParameterModel model;
    SettingsStore settings;

    // The view and the mouse.
    ViewMapping view;
    MouseTracker mouse;
    WheelZoom wheel;
    PanDrag pan;
    bool picking = false;   // the next plain click in the canvas sets the base point
    Point2 baseBeforePick;  // what Escape puts back while picking
    SnapTarget snapMark;    // while picking, where a right click at the pointer would snap
    PreviewResult preview;  // what the last picture could show, for the status strip's notes
    bool ready = false;     // start-up is over: the canvas shows the picture

    // The windows.
    HWND main = nullptr;
    int dpi = kBaseDpi;
    GdiObject<HFONT> font;  // every control's, label's and canvas text's
    IconHandle bigIcon, smallIcon;
    ParameterPanel panel;
    StatusStrip strip;
    Canvas canvas;
    ScaleDialog scaleDialog;
    BaseDialog baseDialog;
    HWND tabFocus = nullptr;  // the control the last Tab went to, while it keeps the focus

    int px(int at96) const { return scaled(at96, dpi); }
};

// WM_NCCREATE of a top-level window: it keeps the App its creation parameter carries.
void attachApp(HWND window, LPARAM createStruct);
// The App of a window of the program, or null before its top-level window was attached.
App* findApp(HWND window);
// The same for a window that exists only once the App does (the subclassed controls).
App& appOf(HWND window);

// After a change of the model: the picture, the unit labels and the status strip follow.
void modelChanged(App& app);
// Where the pointer is, in drawing units.
Point2 pointerInWorld(const App& app);
// The model takes the base point, and everything follows, only where it moved.
void moveBase(App& app, Point2 base);
// After a change of the view (scale, offsets, size): in pick mode the base point stays under
// the pointer; the picture follows, and with scaleChanged the scale button and dialog too.
void viewChanged(App& app, bool scaleChanged);
// The scale button and an open scale dialog show the view's scale.
void showScale(App& app);
// While picking, what a right click at the pointer would take; nothing otherwise.
void updateSnapMark(App& app);
