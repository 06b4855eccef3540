#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A broken property must end the run like a crash: libFuzzer then saves the input.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

// Bitwise equality: tells -0.0 from 0.0 and lets two NaNs with the same bits compare equal.
inline bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
