#pragma once

#include <windows.h>

#include <string>

#include "app/child_layout_win.h"
#include "copyarray/copy_array.h"

// Control ids. Row 6's controls all carry id 0; every lookup tries rows 1 to 6 in order, so id 0
// always finds row 6.
constexpr int kPanelId = 0;
constexpr int kCompleteButtonId = 1;
constexpr int kBasePointButtonId = 26;
constexpr int kLastValuesButtonId = 27;
constexpr int kKeepAttributesId = 29;
constexpr int kRowMoveXUnitId = 3;
constexpr int kRowMoveYUnitId = 7;
constexpr int kRowAngleUnitId = 11;

// Sizes at 96 DPI; the window scales them to its DPI.
constexpr int kPanelWidth = 140;
constexpr int kRowPitch = 70;
constexpr int kRowTop = 5;
// "前回値", just below "基点変更" (5, 420, 130 x 20), and the check box 属性・文字も複写 below it.
constexpr PixelBox kBasePointButtonBox{5, 420, 130, 20};
constexpr PixelBox kLastValuesButtonBox{5, 445, 130, 20};
constexpr PixelBox kKeepAttributesBox{5, 470, 130, 20};

// The text colours of a value box read only in part, and of one that is not a finite number.
constexpr COLORREF kPartialColour = RGB(176, 96, 0);
constexpr COLORREF kNotFiniteColour = RGB(224, 0, 0);

struct ParameterRowControls {
    HWND valueEdit = nullptr;
    HWND unitButton = nullptr;  // rows 1 to 3 only
    HWND slider = nullptr;
    HWND percentBox = nullptr;
    int editId;
    int unitId;  // -1: no unit button
    int sliderId;
    int percentId;
};

// The 140-pixel column (at 96 DPI) of the six parameter rows and the command buttons. It only
// shows the model (app/parameter_model.h) and reports what the drafter does to it.
struct ParameterPanel {
    ParameterPanel();

    void create(HWND main, HINSTANCE instance, const CopyInputs& rows, HFONT font, int dpi);
    void layout(int height, int dpi);  // the height; the completion button keeps to the bottom
    void placeControls(int dpi);       // every control at that DPI (layout follows)
    // Every control shows the rows; meanwhile the edits report nothing, since nobody typed.
    void show(const CopyInputs& rows);
    void showUnits();  // the unit buttons draw what the model holds now
    // A value box whose text was read only in part, or not as a finite number, shows it in a
    // colour of its own (markColour); the boxes whose mark changed are drawn anew.
    void showReadings(const RowReading (&reading)[kRowCount]);
    COLORREF markColour(int row) const;
    void enableLastValues(bool enabled);
    void paintLabels(HFONT font, int dpi);

    // What the drafter did, by the control: the row, or -1 when it is none of the rows'.
    int rowOfValueBox(HWND window) const;
    int rowOfUnitButton(int id) const;
    bool isValueBox(HWND window) const { return rowOfValueBox(window) >= 0; }
    bool isPercentBox(HWND window) const;
    bool isSlider(HWND window) const;
    void valueText(int row, char text[kRowTextSize]) const;
    std::string typedText(int row) const;  // all of it, however long
    // The box holds this shorter text, the caret after it; nobody typed it.
    void cutText(int row, const char* text);
    int sliderPosition(int row) const;
    bool keepAttributesChecked() const;

    HWND panel = nullptr;
    HWND completeButton = nullptr;
    HWND basePointButton = nullptr;
    HWND lastValuesButton = nullptr;
    HWND keepAttributesBox = nullptr;
    ParameterRowControls rows[kRowCount];
    WNDPROC previousProc = nullptr;  // the static control's own
    bool showing = false;            // the program sets the controls: their edits report nothing
    RowRead shownReading[kRowCount] = {};
    ChildLayout controls;  // the panel's controls and their places at 96 DPI
};

// The panel's procedure: what the drafter does to its controls goes to the model
// (app/panel_input_win.cpp).
LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The label of a unit button for the rows as they are.
const char* unitLabel(const CopyInputs& rows, int row);
