#include "figure/reader.h"

#include "copyarray/matrix3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "tests/test_files.h"

namespace {

Figure load(const std::string& text) {
    Figure figure;
    loadFigureFromMemory(text.data(), text.size(), figure);
    return figure;
}

int segmentsOf(const CircleItem& c) {
    return static_cast<int>(c.outline.size()) - 1;
}

bool sameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameLine(const LineItem& a, const LineItem& b) {
    return sameDouble(a.x1, b.x1) && sameDouble(a.y1, b.y1) && sameDouble(a.x2, b.x2) &&
           sameDouble(a.y2, b.y2);
}

// Every number of a figure, outlines and extents included, bit-exact.
std::string dump(const Figure& f) {
    std::ostringstream out;
    out << std::hexfloat;
    auto line = [&](const LineItem& s) {
        out << s.x1 << ' ' << s.y1 << ' ' << s.x2 << ' ' << s.y2 << '\n';
    };
    for (const LineItem& s : f.lines) line(s);
    for (const PolylineItem& p : f.polylines) {
        out << "pl\n";
        for (const LineItem& s : p.segments) line(s);
    }
    for (const CircleItem& c : f.circles) {
        out << "ci " << c.cx << ' ' << c.cy << ' ' << c.radius << ' ' << c.startAngle << ' '
            << c.endAngle << ' ' << c.ratio << ' ' << c.tilt << ':';
        for (const Point2& p : c.outline) out << ' ' << p.x << ' ' << p.y;
        out << '\n';
    }
    for (const PointItem& p : f.points) out << "pt " << p.x << ' ' << p.y << '\n';
    const Extents& e = f.extents;
    out << e.minX << ' ' << e.minY << ' ' << e.maxX << ' ' << e.maxY;
    return out.str();
}

bool sameFigure(const Figure& a, const Figure& b) {
    return dump(a) == dump(b);
}

// A drawing with every kind of line, long lines and a few lines the reader ignores.
std::string mixedDrawing() {
    std::string text = "hq\nhs 1e+06\nlg0\n 0 0 10 0\npl\n 0 0 0 5\n 0 5 5 5\n#\n";
    text += "ci 5 5 2\nci 0 0 10 30 120 0.5 15\npt 3 4\ncn\n";
    text += " 1 2 3 " + std::string(300, '0') + "7 8 9 10\n";  // cut into pieces
    text += "pt 1 " + std::string(600, '9') + "\n";
    for (int i = 0; i < 40; ++i)
        text += " " + std::to_string(i) + " -1 2.5 " + std::to_string(-i) + "\n";
    return text + "#\n";
}

TEST(LoadFigure, OpenResultAndEmptyFigure) {
    TempDir dir;
    writeBytes(dir.path("empty.txt"), "");
    Figure figure;
    EXPECT_EQ(loadFigure(dir.path("empty.txt").c_str(), figure), 1);
    EXPECT_TRUE(figure.empty());
    EXPECT_EQ(figure.extents.minX, 0.0);
    EXPECT_EQ(figure.extents.maxY, 0.0);

    Figure missing;
    EXPECT_EQ(loadFigure(dir.path("missing.txt").c_str(), missing), 0);
    EXPECT_TRUE(missing.empty());

    Figure directory;
    EXPECT_EQ(loadFigure(dir.path("").c_str(), directory), 0);
    EXPECT_TRUE(directory.empty());
}

TEST(LoadFigure, FileGivesTheSameFigureAsMemoryAcrossItsReadChunks) {
    // Long enough that a 600-byte line straddles the reader's one-mebibyte chunk boundary.
    std::string text;
    while (text.size() < (1u << 20) - 300) text += " 1.25 -2 3 4\r\npt 1 2\r\n";
    text += " 5 6 7 8" + std::string(600, ' ') + "\n";
    text += mixedDrawing();
    TempDir dir;
    writeBytes(dir.path("JWC_TEMP.TXT"), text);
    Figure fromFile;
    ASSERT_EQ(loadFigure(dir.path("JWC_TEMP.TXT").c_str(), fromFile), 1);
    EXPECT_TRUE(sameFigure(fromFile, load(text)));
}

TEST(FigureReader, ChunkingDoesNotChangeTheFigure) {
    const std::string text = mixedDrawing() + "pt 7 8";  // the last line has no line break
    const Figure whole = load(text);
    EXPECT_EQ(whole.points.size(), 3u);

    Figure byteWise;
    FigureReader bytes(byteWise);
    for (char c : text) bytes.feed(&c, 1);
    bytes.finish();
    EXPECT_TRUE(sameFigure(whole, byteWise));

    for (unsigned seed = 1; seed <= 20; ++seed) {
        Figure chunked;
        FigureReader reader(chunked);
        std::size_t at = 0;
        unsigned state = seed;
        while (at < text.size()) {
            state = state * 1103515245u + 12345u;
            const std::size_t size = std::min<std::size_t>((state >> 16) % 700, text.size() - at);
            reader.feed(text.data() + at, size);
            at += size;
        }
        reader.finish();
        EXPECT_TRUE(sameFigure(whole, chunked)) << "seed " << seed;
    }
}

TEST(FigureReader, LongLinesAreCutInto255BytePieces) {
    // The first 255 bytes are a segment of their own; the rest is another line.
    const std::string head = " 1 2 3 " + std::string(255 - 7, '0');
    Figure cut = load(head + " 6 7 8 9\n");
    ASSERT_EQ(cut.lines.size(), 2u);
    EXPECT_TRUE(sameLine(cut.lines[0], LineItem(1, 2, 3, 0)));
    EXPECT_TRUE(sameLine(cut.lines[1], LineItem(6, 7, 8, 9)));

    // A number split by the cut: only its first digit belongs to the first piece.
    cut = load(" 1 2 3 " + std::string(247, '0') + "12\n");
    ASSERT_EQ(cut.lines.size(), 1u);
    EXPECT_EQ(cut.lines[0].y2, 1.0);

    // 254 characters and the line break fit one piece; 255 and the break do not, and the
    // lone break that follows is an empty line.
    const std::string fits = " 1 2 3 " + std::string(254 - 8, '0') + "4";
    cut = load(fits + "\n" + fits + "5\n 1 1 1 1\n");
    ASSERT_EQ(cut.lines.size(), 3u);
    EXPECT_EQ(cut.lines[0].y2, 4.0);
    EXPECT_EQ(cut.lines[1].y2, 45.0);
    EXPECT_EQ(cut.lines[2].x1, 1.0);

    // A NUL byte ends the line's text but still counts toward the piece.
    const std::string nul = std::string(" 1 2 3 4\0 x", 11) + std::string(244, 'x');
    cut =
        load(nul + " 5 6 7 8\n" + std::string("\0 9 9 9 9\npt 1 2\0 3\nci 1 2 3\0 4 5 6 7\n", 38));
    ASSERT_EQ(cut.lines.size(), 2u);
    EXPECT_TRUE(sameLine(cut.lines[0], LineItem(1, 2, 3, 4)));
    EXPECT_TRUE(sameLine(cut.lines[1], LineItem(5, 6, 7, 8)));
    ASSERT_EQ(cut.points.size(), 1u);
    EXPECT_EQ(cut.points[0].y, 2.0);
    ASSERT_EQ(cut.circles.size(), 1u);
    EXPECT_TRUE(cut.circles[0].isThreeNumberCircle());
}

TEST(FigureReader, LineEndsAndControlBytes) {
    const std::string lf = "pl\n 0 0 1 1\n#\nci 1 2 3\nci 1 2 3 10 20 0.5 5\npt 9 8\n";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(sameFigure(load(lf), load(crlf)));

    // Ctrl-Z is an ordinary byte, not an end of file.
    const Figure z = load("\x1a\n 1 2 3 4\x1a\n\x1a 5 6\n 5 6 7 8\n");
    ASSERT_EQ(z.lines.size(), 2u);
    EXPECT_TRUE(sameLine(z.lines[0], LineItem(1, 2, 3, 4)));
    EXPECT_TRUE(sameLine(z.lines[1], LineItem(5, 6, 7, 8)));
}

TEST(FigureReader, PolylineBlocks) {
    const Figure f = load(
        "#\n 1 1 2 2\npl anything\n 0 0 1 0\npt 5 5\nci 0 0 1\n 1 0 1 1\npl\n 2 2 3 3\n#\n#\n"
        "pl\n#\n 4 4 5 5\nplx\n 6 6 7 7\n");
    ASSERT_EQ(f.lines.size(), 2u);
    EXPECT_EQ(f.lines[0].x1, 1.0);
    EXPECT_EQ(f.lines[1].x1, 4.0);
    ASSERT_EQ(f.polylines.size(), 4u);
    EXPECT_EQ(f.polylines[0].segments.size(), 2u);
    EXPECT_EQ(f.polylines[0].segments[1].y2, 1.0);
    EXPECT_EQ(f.polylines[1].segments.size(), 1u);
    EXPECT_TRUE(f.polylines[2].segments.empty());
    EXPECT_EQ(f.polylines[3].segments.size(), 1u);  // still open at the end: kept
    EXPECT_EQ(f.points.size(), 1u);
    EXPECT_EQ(f.circles.size(), 1u);
    EXPECT_TRUE(load("p\nc\nci\npt\nplain\n").polylines.size() == 1u);
}

TEST(FigureReader, ExtentsAlwaysHoldTheOriginAndOnlyOutlinePoints) {
    Figure f = load(" 10 10 20 30\npt 15 40\n");
    EXPECT_EQ(f.extents.minX, 0.0);
    EXPECT_EQ(f.extents.minY, 0.0);
    EXPECT_EQ(f.extents.maxX, 20.0);
    EXPECT_EQ(f.extents.maxY, 40.0);

    f = load("pt -3 -4\npl\n -1 -9 -2 -2\n");
    EXPECT_EQ(f.extents.minX, -3.0);
    EXPECT_EQ(f.extents.minY, -9.0);
    EXPECT_EQ(f.extents.maxX, 0.0);
    EXPECT_EQ(f.extents.maxY, 0.0);

    f = load("ci -50 -50 10\n");
    EXPECT_NEAR(f.extents.minX, -60.0, 1e-12);
    EXPECT_NEAR(f.extents.minY, -60.0, 1e-12);
    EXPECT_EQ(f.extents.maxX, 0.0);

    // An arc far from its centre: the centre widens nothing.
    f = load("ci -100 -100 10 10 80 1 0\n");
    EXPECT_NEAR(f.extents.minX, -100.0 + 10.0 * std::cos(80.0 * kReaderDegree), 1e-9);
    EXPECT_NEAR(f.extents.minY, -100.0 + 10.0 * std::sin(10.0 * kReaderDegree), 1e-9);

    // A skipped line widens nothing.
    f = load(" 1e999 0 0 0\n 500 500 500 500 \npt 1 2 3\n");
    EXPECT_TRUE(f.empty());
    EXPECT_EQ(f.extents.maxX, 0.0);
}

struct LineCase {
    const char* line;
    bool accepted;
    double a, b, c, d;  // the fields, when accepted
};

class SegmentLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(SegmentLine, FieldRules) {
    const LineCase& t = GetParam();
    LineItem item(-7, -7, -7, -7);
    ASSERT_EQ(parseSegmentLine(t.line, item), t.accepted ? 1 : 0) << t.line;
    if (t.accepted)
        EXPECT_TRUE(sameLine(item, LineItem(t.a, t.b, t.c, t.d))) << t.line;
    else
        EXPECT_TRUE(sameLine(item, LineItem(-7, -7, -7, -7))) << "untouched: " << t.line;
}

INSTANTIATE_TEST_SUITE_P(Lines, SegmentLine,
                         ::testing::Values(LineCase{" 1 2 3 4\n", true, 1, 2, 3, 4},
                                           LineCase{" 1 2 3 4\r\n", true, 1, 2, 3, 4},
                                           LineCase{" -1.5 .5 5. 1e2", true, -1.5, 0.5, 5, 100},
                                           LineCase{" 1 2  4\n", true, 1, 2, 0, 4},
                                           LineCase{" 1\t2 3 4 5\n", true, 1, 3, 4, 5},
                                           LineCase{" a b 0x10 inf\n", true, 0, 0, 0, 0},
                                           LineCase{" 1 2 3 4\x1a\n", true, 1, 2, 3, 4},
                                           LineCase{" 1 2 3 4 \n", false, 0, 0, 0, 0},
                                           LineCase{"  1 2 3 4\n", false, 0, 0, 0, 0},
                                           LineCase{" 1 2 3\n", false, 0, 0, 0, 0},
                                           LineCase{" 1 2 3 4 5 6 7 8 9\n", false, 0, 0, 0, 0},
                                           LineCase{" 1e999 2 3 4\n", false, 0, 0, 0, 0},
                                           LineCase{" 1 2 3 -1e999\n", false, 0, 0, 0, 0}));

class PointLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(PointLine, FieldRules) {
    const LineCase& t = GetParam();
    PointItem item{-7, -7};
    ASSERT_EQ(parsePointLine(t.line, item), t.accepted ? 1 : 0) << t.line;
    EXPECT_EQ(item.x, t.accepted ? t.a : -7.0) << t.line;
    EXPECT_EQ(item.y, t.accepted ? t.b : -7.0) << t.line;
}

INSTANTIATE_TEST_SUITE_P(Lines, PointLine,
                         ::testing::Values(LineCase{"pt 1 2\n", true, 1, 2, 0, 0},
                                           LineCase{"pt  5\n", true, 0, 5, 0, 0},
                                           LineCase{"pt1 2\n", true, 0, 2, 0, 0},
                                           LineCase{"pt9 8\r\n", true, 0, 8, 0, 0},
                                           LineCase{"pt 1 2 3\n", false, 0, 0, 0, 0},
                                           LineCase{"pt 1\n", false, 0, 0, 0, 0},
                                           LineCase{"pt\n", false, 0, 0, 0, 0},
                                           LineCase{"pt 1e999 2\n", false, 0, 0, 0, 0}));

TEST(CircleLine, FieldCounts) {
    for (const char* line :
         {"ci 1 2 3 4\n", "ci 1 2 3 4 5\n", "ci 1 2 3 4 5 6\n", "ci 1 2 3 4 5 6 7 8\n", "ci 1 2\n",
          "ci 1 2 1e999\n", "ci 0 0 1 0 90 1 1e999\n"}) {
        CircleItem item;
        item.radius = -7;
        EXPECT_EQ(parseCircleLine(line, item), 0) << line;
        EXPECT_EQ(item.radius, -7.0) << line;
        EXPECT_TRUE(item.outline.empty()) << line;
    }
}

TEST(CircleLine, ThreeNumberCircle) {
    CircleItem c;
    ASSERT_EQ(parseCircleLine("ci 5 5 2\r\n", c), 1);
    EXPECT_TRUE(c.isThreeNumberCircle());
    EXPECT_EQ(c.ratio, 1.0);
    EXPECT_EQ(c.tilt, 0.0);
    ASSERT_EQ(c.outline.size(), 41u);
    EXPECT_NEAR(c.outline.front().x, 7.0, 1e-12);
    EXPECT_NEAR(c.outline.front().y, 5.0, 1e-12);
    EXPECT_NEAR(c.outline.back().x, 7.0, 1e-12);
    EXPECT_NEAR(c.outline.back().y, 5.0, 1e-12);
    EXPECT_NEAR(c.outline[10].x, 5.0, 1e-12);  // counter-clockwise: a quarter turn is at the top
    EXPECT_NEAR(c.outline[10].y, 7.0, 1e-12);
}

TEST(CircleLine, SevenNumberAngles) {
    CircleItem c;
    ASSERT_EQ(parseCircleLine("ci 0 0 1 10 10 0.5 0\n", c), 1);
    EXPECT_EQ(c.startAngle, 0.0);
    EXPECT_EQ(c.endAngle, kReaderFullTurn);
    EXPECT_EQ(c.outline.size(), 41u);

    ASSERT_EQ(parseCircleLine("ci 0 0 1 300 60 1 0\n", c), 1);
    EXPECT_EQ(c.startAngle, 300 * kReaderDegree - kReaderFullTurn);
    EXPECT_EQ(c.endAngle, 60 * kReaderDegree);
    EXPECT_EQ(segmentsOf(c), 20);

    // Start 360, end 0 would become two zero angles; it stays a seven-number full turn.
    ASSERT_EQ(parseCircleLine("ci 1 2 3 360 0 0.25 30\n", c), 1);
    EXPECT_FALSE(c.isThreeNumberCircle());
    EXPECT_EQ(c.startAngle, 0.0);
    EXPECT_EQ(c.endAngle, kReaderFullTurn);
    EXPECT_EQ(c.ratio, 0.25);
    EXPECT_EQ(c.tilt, 30 * kReaderDegree);
    EXPECT_EQ(c.outline.size(), 41u);

    // The ratio is taken as read, whatever its sign or size.
    ASSERT_EQ(parseCircleLine("ci 0 0 1 0 90 -0.5 0\n", c), 1);
    EXPECT_EQ(c.ratio, -0.5);
}

TEST(CircleLine, OutlineFollowsCentreRadiusRatioAndTilt) {
    CircleItem c;
    ASSERT_EQ(parseCircleLine("ci 10 20 4 0 90 0.5 30\n", c), 1);
    const double t = 30 * kReaderDegree;
    // Parameter 0: (radius, 0) turned counter-clockwise by the tilt.
    EXPECT_NEAR(c.outline.front().x, 10 + 4 * std::cos(t), 1e-12);
    EXPECT_NEAR(c.outline.front().y, 20 + 4 * std::sin(t), 1e-12);
    // Parameter 90 degrees: (0, ratio * radius) turned the same way.
    EXPECT_NEAR(c.outline.back().x, 10 - 2 * std::sin(t), 1e-12);
    EXPECT_NEAR(c.outline.back().y, 20 + 2 * std::cos(t), 1e-12);
}

struct SweepCase {
    double start, end;
    int segments;  // -1: the line is skipped
};

class OutlineSegments : public ::testing::TestWithParam<SweepCase> {};

TEST_P(OutlineSegments, OnePer9DegreesAndAtLeast20) {
    const SweepCase& s = GetParam();
    const std::string line =
        "ci 0 0 1 " + std::to_string(s.start) + " " + std::to_string(s.end) + " 1 0\n";
    CircleItem c;
    const int accepted = parseCircleLine(line, c);
    if (s.segments < 0) {
        EXPECT_EQ(accepted, 0) << line;
        EXPECT_TRUE(load(line).circles.empty());
    } else {
        ASSERT_EQ(accepted, 1) << line;
        EXPECT_EQ(segmentsOf(c), s.segments) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Sweeps, OutlineSegments,
                         ::testing::Values(SweepCase{0, 90, 20}, SweepCase{0, 180, 20},
                                           SweepCase{0, 189, 21}, SweepCase{0, 270, 30},
                                           SweepCase{0, 360, 40}, SweepCase{90, 0, 30},
                                           SweepCase{0, -720, 40}, SweepCase{0, 3600, 400},
                                           SweepCase{0, 3610, -1}, SweepCase{0, 1e30, -1}));

TEST(CircleLine, OutlinePointsThatAreNotFiniteSkipTheLine) {
    CircleItem c;
    EXPECT_EQ(parseCircleLine("ci 1e308 0 1e308\n", c), 0);
    EXPECT_EQ(parseCircleLine("ci 0 0 1e308 0 90 1e10 0\n", c), 0);
    EXPECT_TRUE(c.outline.empty());
    const Figure f = load("ci 1e308 0 1e308\nci 0 0 1\n");
    ASSERT_EQ(f.circles.size(), 1u);
    EXPECT_EQ(f.extents.maxX, 1.0);
}

}  // namespace

namespace {

// The outline as the five matrices give it, step by step.
Point2 outlineByMatrices(const CircleItem& c, double theta) {
    Matrix3 m;
    m.translate(c.radius, 0.0);
    m.rotate(-theta);
    m.scaleAxes(1.0, c.ratio);
    m.rotate(-c.tilt);
    m.translate(c.cx, c.cy);
    return m.transformPoint(0.0, 0.0);
}

TEST(CircleLine, OutlineHasTheBitsOfTheMatrixProduct) {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    for (int i = 0; i < 2000; ++i) {
        CircleItem c;
        c.cx = (next() - 0.5) * 1e6;
        c.cy = (next() - 0.5) * 1e3;
        c.radius = next() * (i % 2 ? 1e4 : 1e-3);
        c.startAngle = (next() - 0.5) * 20.0;
        c.endAngle = c.startAngle + (next() + 0.01) * 10.0;
        c.ratio = (next() - 0.3) * 3.0;
        c.tilt = (next() - 0.5) * 10.0;
        ASSERT_EQ(buildOutline(c), 1);
        const int n = static_cast<int>(c.outline.size()) - 1;
        const double step = (c.endAngle - c.startAngle) / n;
        for (int k = 0; k <= n; ++k) {
            const Point2 expected = outlineByMatrices(c, c.startAngle + step * k);
            // Equal values; only the sign of an exact zero may differ.
            ASSERT_EQ(c.outline[k].x, expected.x) << i << " " << k;
            ASSERT_EQ(c.outline[k].y, expected.y) << i << " " << k;
        }
    }
}

}  // namespace
