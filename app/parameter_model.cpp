#include "app/parameter_model.h"

void ParameterModel::setFigure(const Figure& figure) {
    perCopy = elementsPerCopy(figure);
    output = outputCount(perCopy, params);
}

void ParameterModel::update(const CopyInputs& in) {
    inputs = in;
    params = evaluateCopyParameters(in);
    output = outputCount(perCopy, params);
}
