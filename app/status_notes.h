#pragma once

#include <cstdint>
#include <string>

#include "app/parameter_model.h"
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
// The same from the model: a row that is not a finite number is named.
std::string outputReadout(const ParameterModel& model);

// How the rows' texts were read, where that is not as typed: the rows that are not finite
// numbers, those of which only the start counted (and as what), and the row just typed into
// while its slider is at 0 %. Empty when every text reads as typed.
std::string valueNote(const ParameterModel& model);
