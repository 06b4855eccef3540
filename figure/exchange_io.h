#pragma once

#include <cstdio>
#include <string>

// The file-system seam of the exchange file: the only platform-specific code under the core.
// exchange_io_posix.cpp and exchange_io_win.cpp implement it; nothing else in the core knows
// which platform it runs on.

// The exchange file, in the directory the host started the program in.
constexpr char kExchangeFile[] = "JWC_TEMP.TXT";

enum class FileState {
    missing,   // nothing at the path
    writable,  // a regular file the writer may replace
    readOnly,  // Windows: the read-only attribute; elsewhere: no write bit for the owner
    notAFile,  // a directory or another kind of object
};

FileState exchangeFileState(const char* path);

// Binary reading; null when the path cannot be opened or is not a regular file.
std::FILE* openForReading(const char* path);

// Creates a new, empty file in the directory of path, open for binary writing, and stores
// its name in tempPath. On POSIX it gets the permission bits of path, if path exists.
// Removes stale temporary files of path first.
std::FILE* createTempBeside(const char* path, std::string& tempPath);

// Removes the temporary files of path (exactly Zovrel's own naming) that no running writer
// holds: on POSIX those whose process is gone, on Windows those nobody has open. Other files
// are never touched.
void removeStaleTempFiles(const char* path);

// Flushes, forces the data to the disk and closes; true on success. The file is closed either
// way.
bool commitAndClose(std::FILE* file);

// Puts from in the place of to in one step (rename; MoveFileExA on Windows), then makes the
// new name durable (on POSIX a sync of the directory). True when from has taken the place.
bool replaceFile(const char* from, const char* to);

void removeFile(const char* path);

// Standard output without line-end translation (Windows would turn "\r\n" into "\r\r\n").
void setBinaryStdout();
