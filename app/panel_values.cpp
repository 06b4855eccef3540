#include "app/panel_values.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "figure/decimal.h"

void keepTwoDecimals(char* text) {
    for (int i = 0; i < 125 && text[i] != '\0'; ++i) {
        if (text[i] == '.') {
            if (std::strlen(text) > static_cast<std::size_t>(i + 3)) text[i + 3] = '\0';
            return;
        }
    }
}

void formatBoxNumber(double v, bool twoDecimals, char out[kRowTextSize]) {
    if (!std::isfinite(v)) v = 0.0;
    char fixed[kMaxLfChars + 1];
    const std::size_t n = formatLf(v, fixed);
    if (n < kRowTextSize) {
        std::memcpy(out, fixed, n);
        out[n] = '\0';
        if (twoDecimals) keepTwoDecimals(out);
        return;
    }
    const std::to_chars_result r =
        std::to_chars(out, out + kRowTextSize - 1, v, std::chars_format::scientific, 6);
    *r.ptr = '\0';
}

void formatScaleText(double scale, char out[kRowTextSize]) {
    if (!(scale > 0.0 && scale < 0.01)) {
        formatBoxNumber(scale, true, out);
        return;
    }
    const std::to_chars_result r =
        std::to_chars(out, out + kRowTextSize - 1, scale, std::chars_format::fixed);
    *r.ptr = '\0';
}

MoveRowState defaultMoveRow(double distance) {
    MoveRowState row{};
    double shown = distance;
    row.unitFactor = kMoveFactorMillimetres;
    if (distance > kMetresThreshold) {
        row.unitFactor = kMoveFactorMetres;
        shown = std::floor(distance * 0.001 * 100.0) * 0.01;
    }
    formatBoxNumber(shown, true, row.text);
    return row;
}

void toggleMoveUnit(char text[kRowTextSize], int& unitFactor) {
    double v = rowValue(text);
    if (unitFactor == kMoveFactorMetres) {
        v = v * 1000.0;
        unitFactor = kMoveFactorMillimetres;
    } else {
        v = v * 0.001;
        unitFactor = kMoveFactorMetres;
    }
    v = std::floor(v * 100.0) * 0.01;
    formatBoxNumber(v, true, text);
}

void toggleAngleUnit(char text[kRowTextSize], double& angleFactor) {
    double v = rowValue(text);
    if (angleFactor == kRadianFactor) {
        v = v * kPanelDegreesPerRadian;
        angleFactor = kDegreeFactor;
    } else {
        v = v * kDegreeFactor;
        angleFactor = kRadianFactor;
    }
    formatBoxNumber(v, false, text);
}

CopyInputs startupInputs(double figureWidth, double figureHeight) {
    CopyInputs in;
    const MoveRowState h = defaultMoveRow(figureWidth * kDefaultMoveFactor);
    const MoveRowState v = defaultMoveRow(figureHeight * kDefaultMoveFactor);
    in.setText(kRowMoveX, h.text);
    in.moveUnitFactor[0] = h.unitFactor;
    in.setText(kRowMoveY, v.text);
    in.moveUnitFactor[1] = v.unitFactor;
    in.setText(kRowAngle, "90");
    in.setText(kRowScaleX, "1.0");
    in.setText(kRowScaleY, "1.0");
    in.setText(kRowCopies, "20");
    const int sliders[kRowCount] = {100, 0, 0, 100, 100, 100};
    for (int r = 0; r < kRowCount; ++r) in.rowSlider[r] = sliders[r];
    in.angleUnitFactor = kDegreeFactor;
    return in;
}
