#pragma once

#include <windows.h>

// The DPI a window is laid out for. Windows 10 (1607 on) tells each window its monitor's DPI;
// Windows 7 and 8 know only the system's, which the screen's device context reports. The newer
// function is looked up at run time so that the program still starts on the older systems.
int windowDpi(HWND window);
int systemDpi();

// The outer size at dpi of a window with this style that measures outer96 at 96 DPI: its client
// area scaled, and the frame and caption the system draws at dpi around it. Where the frame at
// another DPI cannot be asked for (before Windows 10 1607), the outer size scaled.
SIZE outerSizeAt(SIZE outer96, DWORD style, DWORD exStyle, int dpi);
