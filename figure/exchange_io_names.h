#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The names of Zovrel's temporary files beside the exchange file, "<path>.zovrel-<pid>-<n>.tmp",
// in one place for both platforms: the writer makes them, the stale-file removal recognises
// exactly them and nothing else.

std::string tempNameFor(const std::string& path, uint64_t pid, uint64_t counter);

// path up to and including its last separator (empty when it has none), and the rest.
std::string directoryPrefixOf(const std::string& path);
std::string fileNameOf(const std::string& path);

// True when name is exactly base + ".zovrel-<pid>-<n>.tmp" with both numbers in decimal
// without leading zeros, pid above 0 and below 2^31; then *pid holds it.
bool parseTempName(std::string_view name, std::string_view base, uint64_t* pid);
