#include "figure/exchange_io_names.h"

namespace {

constexpr std::string_view kInfix = ".zovrel-";
constexpr std::string_view kSuffix = ".tmp";

bool isSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

std::size_t nameStart(const std::string& path) {
    std::size_t i = path.size();
    while (i > 0 && !isSeparator(path[i - 1])) --i;
    return i;
}

// Takes a decimal number without leading zeros (at most 19 digits) from the front of text.
bool takeNumber(std::string_view& text, uint64_t* value) {
    std::size_t n = 0;
    uint64_t v = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9' && n < 19)
        v = v * 10 + static_cast<uint64_t>(text[n++] - '0');
    if (n == 0 || (n > 1 && text[0] == '0') ||
        (n < text.size() && text[n] >= '0' && text[n] <= '9'))
        return false;
    text.remove_prefix(n);
    *value = v;
    return true;
}

}  // namespace

std::string tempNameFor(const std::string& path, uint64_t pid, uint64_t counter) {
    return path + std::string(kInfix) + std::to_string(pid) + "-" + std::to_string(counter) +
           std::string(kSuffix);
}

std::string directoryPrefixOf(const std::string& path) {
    return path.substr(0, nameStart(path));
}

std::string fileNameOf(const std::string& path) {
    return path.substr(nameStart(path));
}

bool parseTempName(std::string_view name, std::string_view base, uint64_t* pid) {
    if (base.empty() || name.substr(0, base.size()) != base) return false;
    name.remove_prefix(base.size());
    if (name.substr(0, kInfix.size()) != kInfix) return false;
    name.remove_prefix(kInfix.size());
    uint64_t p = 0, counter = 0;
    if (!takeNumber(name, &p) || p == 0 || p >= (uint64_t{1} << 31)) return false;
    if (name.empty() || name[0] != '-') return false;
    name.remove_prefix(1);
    if (!takeNumber(name, &counter) || name != kSuffix) return false;
    *pid = p;
    return true;
}
