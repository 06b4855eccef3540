#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A fresh, empty directory for one test, removed with everything in it afterwards.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The path of name inside the directory, as the narrow string the product code takes.
    std::string path(const std::string& name) const;
    // The names of everything in the directory, sorted.
    std::vector<std::string> entries() const;

  private:
    std::filesystem::path root_;
};

void writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);

// Makes a file read-only (the owner's write bit; on Windows the read-only attribute) or
// writable again.
void setReadOnly(const std::string& path, bool readOnly);
