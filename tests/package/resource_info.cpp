// Prints what Windows reads from a program's resources, for the package check: the version
// resource's fixed version and strings (as GetFileVersionInfoA gives them, in the ANSI code
// page) and the application manifest, RT_MANIFEST id 1.

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

void printVersionInfo(const char* path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(path, 0, size, data.data())) {
        std::printf("no version resource\n");
        return;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed)
        std::printf("FileVersionNumbers=%u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                    LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                    LOWORD(fixed->dwFileVersionLS));
    const char* names[] = {"FileVersion",     "ProductVersion",   "ProductName",
                           "FileDescription", "OriginalFilename", "LegalCopyright"};
    for (const char* name : names) {
        char query[64];
        std::snprintf(query, sizeof query, "\\StringFileInfo\\041104B0\\%s", name);
        char* value = nullptr;
        if (VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&value), &length) && value)
            std::printf("%s=%s\n", name, value);
    }
}

void printManifest(const char* path) {
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found =
        module ? FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded) {
        std::printf("no manifest\n");
    } else {
        std::printf("manifest:\n");
        std::fwrite(LockResource(loaded), 1, SizeofResource(module, found), stdout);
    }
    if (module) FreeLibrary(module);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: resource_info PROGRAM.exe\n");
        return 2;
    }
    printVersionInfo(argv[1]);
    printManifest(argv[1]);
    return 0;
}
