#pragma once

#include "copyarray/writer.h"

struct App;

// What the drafter does to the panel and the dialogs, each a change of the application's state
// followed by the invalidation of what shows it.

void rowTyped(App& app, int row);  // a value box's text changed
void slidersMoved(App& app);       // a slider moved: the model takes every slider's position
void unitPressed(App& app, int row);
void keepAttributesPressed(App& app);  // remembered in zovrel.ini as it is left

// "前回値": the rows, units and check box the last completed send stored.
void restoreLastValues(App& app);

// "基点変更": the next plain click in the canvas sets the base point.
void basePointCommand(App& app);

// A right click on "基点変更" or a click on the base point in the status bar: the base point
// dialog offers the base point; its OK or Enter takes the typed one and ends a pick.
void showBaseDialog(App& app);
void applyTypedBase(App& app);

// Escape in the main window: ends a pick with the base point from before it; otherwise asks
// whether to quit, No the default.
void escapePressed(App& app);
// Quits without writing after a Yes; noByDefault makes No the button Enter presses.
void askToQuit(App& app, bool noByDefault);

// Home: the figure and all its copies fill the canvas, one step for "PREVIOUS".
void fitArrayCommand(App& app);

// "完了+JWWに送信": after a Yes, writes the copies into the exchange file, keeps the rows for
// "前回値" and ends the program. When writing fails, says why and keeps running with the file
// as it was; while a row's text is not a finite number, says so instead of writing.
void completeCommand(App& app);

// The scale button opens the scale dialog; its OK or Enter applies what was typed.
void showScaleDialog(App& app);
void applyTypedScale(App& app);

// The Japanese reason shown for a failed write.
const char* writeFailureReason(WriteError error);
