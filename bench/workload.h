#pragma once

#include <cstdint>
#include <string>

// Deterministic exchange files for tests and benchmarks, written the way the writer writes
// numbers: a cycle of 200 entities holds 110 segments, 3 polylines of 10 segments, 15
// three-number circles, 15 seven-number arcs and 30 points, spread over 100,000 drawing units,
// between header and attribute lines like the host's.
// With attributeEvery > 0, a line colour change (lc1 to lc9 in turn) before every
// attributeEvery-th entity. With optionalKinds, two thirds of the points become texts of
// twelve bytes and four-point solids, which only the copies that keep the attributes take.
std::string makeDrawing(long entities, uint64_t seed = 88172645463325252ull,
                        long attributeEvery = 0, bool optionalKinds = false);

// A figure of `segments` short segments near the origin, for the many-copies case.
std::string makeSmallFigure(int segments);

// `segments` random segments over 100,000 drawing units and nothing else.
std::string makeSegments(long segments);
