#pragma once

// The program's single objects. They exist before WinMain runs and go after it returns.

#include "app/parameter_panel_win.h"
#include "app/scale_dialog_win.h"
#include "copyarray/copy_array.h"
#include "copyarray/output_count.h"
#include "figure/figure.h"
#include "view/canvas_win.h"
#include "view/mouse_tracker.h"

extern Figure theFigure;
extern CopyArray theCopyArray;
extern MouseTracker theMouse;
extern int basePointPickMode;  // the next plain click in the canvas sets the base point
extern Bounds theFigureBounds;
extern FigureReach theFigureReach;  // for telling whether the copies can be written  // the
                                    // figure's box, for skipping copies off the canvas
extern ParameterPanel thePanel;
extern ScaleDialog theScaleDialog;
extern int previewReady;
