#pragma once

#include <cstdio>

#include "copyarray/copy_array.h"
#include "figure/figure.h"

// The plain way, for comparison only: text-mode stdio, fgets into a 256-byte buffer, strtod per
// field, snprintf("%lf") into a 512-byte buffer and fputs, and every outline point through five
// matrix products. Never used by the program.

bool plainLoadFigure(const char* path, Figure& figure);

// Writes copies 1..n as the writer does (same lines, same order) to an open stream.
void plainWriteCopies(const Figure& figure, const CopyArray& copies, const CopyInputs& inputs,
                      std::FILE* out);
