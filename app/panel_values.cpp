#include "app/panel_values.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

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

namespace {

// v as d.ddde±x with `significant` digits, correctly rounded on every platform.
std::string scientific(double v, int significant) {
    char text[40];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof text, v, std::chars_format::scientific, significant - 1);
    return std::string(text, r.ptr);
}

}  // namespace

void formatConverted(double v, int minDecimals, char out[kRowTextSize], int significant) {
    if (!std::isfinite(v)) v = 0.0;
    const std::string sci = scientific(v, significant);
    const char* p = sci.c_str();
    std::string digits;
    const bool negative = *p == '-';
    if (negative) ++p;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    // A decimal exponent of a finite double: within +-324, exact as an int.
    const int exponent = static_cast<int>(parseDecimal(p + 1));
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const bool zero = digits == "0";
    std::string fixed = negative && !zero ? "-" : "";
    int decimals = 0;
    if (zero) {
        fixed += '0';
    } else if (exponent >= 0) {
        const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
        if (whole < digits.size()) {
            fixed += digits.substr(0, whole) + '.' + digits.substr(whole);
            decimals = static_cast<int>(digits.size() - whole);
        } else {
            fixed += digits + std::string(whole - digits.size(), '0');
        }
    } else {
        fixed += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        decimals = -exponent - 1 + static_cast<int>(digits.size());
    }
    if (decimals < minDecimals) {
        if (decimals == 0) fixed += '.';
        fixed.append(static_cast<std::size_t>(minDecimals - decimals), '0');
    }
    if (fixed.size() < kRowTextSize) {
        std::memcpy(out, fixed.c_str(), fixed.size() + 1);
        return;
    }
    const int precision = static_cast<int>(digits.size()) - 1;
    *std::to_chars(out, out + kRowTextSize - 1, v, std::chars_format::scientific, precision).ptr =
        '\0';
}

namespace {

// Converts a row's text by `factor` into the fewest digits that hold the converted value to 15
// digits and whose conversion back by `back` gives the 15 digits the text had: a second press
// then finds the number typed among its own candidates, and shows it. All 17 where no fewer
// do. False where the converted value would not be finite.
bool convertText(char text[kRowTextSize], double factor, double back, int minDecimals) {
    const RowReading r = readRowText(kRowMoveX, text);
    if (r.how == RowRead::notFinite || r.how == RowRead::blank) return true;
    const double v = r.value * factor;
    if (!std::isfinite(v)) return false;
    const std::string typed = scientific(r.value, 15);
    const std::string converted = scientific(v, 15);
    int significant = 1;
    for (; significant < 17; ++significant) {
        const double shown = parseDecimal(scientific(v, significant).c_str());
        if (scientific(shown, 15) == converted && scientific(shown * back, 15) == typed) break;
    }
    formatConverted(v, minDecimals, text, significant);
    return true;
}

}  // namespace

bool toggleMoveUnit(char text[kRowTextSize], int& unitFactor) {
    const bool toMetres = unitFactor != kMoveFactorMetres;
    if (!convertText(text, toMetres ? 0.001 : 1000.0, toMetres ? 1000.0 : 0.001, 2)) return false;
    unitFactor = toMetres ? kMoveFactorMetres : kMoveFactorMillimetres;
    return true;
}

bool toggleAngleUnit(char text[kRowTextSize], double& angleFactor) {
    const bool toRadians = angleFactor != kRadianFactor;
    const double there = toRadians ? kDegreeFactor : kPanelDegreesPerRadian;
    const double back = toRadians ? kPanelDegreesPerRadian : kDegreeFactor;
    if (!convertText(text, there, back, 0)) return false;
    angleFactor = toRadians ? kRadianFactor : kDegreeFactor;
    return true;
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
