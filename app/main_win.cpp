#include <windows.h>

#include <memory>

#include "app/app_win.h"
#include "app/main_window_win.h"
#include "figure/exchange_io.h"

// The host starts the program in the directory of the exchange file; the command line is ignored.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // On the heap: the state holds the whole drawing.
    const std::unique_ptr<App> app = std::make_unique<App>();
    if (!startZovrel(*app, instance, kExchangeFile)) return 0;
    return runMessageLoop(*app);
}
