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

// The product's figures before the worker threads, the point store and the exact line walk
// (same machine, 2 cores), for the comparison column.
inline const char* previousFigure(const std::string& name) {
    static const std::map<std::string, const char*> previous = {
        {"read 1,000,000 entities (52 MB)", "421 ms"},
        {"read 1,000,000 entities, no outlines (batch)", "421 ms"},
        {"write 20 copies of 10,000 entities", "43 ms"},
        {"write 2 copies of 1,000,000 entities", "452 ms"},
        {"zovrel-batch start to exit, 1,000,000 entities, 2 copies", "1,650 ms"},
        {"repaint 800x600, 20 copies of 10,000 entities", "43 ms"},
        {"repaint 800x600, 20 copies of 10,000 segments", "13 ms"},
        {"repaint 800x600, 100,000 copies of 10 segments", "27 ms"},
        {"repaint 800x600, 20 copies of 100,000 entities", "100 ms, 4 copies"},
    };
    const auto it = previous.find(name);
    return it == previous.end() ? "" : it->second;
}

inline void printBenchTable(std::FILE* out) {
    for (const auto& [name, row] : benchRows()) {
        std::fprintf(out, "| %-44s | %16s | %10.2f ms |", name.c_str(), previousFigure(name),
                     row.productSeconds * 1e3);
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
