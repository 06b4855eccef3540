#include "app/parameter_model.h"

void ParameterModel::setFigure(const Figure& figure) {
    perCopy = elementsPerCopy(figure);
    perCopyWithTexts = elementsPerCopy(figure, true);
    texts = textsPerCopy(figure);
    update(inputs);
}

void ParameterModel::update(const CopyInputs& in) {
    inputs = in;
    params = evaluateCopyParameters(in);
    output = outputCount(params.keepAttributes ? perCopyWithTexts : perCopy, params);
}
