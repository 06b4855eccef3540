#pragma once

#include <windows.h>

#include <string>
#include "app/child_layout_win.h"
#include "app/parameter_model.h"
#include "app/settings_file.h"
#include "copyarray/copy_array.h"
#include "copyarray/copy_preview.h"

// Control ids, fixed since the first version. Row 6's controls all carry id 0; every lookup
// tries rows 1 to 6 in order, so id 0 always finds row 6.
constexpr int kPanelId = 0;
constexpr int kStatusBarId = 1;
constexpr int kStatusStripId = 3;
constexpr int kScaleButtonId = 28;
constexpr int kCompleteButtonId = 1;
constexpr int kBasePointButtonId = 26;
constexpr int kLastValuesButtonId = 27;  // unused by the first version's panel
constexpr int kKeepAttributesId = 29;    // likewise
constexpr int kRowMoveXUnitId = 3;
constexpr int kRowMoveYUnitId = 7;
constexpr int kRowAngleUnitId = 11;

// Sizes at 96 DPI; the window scales them to its DPI (app/child_layout_win.h).
constexpr int kPanelWidth = 140;
constexpr int kRowPitch = 70;
constexpr int kRowTop = 5;
constexpr int kSizeGrip = 17;
constexpr int kScaleButtonTop = 3;
constexpr int kScaleButtonWidth = 60;
constexpr int kScaleButtonHeight = 16;
constexpr int kScaleButtonMinX = 300;
constexpr int kHintSize = 512;
// "前回値", just below "基点変更" (5, 420, 130 x 20); the room below it is left free.
constexpr int kLastValuesButtonX = 5;
constexpr int kLastValuesButtonY = 445;
constexpr int kLastValuesButtonWidth = 130;
constexpr int kLastValuesButtonHeight = 20;
// The check box 属性・文字も複写 below it, at 96 DPI.
constexpr int kKeepAttributesX = 5;
constexpr int kKeepAttributesY = 470;
constexpr int kKeepAttributesWidth = 130;
constexpr int kKeepAttributesHeight = 20;

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

// The 140-pixel column (at 96 DPI) of parameter rows, and the status bar it builds. Whenever a row
// changes the controls are read into the parameter model once; everything else reads the model.
struct ParameterPanel {
    ParameterPanel();

    void create(HWND main, const CREATESTRUCTA& creation);
    void layout(HWND main, WPARAM wParam, LPARAM lParam, const RECT& mainClient);
    void placeControls();  // every control of the panel at the DPI now (layout() follows)
    void setDefaultMoves(double horizontal, double vertical);
    void valueText(int id, char* buffer);  // at least kRowTextSize bytes
    int sliderPosition(int id);
    bool toggleUnit(int id);  // false: not a unit button
    void updatePercentBoxes();
    void paintLabels();
    void drawItem(WPARAM wParam, LPARAM lParam);  // WM_DRAWITEM of the unit and scale buttons
    void drawOwnerButton(HDC dc, int id, bool pressed, const RECT& rect);
    void setHint(const char* text);
    void showScale();  // the scale button follows the view
    CopyInputs readCopyInputs();
    // The rows changed: the model takes them, the preview and the readout follow.
    void rowsChanged();
    bool isValueBox(HWND window) const;
    // What the last repaint's preview managed; the status bar tells what it leaves out.
    void notePreview(const PreviewResult& result);
    // "前回値": the rows the last completion stored in the settings file. Loaded at start-up
    // (only the button brings them back), stored after a completed write, put back on a press.
    void loadLastValues(const std::string& path);
    void storeLastValues();
    // zovrel.ini: the check box as it is now, and the rows as the last values when asked.
    void storeSettings(bool withLastValues);
    void restoreLastValues();
    void enableLastValues();  // the button follows hasLastValues

    HWND mainWindow = nullptr;
    HWND statusBar = nullptr;
    HWND scaleButton = nullptr;
    HWND statusStrip = nullptr;
    HWND panel = nullptr;
    HWND completeButton = nullptr;
    WNDPROC previousStripProc = nullptr;
    WNDPROC previousPanelProc = nullptr;
    ParameterRowControls rows[kRowCount];
    HWND basePointButton = nullptr;
    HWND lastValuesButton = nullptr;
    HWND keepAttributesBox = nullptr;
    std::string settingsPath;  // empty: nothing is remembered
    LastValues lastValues;
    bool hasLastValues = false;
    bool settingRows = false;  // the rows are set as a whole: their edits report nothing
    ChildLayout controls;      // the panel's controls and their places at 96 DPI
    int moveUnitFactor[2] = {kMoveFactorMillimetres, kMoveFactorMillimetres};
    double angleUnitFactor = kDegreeFactor;
    char hintText[kHintSize] = {};
    PreviewResult preview;
    ParameterModel model;
};

LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
