#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "figure/exchange_io.h"
#include "figure/exchange_io_names.h"

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

void removeStaleTempFiles(const char* path) {
    const std::string prefix = directoryPrefixOf(path);
    const std::string base = fileNameOf(path);
    DIR* dir = opendir(prefix.empty() ? "." : prefix.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        uint64_t pid = 0;
        if (!parseTempName(entry->d_name, base, &pid)) continue;
        // A pid in use keeps its file, even when reused by another program: a leftover then
        // only stays a while longer. Only a pid that names no process at all is certain.
        if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        const std::string name = prefix + entry->d_name;
        struct stat st {};
        if (lstat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(name.c_str());
    }
    closedir(dir);
}

std::FILE* createTempBeside(const char* path, std::string& tempPath) {
    removeStaleTempFiles(path);
    mode_t mode = 0644;
    struct stat st {};
    if (stat(path, &st) == 0 && S_ISREG(st.st_mode)) mode = st.st_mode & 07777;
    // The first name free in the folder: this process's earlier ones are gone by now, and a
    // name taken meanwhile (O_EXCL) only moves on to the next.
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            tempNameFor(path, static_cast<uint64_t>(getpid()), static_cast<uint64_t>(attempt));
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

bool commitAndClose(std::FILE* file) {
    bool ok = std::fflush(file) == 0 && !std::ferror(file);
    ok = ok && fsync(fileno(file)) == 0;
    ok = (std::fclose(file) == 0) && ok;
    return ok;
}

bool replaceFile(const char* from, const char* to) {
    if (std::rename(from, to) != 0) return false;
    // The new name lives in the directory: sync it too, or a power loss may bring back the
    // old file. The file itself is complete and in place by now, so a directory that cannot
    // be synced (some file systems refuse) does not make the write a failure.
    const std::string prefix = directoryPrefixOf(to);
    const int dir = open(prefix.empty() ? "." : prefix.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

void removeFile(const char* path) {
    unlink(path);
}

void setBinaryStdout() {}
