#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

#include "figure/exchange_io.h"

FileState exchangeFileState(const char* path) {
    struct stat st {};
    if (stat(path, &st) != 0) return FileState::missing;
    if (!S_ISREG(st.st_mode)) return FileState::notAFile;
    // The owner's write bit, whoever runs the tool: root could write anyway, but the host's
    // file was marked read-only on purpose.
    return (st.st_mode & S_IWUSR) ? FileState::writable : FileState::readOnly;
}

std::FILE* openForReading(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return nullptr;
    struct stat st {};
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(f);
        return nullptr;
    }
    return f;
}

std::FILE* createTempBeside(const char* path, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    mode_t mode = 0644;
    struct stat st {};
    if (stat(path, &st) == 0 && S_ISREG(st.st_mode)) mode = st.st_mode & 07777;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = std::string(path) + ".zovrel-" + std::to_string(getpid()) + "-" +
                   std::to_string(counter++) + ".tmp";
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        fchmod(fd, mode);
        std::FILE* f = fdopen(fd, "wb");
        if (!f) {
            close(fd);
            unlink(tempPath.c_str());
        }
        return f;
    }
    return nullptr;
}

int commitAndClose(std::FILE* file) {
    bool ok = std::fflush(file) == 0 && !std::ferror(file);
    ok = ok && fsync(fileno(file)) == 0;
    ok = (std::fclose(file) == 0) && ok;
    return ok ? 1 : 0;
}

int replaceFile(const char* from, const char* to) {
    return std::rename(from, to) == 0 ? 1 : 0;
}

void removeFile(const char* path) {
    unlink(path);
}

void setBinaryStdout() {}
