// Draws the program's icon, three stepped squares with a base-point cross on the front one, and
// writes it as an .ico with 16, 24, 32 and 48 pixel images in 8-bit and 32-bit colour.
// Usage: zovrel-make-icon FILE.ico

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

constexpr Rgba kClear{0, 0, 0, 0};
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kGrey{128, 128, 128, 255};
constexpr Rgba kCopyBlue{50, 50, 255, 255};
constexpr Rgba kPaleBlue{224, 224, 255, 255};
constexpr Rgba kRed{255, 0, 0, 255};

// Every colour the drawing uses; the 8-bit images index into this, the rest of the palette is
// black. Black comes first so transparent pixels carry index 0.
const Rgba kPalette[] = {kBlack, kWhite, kGrey, kCopyBlue, kPaleBlue, kRed};

// Whole-pixel measures per size, so edges fall on pixel boundaries and the small sizes stay
// sharp; only the rounded corners of the larger sizes need smoothing.
struct Layout {
    int size;
    int side;      // outer edge length of each square
    int stroke;    // outline width
    int step;      // diagonal offset between neighbouring squares
    int origin;    // top-left of the rear square
    int arm;       // cross length, end to end
    int bar;       // cross bar width
    double round;  // outer corner radius
};

const Layout kLayouts[] = {
    {16, 9, 1, 3, 1, 5, 1, 0.0},
    {24, 14, 2, 4, 1, 6, 2, 1.5},
    {32, 18, 2, 6, 1, 8, 2, 2.0},
    {48, 27, 3, 9, 2, 13, 3, 3.5},
};

bool inRoundedRect(double x, double y, double x0, double y0, double x1, double y1, double r) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    if (r <= 0.0) return true;
    const double cx = x < x0 + r ? x0 + r : (x > x1 - r ? x1 - r : x);
    const double cy = y < y0 + r ? y0 + r : (y > y1 - r ? y1 - r : y);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

// The colour at a point, y downwards; nearer shapes are tested first.
Rgba sample(const Layout& l, double x, double y) {
    const int front = l.origin + 2 * l.step;
    const double lo = front + (l.side - l.arm) / 2.0;
    const double mid = front + (l.side - l.bar) / 2.0;
    if ((x >= lo && x < lo + l.arm && y >= mid && y < mid + l.bar) ||
        (y >= lo && y < lo + l.arm && x >= mid && x < mid + l.bar)) {
        return kRed;
    }
    const Rgba outline[] = {kCopyBlue, kBlack, kGrey};
    const Rgba fill[] = {kPaleBlue, kWhite, kWhite};
    for (int i = 0; i < 3; ++i) {
        const double a = l.origin + (2 - i) * l.step;
        const double b = a + l.side;
        if (!inRoundedRect(x, y, a, a, b, b, l.round)) continue;
        const double inner = l.round > l.stroke ? l.round - l.stroke : 0.0;
        const bool inside =
            inRoundedRect(x, y, a + l.stroke, a + l.stroke, b - l.stroke, b - l.stroke, inner);
        return inside ? fill[i] : outline[i];
    }
    return kClear;
}

// Rows top-down, one colour per pixel.
using Image = std::vector<Rgba>;

Image drawSmooth(const Layout& l) {
    constexpr int kGrid = 4;
    Image out(l.size * l.size);
    for (int py = 0; py < l.size; ++py) {
        for (int px = 0; px < l.size; ++px) {
            // Averaging premultiplied colour keeps transparent samples from darkening the edges.
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kGrid; ++sy) {
                for (int sx = 0; sx < kGrid; ++sx) {
                    const Rgba c = sample(l, px + (sx + 0.5) / kGrid, py + (sy + 0.5) / kGrid);
                    const double w = c.a / 255.0;
                    r += c.r * w;
                    g += c.g * w;
                    b += c.b * w;
                    a += w;
                }
            }
            Rgba& o = out[py * l.size + px];
            if (a > 0) {
                o = {static_cast<uint8_t>(r / a + 0.5), static_cast<uint8_t>(g / a + 0.5),
                     static_cast<uint8_t>(b / a + 0.5),
                     static_cast<uint8_t>(a * 255.0 / (kGrid * kGrid) + 0.5)};
            } else {
                o = kClear;
            }
        }
    }
    return out;
}

