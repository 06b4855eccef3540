#pragma once

#include <windows.h>

// The DPI a window is laid out for. Windows 10 (1607 on) tells each window its monitor's DPI;
// Windows 7 and 8 know only the system's, which the screen's device context reports. The newer
// function is looked up at run time so that the program still starts on the older systems.
int windowDpi(HWND window);
int systemDpi();
