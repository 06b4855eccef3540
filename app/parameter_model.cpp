#include "app/parameter_model.h"

#include "app/panel_values.h"

void ParameterModel::setFigure(const Figure& f) {
    figure = &f;
    reach = figureReach(f);
    tally = RecordTally(f);
    perCopy = elementsPerCopy(f);
    perCopyWithTexts = elementsPerCopy(f, true);  // every kind the copies keep
    texts = textsPerCopy(f);
}

void ParameterModel::setRows(const CopyInputs& rows) {
    inputs = rows;
    update();
}

void ParameterModel::setRowText(int row, const char* text) {
    inputs.setText(row, text);
    update();
}

void ParameterModel::setSlider(int row, int position) {
    inputs.rowSlider[row] = position;
    update();
}

void ParameterModel::toggleUnit(int row) {
    if (row == kRowAngle)
        toggleAngleUnit(inputs.rowText[row], inputs.angleUnitFactor);
    else if (row == kRowMoveX || row == kRowMoveY)
        toggleMoveUnit(inputs.rowText[row], inputs.moveUnitFactor[row]);
    update();
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
    params = evaluateCopyParameters(inputs);
    output = outputCount(params.keepAttributes ? perCopyWithTexts : perCopy, params);
    // The copies that turn or scale leave the block references out, and what they hold.
    if (params.keepAttributes)
        output.elements -=
            static_cast<int64_t>(tally.blockElements) * (output.copies - movesOnlyCopies(params));
    writable = !figure || copiesRepresentable(*figure, reach, copies, params);
    leftOut = recordsLeftOut(tally, params);
}
