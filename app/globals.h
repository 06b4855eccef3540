#pragma once

// The program's single objects. They exist before WinMain runs and go after it returns. Those
// the view needs are declared beside their types: theFigure, theCopyArray, theCanvas, theMouse
// and basePointPickMode.

#include "app/parameter_panel.h"
#include "app/scale_dialog.h"
#include "copyarray/copy_array.h"
#include "figure/figure.h"
#include "view/canvas.h"
#include "view/mouse_tracker.h"

extern Bounds theFigureBounds;  // the figure's box, for skipping copies off the canvas
extern ParameterPanel thePanel;
extern ScaleDialog theScaleDialog;
extern int previewReady;
