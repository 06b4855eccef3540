#include "bench/workload.h"

#include <initializer_list>

#include "figure/decimal.h"

namespace {

struct Random {
    uint64_t state;
    uint64_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
    double coordinate() { return unit() * 100000.0 - 50000.0; }
};

void line(std::string& out, const char* prefix, std::initializer_list<double> values) {
    out += prefix;
    bool first = true;
    char text[kMaxLfChars + 1];
    for (double v : values) {
        if (!first) out += ' ';
        out.append(text, formatLf(v, text));
        first = false;
    }
    out += "\r\n";
}

}  // namespace

std::string makeDrawing(long total, uint64_t seed, long attributeEvery, bool optionalKinds) {
    Random rnd{seed | 1u};
    std::string out = "hq\r\nhk\r\nhs 1e+06\r\nhcw\r\nhn\r\nlg0\r\nly0\r\nlc1\r\nlt1\r\n";
    out.reserve(static_cast<std::size_t>(total) * 56);
    double px = 0.0, py = 0.0;
    for (long i = 0; i < total; ++i) {
        const int p = static_cast<int>(i % 200);
        if (attributeEvery > 0 && i % attributeEvery == 0) {
            out += "lc";
            out += static_cast<char>('1' + i / attributeEvery % 9);
            out += "\r\n";
        }
        if (p < 110) {
            const double x = rnd.coordinate(), y = rnd.coordinate();
            line(out, " ",
                 {x, y, x + rnd.unit() * 2000.0 - 1000.0, y + rnd.unit() * 2000.0 - 1000.0});
        } else if (p < 140) {
            if ((p - 110) % 10 == 0) {
                out += "pl\r\n";
                px = rnd.coordinate();
                py = rnd.coordinate();
            }
            const double nx = px + rnd.unit() * 1000.0 - 500.0;
            const double ny = py + rnd.unit() * 1000.0 - 500.0;
            line(out, " ", {px, py, nx, ny});
            px = nx;
            py = ny;
            if ((p - 110) % 10 == 9 || i + 1 == total) out += "#\r\n";
        } else if (p < 170) {
            const double r = 1.0 + rnd.unit() * 2000.0;
            if (p % 2 == 0) {
                line(out, "ci ", {rnd.coordinate(), rnd.coordinate(), r});
            } else {
                const double start = rnd.unit() * 360.0;
                line(out, "ci ",
                     {rnd.coordinate(), rnd.coordinate(), r, start,
                      start + 10.0 + rnd.unit() * 340.0, 0.2 + rnd.unit() * 0.8,
                      rnd.unit() * 180.0 - 90.0});
            }
        } else if (optionalKinds && p < 180) {
            line(out, "ch ", {rnd.coordinate(), rnd.coordinate(), 400.0, 0.0});
            out.insert(out.size() - 2, " \"Zovrel text");
        } else if (optionalKinds && p < 190) {
            const double x = rnd.coordinate(), y = rnd.coordinate();
            line(out, "sl ", {x, y, x + 300.0, y, x + 300.0, y + 200.0, x, y + 200.0});
        } else {
            line(out, "pt ", {rnd.coordinate(), rnd.coordinate()});
        }
    }
    out += "cn0\r\ncs\r\npn6\r\n#\r\n";
    return out;
}

std::string makeSmallFigure(int segments) {
    std::string out;
    for (int i = 0; i < segments; ++i) line(out, " ", {i * 3.0, 0.0, i * 3.0 + 2.0, 5.0});
    return out;
}

std::string makeSegments(long segments) {
    Random rnd{12345};
    std::string out;
    for (long i = 0; i < segments; ++i) {
        const double x = rnd.coordinate(), y = rnd.coordinate();
        line(out, " ", {x, y, x + rnd.unit() * 2000.0 - 1000.0, y + rnd.unit() * 2000.0 - 1000.0});
    }
    return out;
}
