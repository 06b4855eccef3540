// The window tests' entry: the program's start-up can run only once per process, so the main
// window is started here before any test and every test works on that one window.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/window/window_harness.h"

namespace {

// On a virtual display without a window manager, Wine waits two seconds for the window manager
// each time a managed top-level window (a message box, the scale dialog) is hidden. This
// executable's windows are therefore left unmanaged. Wine reads the setting when the process
// starts, so the first run writes it and starts the tests once more. It applies to this
// executable only and means nothing outside Wine.
constexpr char kDriverKey[] = "Software\\Wine\\AppDefaults\\zovrel_window_tests.exe\\X11 Driver";
constexpr char kRestarted[] = "ZOVREL_WINDOW_TESTS_RESTARTED";

bool windowsUnmanaged() {
    char value[8] = {};
    DWORD size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, kDriverKey, "Managed", RRF_RT_REG_SZ, nullptr, value,
                        &size) == ERROR_SUCCESS &&
           std::string(value) == "N";
}

void leaveWindowsUnmanaged() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDriverKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(key);
}

// Runs this executable again with the same command line; returns its exit code, or -1.
int runAgain() {
    SetEnvironmentVariableA(kRestarted, "1");
    std::string commandLine = GetCommandLineA();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
    if (!windowsUnmanaged() && !std::getenv(kRestarted)) {
        leaveWindowsUnmanaged();
        if (windowsUnmanaged()) {
            const int code = runAgain();
            if (code >= 0) return code;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    if (!harness::startProgram()) {
        std::fprintf(stderr, "the program's main window could not be started\n");
        harness::stopProgram();
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    harness::stopProgram();
    return result;
}
