#pragma once

#include <cstdint>
#include <string>

#include "copyarray/copy_preview.h"
#include "copyarray/output_count.h"

// The status strip's texts, without any window.

// What a picture's preview could not show: the clamped count, and how many copies the time
// budget let it draw. Empty when it showed everything.
std::string previewNote(const PreviewResult& preview);

// How many of the selection's texts the copies leave out (the check box is off).
std::string textsNote(int64_t texts);

// "出力 N 個 / M 要素", or that the completion would refuse to write.
std::string outputReadout(const OutputCount& output, bool writable);
