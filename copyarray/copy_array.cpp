#include "copyarray/copy_array.h"

#include <cmath>
#include <cstring>

#include "copyarray/int_pow.h"
#include "figure/decimal.h"
#include "figure/expression.h"

void CopyInputs::setText(int row, const char* text) {
    std::size_t n = std::strlen(text);
    if (n > kRowTextSize - 1) n = kRowTextSize - 1;
    std::memcpy(rowText[row], text, n);
    rowText[row][n] = '\0';
}

double rowValue(const char* text) {
    const double v = typedValue(text);
    return std::isfinite(v) ? v : 0.0;
}

double copiesValue(const char* text) {
    const double v = parseDecimal(text);
    return std::isfinite(v) ? v : 0.0;
}

RowReading readRowText(int row, const char* text) {
    TypedRead read;
    RowReading r;
    r.value = row == kRowCopies ? numberValue(text, read) : typedValue(text, read);
    if (!std::isfinite(r.value))
        r.how = RowRead::notFinite;
    else
        r.how = read == TypedRead::whole   ? RowRead::whole
                : read == TypedRead::blank ? RowRead::blank
                                           : RowRead::partial;
    return r;
}

CopyParameters evaluateCopyParameters(const CopyInputs& in) {
    // Products are formed left to right, exactly as written: the digits written depend on it.
    auto weighted = [&](int row) { return rowValue(in.rowText[row]) * in.rowSlider[row]; };
    CopyParameters p;
    p.moveX = weighted(kRowMoveX) * in.moveUnitFactor[0] * 0.01;
    p.moveY = weighted(kRowMoveY) * in.moveUnitFactor[1] * 0.01;
    p.angle = weighted(kRowAngle) * in.angleUnitFactor * 0.01;
    p.scaleX = weighted(kRowScaleX) * 0.01;
    p.scaleY = weighted(kRowScaleY) * 0.01;
    p.keepAttributes = in.keepAttributes;
    const double count = copiesValue(in.rowText[kRowCopies]) * in.rowSlider[kRowCopies] * 0.01;
    // Clamp before truncating: converting a larger double to int is undefined.
    if (count > kMaxCopies) {
        p.copies = kMaxCopies;
        p.copiesClamped = true;
    } else if (count > 0.0) {
        p.copies = static_cast<int>(count);
    } else {
        p.copies = 0;
    }
    return p;
}

CopySteps::CopySteps(const CopyParameters& p) : params(p), scaleX(p.scaleX), scaleY(p.scaleY) {}

CopyStep CopySteps::next() {
    ++k;
    return {k, scaleX.next(), scaleY.next(), k * params.angle};
}

Matrix3 CopyArray::copyMatrix(const CopyParameters& params, const CopyStep& step) const {
    Matrix3 matrix;
    matrix.translate(-baseX, -baseY);
    matrix.scaleAxes(step.scaleX, step.scaleY);
    matrix.rotate(step.turn);
    matrix.translate(step.k * params.moveX + baseX, step.k * params.moveY + baseY);
    return matrix;
}

Matrix3 CopyArray::drawingMatrix(const CopyParameters& params, const CopyStep& step) const {
    const double c = std::cos(step.turn);
    const double s = std::sin(step.turn);
    const double a = -baseX * step.scaleX;
    const double b = -baseY * step.scaleY;
    Matrix3 matrix;
    double(&m)[3][3] = matrix.m;
    m[0][0] = step.scaleX * c;
    m[0][1] = step.scaleX * -s;
    m[1][0] = step.scaleY * s;
    m[1][1] = step.scaleY * c;
    m[2][0] = (a * c + b * s) + (step.k * params.moveX + baseX);
    m[2][1] = (a * -s + b * c) + (step.k * params.moveY + baseY);
    return matrix;
}
