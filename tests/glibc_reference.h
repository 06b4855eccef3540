#pragma once

// glibc's own number conversions, kept here as the reference the project's reader and writer
// are compared with (in tests and fuzz targets only; the program never uses them, since the
// platforms' C libraries disagree).

#include <cstdio>
#include <cstdlib>
#include <string>

// What glibc writes for v with the fixed six-decimal format.
inline std::string glibcFixedSix(double v) {
    char text[400];
    const int n = std::snprintf(text, sizeof text, "%lf", v);
    return n < 0 ? std::string() : std::string(text, static_cast<std::size_t>(n));
}

// glibc's reading of a NUL-terminated text; *end receives where it stopped.
inline double glibcRead(const char* text, char** end) {
    return std::strtod(text, end);
}
