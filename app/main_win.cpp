#include <windows.h>

#include "app/main_window_win.h"
#include "figure/exchange_io.h"

// The host starts the program in the directory of the exchange file; the command line is ignored.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!startZovrel(instance, kExchangeFile)) return 0;
    return runMessageLoop();
}
