#include "app/globals_win.h"

Figure theFigure;
Bounds theFigureBounds;
FigureReach theFigureReach;
CopyArray theCopyArray;
Canvas theCanvas;
MouseTracker theMouse;
int basePointPickMode = 0;
ParameterPanel thePanel;
ScaleDialog theScaleDialog;
int previewReady = 0;
