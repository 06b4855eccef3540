#pragma once

#include <cstdio>
#include <map>
#include <string>

// Rows of the benchmark summary: the product's time per run, the plain way's, and a rate.
struct BenchRow {
    double productSeconds = 0;
    double plainSeconds = 0;
    double bytes = 0;  // bytes read or written per run, for MB/s
    std::string note;
};

inline std::map<std::string, BenchRow>& benchRows() {
    static std::map<std::string, BenchRow> rows;
    return rows;
}

inline void printBenchTable(std::FILE* out) {
    for (const auto& [name, row] : benchRows()) {
        std::fprintf(out, "| %-44s | %10.2f ms |", name.c_str(), row.productSeconds * 1e3);
        if (row.plainSeconds > 0)
            std::fprintf(out, " %10.2f ms | %6.1f x |", row.plainSeconds * 1e3,
                         row.plainSeconds / row.productSeconds);
        else
            std::fprintf(out, " %13s | %8s |", "", "");
        if (row.bytes > 0)
            std::fprintf(out, " %7.0f MB/s |", row.bytes / row.productSeconds / 1e6);
        else
            std::fprintf(out, " %12s |", "");
        std::fprintf(out, " %s\n", row.note.c_str());
    }
}
