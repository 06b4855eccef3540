#pragma once

#include <memory>

#include "copyarray/copy_array.h"
#include "copyarray/copy_layout.h"
#include "figure/figure.h"

// About how many bytes the completion would write, for the readout and the question before a
// large write. Counting every byte means formatting every copy, so lines spread evenly over a
// few copies from the first to the last are formatted, and their mean stands for all lines
// (the attribute lines before them included); the strings the lines carry are counted whole.
struct OutputSize {
    // Outputs this size or more are worth a word.
    static constexpr double kAnnounced = 100.0 * 1024 * 1024;
    static constexpr double kAsked = 1024.0 * 1024 * 1024;

    // The figure must outlive this; its layouts are made when first needed.
    void setFigure(const Figure& figure);
    // The estimate, or 0 where a coarse bound already stays below `least`.
    double estimate(const CopyArray& copies, const CopyParameters& params,
                    double least = kAnnounced);

  private:
    const Figure* figure = nullptr;
    std::unique_ptr<CopyLayout> layouts[2];  // without and with the attributes
};
