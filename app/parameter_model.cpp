#include "app/parameter_model.h"

#include "app/panel_values.h"

void ParameterModel::setFigure(const Figure& f) {
    figure = &f;
    reach = figureReach(f);
    size.setFigure(f);
    tally = RecordTally(f);
    perCopy = elementsPerCopy(f);
    perCopyWithTexts = elementsPerCopy(f, true);  // every kind the copies keep
    texts = textsPerCopy(f);
}

void ParameterModel::setRows(const CopyInputs& rows) {
    inputs = rows;
    typed = -1;
    update();
}

void ParameterModel::setRowText(int row, const char* text) {
    inputs.setText(row, text);
    typed = row;
    update();
}

void ParameterModel::setSliders(const int (&positions)[kRowCount]) {
    for (int r = 0; r < kRowCount; ++r) inputs.rowSlider[r] = positions[r];
    update();
}

bool ParameterModel::toggleUnit(int row) {
    bool done = false;
    if (row == kRowAngle)
        done = toggleAngleUnit(inputs.rowText[row], inputs.angleUnitFactor);
    else if (row == kRowMoveX || row == kRowMoveY)
        done = toggleMoveUnit(inputs.rowText[row], inputs.moveUnitFactor[row]);
    update();
    return done;
}

int ParameterModel::rowNotFinite() const {
    for (int r = 0; r < kRowCount; ++r)
        if (reading[r].how == RowRead::notFinite) return r;
    return -1;
}

int ParameterModel::rowTypedAtZero() const {
    if (typed < 0 || inputs.rowSlider[typed] != 0 || reading[typed].how == RowRead::blank)
        return -1;
    return typed;
}

void ParameterModel::setKeepAttributes(bool keep) {
    inputs.keepAttributes = keep;
    update();
}

void ParameterModel::setBase(double x, double y) {
    copies.baseX = x;
    copies.baseY = y;
    update();
}

void ParameterModel::update() {
    for (int r = 0; r < kRowCount; ++r) reading[r] = readRowText(r, inputs.rowText[r]);
    params = evaluateCopyParameters(inputs);
    output = outputCount(params.keepAttributes ? perCopyWithTexts : perCopy, params);
    // The copies that turn or scale leave the block references out, and what they hold.
    if (params.keepAttributes)
        output.elements -=
            static_cast<int64_t>(tally.blockElements) * (output.copies - movesOnlyCopies(params));
    // Bounded work: the completion's writer decides exactly where this could not.
    writable = rowNotFinite() < 0 &&
               (!figure || writeVerdict(*figure, reach, copies, params, kVerdictBudget) !=
                               WriteVerdict::refuses);
    leftOut = recordsLeftOut(tally, params);
    if (writable) output.bytes = size.estimate(copies, params);
}