// One sample at the pixel centre: every pixel is then exactly one palette colour or clear.
Image drawHard(const Layout& l) {
    Image out(l.size * l.size);
    for (int py = 0; py < l.size; ++py) {
        for (int px = 0; px < l.size; ++px) out[py * l.size + px] = sample(l, px + 0.5, py + 0.5);
    }
    return out;
}

uint8_t paletteIndex(const Rgba& c) {
    for (std::size_t i = 0; i < sizeof kPalette / sizeof kPalette[0]; ++i) {
        const Rgba& p = kPalette[i];
        if (p.r == c.r && p.g == c.g && p.b == c.b) return static_cast<uint8_t>(i);
    }
    return 0;
}

void put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>((v >> 8) & 0xff);
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

int paddedRow(int bits) {
    return (bits + 31) / 32 * 4;
}

// A DIB as an icon resource stores it: header, palette, colour bitmap, then the AND mask (set
// bits are transparent), both bottom-up, with the header's height counting both bitmaps.
std::string dib(const Image& img, int size, int bitCount) {
    const int xorRow = paddedRow(size * bitCount);
    const int andRow = paddedRow(size);
    std::string out;
    put32(out, 40);
    put32(out, size);
    put32(out, 2 * size);
    put16(out, 1);
    put16(out, bitCount);
    put32(out, 0);  // uncompressed
    put32(out, (xorRow + andRow) * size);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    if (bitCount == 8) {
        for (int i = 0; i < 256; ++i) {
            const Rgba p =
                i < static_cast<int>(sizeof kPalette / sizeof kPalette[0]) ? kPalette[i] : kBlack;
            out += static_cast<char>(p.b);
            out += static_cast<char>(p.g);
            out += static_cast<char>(p.r);
            out += '\0';
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < size; ++x) {
            const Rgba& c = img[y * size + x];
            if (bitCount == 8) {
                row += static_cast<char>(c.a == 0 ? 0 : paletteIndex(c));
            } else {
                row += static_cast<char>(c.b);
                row += static_cast<char>(c.g);
                row += static_cast<char>(c.r);
                row += static_cast<char>(c.a);
            }
        }
        row.resize(xorRow, '\0');
        out += row;
    }
    for (int y = size - 1; y >= 0; --y) {
        std::string row(andRow, '\0');
        for (int x = 0; x < size; ++x) {
            if (img[y * size + x].a == 0) row[x / 8] |= static_cast<char>(0x80 >> (x % 8));
        }
        out += row;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: zovrel-make-icon FILE.ico\n", stderr);
        return 2;
    }
    struct Entry {
        int size, bitCount;
        std::string data;
    };
    std::vector<Entry> entries;
    for (int bitCount : {8, 32}) {
        for (const Layout& l : kLayouts) {
            const Image img = bitCount == 8 ? drawHard(l) : drawSmooth(l);
            entries.push_back({l.size, bitCount, dib(img, l.size, bitCount)});
        }
    }
    std::string out;
    put16(out, 0);
    put16(out, 1);  // icon, not cursor
    put16(out, static_cast<unsigned>(entries.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
    for (const Entry& e : entries) {
        out += static_cast<char>(e.size);
        out += static_cast<char>(e.size);
        out += '\0';  // colour count 0: 256 colours or more
        out += '\0';
        put16(out, 1);
        put16(out, e.bitCount);
        put32(out, static_cast<uint32_t>(e.data.size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(e.data.size());
    }
    for (const Entry& e : entries) out += e.data;
    FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !ok) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
