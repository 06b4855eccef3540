#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/parameter_model.h"
#include "copyarray/copy_preview.h"
#include "copyarray/output_count.h"
#include "copyarray/records_left_out.h"

// The status strip's texts, without any window.

// What a picture's preview could not show: the clamped count, and how many copies the time
// budget let it draw. Empty when it showed everything.
std::string previewNote(const PreviewResult& preview);

// What the copies leave out of the selection, kind by kind with their counts, and why: what
// the check box would copy, what no copy takes, the block references of turned copies.
std::string leftOutNote(const std::vector<LeftOut>& leftOut);

// "出力 N 個 / M 要素", or that the completion would refuse to write.
std::string outputReadout(const OutputCount& output, bool writable);
// "350 MB", "1.2 GB": a size as Windows' Explorer counts it.
std::string sizeText(double bytes);
// The same from the model: a row that is not a finite number is named.
std::string outputReadout(const ParameterModel& model);

// How the rows' texts were read, where that is not as typed: the rows that are not finite
// numbers, those of which only the start counted (and as what), and the row just typed into
// while its slider is at 0 %. Empty when every text reads as typed.
std::string valueNote(const ParameterModel& model);
