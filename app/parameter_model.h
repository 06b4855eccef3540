#pragma once

#include <cstdint>

#include "copyarray/copy_array.h"
#include "copyarray/output_count.h"
#include "copyarray/output_size.h"
#include "copyarray/records_left_out.h"
#include "figure/figure.h"

// Every value the drafter sets (the six rows, their units, the check box 属性・文字も複写 and the
// base point) and what they come to, evaluated once per change. The preview, the unit labels,
// the output readout and the completion read this and nothing else.
struct ParameterModel {
    // What the drafter sets.
    CopyInputs inputs;
    CopyArray copies;  // the base point
    // What it comes to, after every change.
    CopyParameters params;
    RowReading reading[kRowCount];  // how each row's text was read
    OutputCount output;             // what the completion would write now
    // Whether it would write it: every row reads as a finite number and every number to be
    // written is finite (or, where that could not be decided in time, not known to be not).
    bool writable = true;
    std::vector<LeftOut> leftOut;  // what the copies leave out of the selection, to be named

    // Once, after reading and before the first change (setRows at start-up); the figure must
    // outlive the model.
    void setFigure(const Figure& figure);

    // The changes. Each evaluates the whole once.
    void setRows(const CopyInputs& rows);  // start-up, "前回値"
    void setRowText(int row, const char* text);
    void setSliders(const int (&positions)[kRowCount]);
    // Rows 1 to 3: the text is converted so the copies stay put; false, nothing changed, where
    // the converted value would not be finite.
    bool toggleUnit(int row);
    void setKeepAttributes(bool keep);
    void setBase(double x, double y);

    // The figure's texts that the copies leave out: all of them unless the attributes are kept.
    int64_t textsLeftOut() const { return params.keepAttributes ? 0 : texts; }
    // The first row whose text is not a finite number, or -1: nothing is written meanwhile.
    int rowNotFinite() const;
    // The row just typed into while its slider is at 0 %, so that it does not count yet; -1.
    int rowTypedAtZero() const;
    // What the preview draws: no copies while a row is not a finite number.
    const CopyParameters& previewParams() const { return rowNotFinite() < 0 ? params : none; }

  private:
    void update();

    const Figure* figure = nullptr;
    CopyParameters none;
    int typed = -1;  // the row last typed into since the rows were last set
    FigureReach reach;
    OutputSize size;
    RecordTally tally;
    int64_t perCopy = 0;           // without the texts
    int64_t perCopyWithTexts = 0;  // when the copies keep the attributes
    int64_t texts = 0;
};
