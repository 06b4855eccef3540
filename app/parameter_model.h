#pragma once

#include <cstdint>

#include "copyarray/copy_array.h"
#include "copyarray/output_count.h"
#include "figure/figure.h"

// The six rows as the panel holds them and what they come to, evaluated once whenever a row
// changes (typing, a slider, a unit button, start-up). The preview, the output readout and
// the completion all read this; nothing reads the controls back.
struct ParameterModel {
    CopyInputs inputs;
    CopyParameters params;
    OutputCount output;  // what the completion would write now

    void setFigure(const Figure& figure);  // once, after reading
    void update(const CopyInputs& in);
    // The figure's texts that the copies leave out: all of them unless the attributes are kept.
    int64_t textsLeftOut() const { return params.keepAttributes ? 0 : texts; }

  private:
    int64_t perCopy = 0;           // without the texts
    int64_t perCopyWithTexts = 0;  // when the copies keep the attributes
    int64_t texts = 0;
};
