#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "figure/exchange_io.h"

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

std::FILE* createTempBeside(const char* path, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = std::string(path) + ".zovrel-" + std::to_string(_getpid()) + "-" +
                   std::to_string(counter++) + ".tmp";
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

int commitAndClose(std::FILE* file) {
    bool ok = std::fflush(file) == 0 && !std::ferror(file);
    ok = ok && _commit(_fileno(file)) == 0;
    ok = (std::fclose(file) == 0) && ok;
    return ok ? 1 : 0;
}

int replaceFile(const char* from, const char* to) {
    // MOVEFILE_REPLACE_EXISTING makes this one step; a read-only target is refused by the
    // caller before, and MoveFileExA would refuse it as well.
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
}

void removeFile(const char* path) {
    DeleteFileA(path);
}

void setBinaryStdout() {
    _setmode(_fileno(stdout), _O_BINARY);
}
