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
std::FILE* createTempBeside(const char* path, std::string& tempPath);

// Flushes, forces the data to the disk and closes; 1 on success. The file is closed either way.
int commitAndClose(std::FILE* file);

// Puts from in the place of to in one step (rename; MoveFileExA on Windows). 1 on success.
int replaceFile(const char* from, const char* to);

void removeFile(const char* path);

// Standard output without line-end translation (Windows would turn "\r\n" into "\r\r\n").
void setBinaryStdout();
