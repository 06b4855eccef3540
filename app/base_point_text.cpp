#include "app/base_point_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "app/panel_values.h"
#include "app/texts.h"
#include "figure/expression.h"

namespace {

std::string shortest(double v) {
    char digits[32];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, v).ptr);
}

// The bytes of the separator at p: 1 for ",", 2 for "，" and "、", else 0.
std::size_t separatorAt(const char* p, const char* last) {
    if (*p == ',') return 1;
    if (last - p >= 2 && static_cast<unsigned char>(p[0]) == 0x81 &&
        (static_cast<unsigned char>(p[1]) == 0x43 || static_cast<unsigned char>(p[1]) == 0x41))
        return 2;
    return 0;
}

bool readHalf(const char* first, const char* last, double& v) {
    return evaluateExpression(first, last, v) && std::isfinite(v);
}

std::string cut(double v, int decimals) {
    char text[kRowTextSize];
    formatBoxNumber(v, false, text);
    std::string s = text;
    const std::size_t point = s.find('.');
    if (point == std::string::npos || s.find('e') != std::string::npos) return s;
    s.resize(point + 1 + static_cast<std::size_t>(decimals));
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

}  // namespace

std::string basePointText(double x, double y) {
    return shortest(x) + ", " + shortest(y);
}

bool readBasePoint(const char* text, Point2& base) {
    const std::size_t n = std::strlen(text);
    std::string s(n, '\0');
    s.resize(normaliseFullWidth(text, text + n, s.data()));
    const char* const first = s.data();
    const char* const last = first + s.size();
    const char* split = nullptr;
    std::size_t width = 0;
    for (const char* p = first; p != last; ++p) {
        const std::size_t w = separatorAt(p, last);
        if (w) {
            if (split) return false;
            split = p;
            width = w;
        }
        if (w == 2 || (w == 0 && isShiftJisLead(static_cast<unsigned char>(*p)) && last - p >= 2))
            ++p;
    }
    double x = 0.0, y = 0.0;
    if (!split || !readHalf(first, split, x) || !readHalf(split + width, last, y)) return false;
    base = {x, y};
    return true;
}

std::string basePointLabel(double x, double y, int decimals) {
    return std::string(text::kBaseLabel) + cut(x, decimals) + ", " + cut(y, decimals);
}
