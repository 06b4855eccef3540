// Writes a deterministic exchange file of N entities for tests and benchmarks.
// Usage: zovrel-make-drawing N [SEED] > FILE

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/workload.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: zovrel-make-drawing N [SEED]\n", stderr);
        return 2;
    }
    const long total = std::strtol(argv[1], nullptr, 10);
    const std::string text =
        argc > 2 ? makeDrawing(total, std::strtoull(argv[2], nullptr, 10)) : makeDrawing(total);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
