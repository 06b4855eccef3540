#pragma once

// The program's single objects. They exist before WinMain runs and go after it returns.

#include "app/parameter_panel.h"
#include "app/scale_dialog.h"
#include "copyarray/copy_array.h"
#include "figure/figure.h"
#include "view/canvas.h"
#include "view/mouse_tracker.h"

extern Figure theFigure;
extern Bounds theFigureBounds;  // the figure's box, for skipping copies off the canvas
extern CopyArray theCopyArray;
extern Canvas theCanvas;
extern MouseTracker theMouse;
extern int basePointPickMode;
extern ParameterPanel thePanel;
extern ScaleDialog theScaleDialog;
extern int previewReady;
