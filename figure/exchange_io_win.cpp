#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "figure/exchange_io.h"
#include "figure/exchange_io_names.h"

FileState exchangeFileState(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileState::missing;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return FileState::notAFile;
    return (attributes & FILE_ATTRIBUTE_READONLY) ? FileState::readOnly : FileState::writable;
}

std::FILE* openForReading(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    return std::fopen(path, "rb");
}

namespace {

bool processRuns(uint64_t pid) {
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;  // unknown: assume it runs
    DWORD code = 0;
    const bool runs = !GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
    CloseHandle(process);
    return runs;
}

}  // namespace

void removeStaleTempFiles(const char* path) {
    const std::string prefix = directoryPrefixOf(path);
    const std::string base = fileNameOf(path);
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((std::string(path) + ".zovrel-*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        uint64_t pid = 0;
        // The pattern also matches short names: only the exact long name counts.
        if (!parseTempName(found.cFileName, base, &pid)) continue;
        if (found.dwFileAttributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        // A writer keeps its file open until the replace, and an open file refuses a handle
        // without sharing: whoever gets one holds a leftover, deleted as the handle closes.
        // Its process must be gone too, for the moment between closing and replacing.
        if (processRuns(pid)) continue;
        const HANDLE file = CreateFileA((prefix + found.cFileName).c_str(), DELETE, 0, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::FILE* createTempBeside(const char* path, std::string& tempPath) {
    removeStaleTempFiles(path);
    // The first name free in the folder: this process's earlier ones are gone by now, and a
    // name taken meanwhile (O_EXCL) only moves on to the next.
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            tempNameFor(path, static_cast<uint64_t>(_getpid()), static_cast<uint64_t>(attempt));
        const int fd = _open(tempPath.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                             _S_IREAD | _S_IWRITE);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        std::FILE* f = _fdopen(fd, "wb");
        if (!f) {
            _close(fd);
            DeleteFileA(tempPath.c_str());
        }
        return f;
    }
    return nullptr;
}

bool commitAndClose(std::FILE* file) {
    bool ok = std::fflush(file) == 0 && !std::ferror(file);
    ok = ok && _commit(_fileno(file)) == 0;
    ok = (std::fclose(file) == 0) && ok;
    return ok;
}

bool replaceFile(const char* from, const char* to) {
    // MOVEFILE_REPLACE_EXISTING makes this one step; a read-only target is refused by the
    // caller before, and MoveFileExA would refuse it as well.
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void removeFile(const char* path) {
    DeleteFileA(path);
}

void setBinaryStdout() {
    _setmode(_fileno(stdout), _O_BINARY);
}
