#include "figure/reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "figure/element_kinds.h"
#include "figure/matrix3.h"
#include "figure/outline.h"
#include "figure/record_parsing.h"
#include "tests/test_files.h"
#include "view/figure_outlines.h"

namespace {

Figure load(const std::string& text) {
    Figure figure;
    loadFigureFromMemory(text.data(), text.size(), figure);
    return figure;
}

// The items of a figure, every number with the digits that tell it apart from its neighbours;
// circles without their outline, which follows from the seven numbers.
std::string brief(const Figure& f) {
    std::ostringstream out;
    out.precision(17);
    auto line = [&](const LineItem& s) {
        out << s.x1 << ' ' << s.y1 << ' ' << s.x2 << ' ' << s.y2 << ';';
    };
    for (const LineItem& s : f.lines) line(s);
    for (const PolylineItem& p : f.polylines) {
        out << "pl{";
        for (const LineItem& s : p.segments) line(s);
        out << '}';
    }
    for (const CircleItem& c : f.circles) {
        out << "ci " << c.cx << ' ' << c.cy << ' ' << c.radius;
        if (!c.isThreeNumberCircle())
            out << ' ' << c.startAngle << ' ' << c.endAngle << ' ' << c.ratio << ' ' << c.tilt;
        out << ';';
    }
    for (const PointItem& p : f.points) out << "pt " << p.x << ' ' << p.y << ';';
    return out.str();
}

// The state of item i of the kind with index kind: the last run at or before it.
uint32_t stateOf(const Attributes& a, std::size_t kind, std::size_t i) {
    uint32_t state = 0;
    for (const StateRun& run : a.runs[kind])
        if (run.first <= i) state = run.state;
    return state;
}

// The attribute lines in effect for every item, kind by kind in file order, the header's, and
// the texts: "kind index: lines;" with the lines of the known keys joined by commas.
std::string attributeBrief(const Figure& f) {
    const Attributes& a = f.attributes;
    auto state = [&](uint32_t s) {
        std::string out;
        for (uint32_t line : a.states[s].line)
            if (line != kUnknownLine) out += (out.empty() ? "" : ",") + a.lines[line];
        return out;
    };
    std::ostringstream out;
    out.precision(17);
    out << "header " << state(a.header) << ';';
    const std::size_t sizes[kFigureKinds] = {f.lines.size(), f.polylines.size(), f.circles.size(),
                                             f.points.size(), f.texts.size()};
    for (std::size_t k = 0; k < kFigureKinds; ++k)
        for (std::size_t i = 0; i < sizes[k]; ++i)
            out << k << ' ' << i << ": " << state(stateOf(a, k, i)) << ';';
    for (const TextItem& t : f.texts)
        out << "ch " << t.x << ' ' << t.y << ' ' << t.dx << ' ' << t.dy << ' ' << t.string << ';';
    return out.str();
}

// Every kind of line, lines cut into pieces and lines the reader ignores.
std::string mixedDrawing() {
    std::string text = "hq\nhs 1e+06\n 0 0 10 0\npl\n 0 0 0 5\n 0 5 5 5\n#\n";
    text += "ci 5 5 2\nci 0 0 10 30 120 0.5 15\npt 3 4\ncn\n";
    text += " 1 2 3 " + std::string(300, '0') + "7 8 9 10\n";
    text += "pt 1 " + std::string(600, '9') + "\n";
    for (int i = 0; i < 40; ++i)
        text += " " + std::to_string(i) + " -1 2.5 " + std::to_string(-i) + "\n";
    return text + "#\npt 7 8";  // the last line has no line break
}

TEST(LoadFigure, OpensRegularFilesAndReadsThemAsFromMemory) {
    TempDir dir;
    writeBytes(dir.path("empty.txt"), "");
    Figure figure;
    EXPECT_EQ(loadFigure(dir.path("empty.txt").c_str(), figure), 1);
    EXPECT_TRUE(holdsNothing(figure));
    EXPECT_EQ(loadFigure(dir.path("missing.txt").c_str(), figure), 0);
    EXPECT_EQ(loadFigure(dir.path("").c_str(), figure), 0);  // a directory
    // A 600-byte line straddles the reader's one-mebibyte chunk boundary.
    std::string text;
    while (text.size() < (1u << 20) - 300) text += " 1.25 -2 3 4\r\npt 1 2\r\n";
    text += " 5 6 7 8" + std::string(600, ' ') + "\n" + mixedDrawing();
    writeBytes(dir.path("JWC_TEMP.TXT"), text);
    ASSERT_EQ(loadFigure(dir.path("JWC_TEMP.TXT").c_str(), figure), 1);
    EXPECT_EQ(brief(figure), brief(load(text)));
}

TEST(FigureReader, ChunkingDoesNotChangeTheFigure) {
    const std::string text = mixedDrawing();
    const std::string whole = brief(load(text));
    EXPECT_EQ(load(text).points.size(), 3u);
    for (unsigned seed = 0; seed <= 20; ++seed) {
        Figure chunked;
        FigureReader reader(chunked);
        unsigned state = seed;
        for (std::size_t at = 0, size; at < text.size(); at += size) {
            state = state * 1103515245u + 12345u;
            size = std::min<std::size_t>(seed ? (state >> 16) % 700 : 1, text.size() - at);
            reader.feed(text.data() + at, size);
            if (seed == 1) reader.feed(nullptr, 0);  // an empty chunk with no buffer at all
        }
        reader.finish();
        EXPECT_EQ(brief(chunked), whole) << "seed " << seed;  // seed 0: byte by byte
    }
}

TEST(FigureReader, ThreadsReadWhatOnePassReads) {
    // Megabytes, so the reader cuts parts: cuts fall inside polylines (open ones included),
    // pieces of long lines and runs of circles alike.
    std::string text;
    for (int i = 0; text.size() < (5u << 18); ++i) {
        text += mixedDrawing() + "\npl\n";
        for (int k = 0; k < 150; ++k)
            text += " 1 " + std::to_string(i) + " 2 " + std::to_string(k) + "\n";
        if (i % 3 == 0) text += "#\n";
    }
    // The same with attribute lines (in the header and spread over the parts, some inside
    // polylines and among the segments a part starts with) and texts.
    std::string attributed = "lg0\nly0\nlc1\n";
    for (std::size_t at = 0, n = 0; at < text.size(); ++n) {
        const std::size_t end = std::min(text.find('\n', at + 40000 + n * 977 % 5000), text.size());
        attributed.append(text, at, end + 1 - at);
        attributed += "lc" + std::to_string(n % 7) + "\n" +
                      (n % 3 ? "ly" + std::to_string(n % 5) : "lw2") + "\nch " + std::to_string(n) +
                      " 1 2 3 \"t\n";
        at = end + 1;
    }
    attributed += "lt3\n";  // a state no element follows, at the end of the last part
    for (const std::string* input : {&text, &attributed}) {
        // The figure, and whether a polyline was left open.
        auto read = [&](int threads, Figure& f) {
            FigureReader reader(f, threads);
            reader.expectedBytes = input->size();
            reader.feed(input->data(), input->size());
            reader.finish();
            return reader.records.polylineOpen;
        };
        Figure one;
        const bool open = read(1, one);
        FigureOutlines oneOutlines;
        oneOutlines.build(one, 1);
        for (int threads : {2, 3}) {
            Figure f;
            EXPECT_EQ(read(threads, f), open);
            EXPECT_TRUE(brief(f) == brief(one)) << threads;  // megabytes: no dump
            EXPECT_TRUE(attributeBrief(f) == attributeBrief(one)) << threads;
            const Extents a = f.extents(), b = one.extents();
            EXPECT_TRUE(a.minX == b.minX && a.minY == b.minY && a.maxX == b.maxX &&
                        a.maxY == b.maxY);
            FigureOutlines outlines;
            outlines.build(f, threads);
            EXPECT_TRUE(outlines.start == oneOutlines.start);
            ASSERT_EQ(outlines.points.size(), oneOutlines.points.size());
            for (std::size_t k = 0; k < outlines.points.size(); ++k)
                ASSERT_TRUE(outlines.points[k].x == oneOutlines.points[k].x &&
                            outlines.points[k].y == oneOutlines.points[k].y)
                    << k;
        }
    }
}

TEST(FigureReader, AttributesAndTexts) {
    const std::string longText = "ch 1 2 3 4 \"" + std::string(243, 'x') + " 5 6 7 8\r\n";
    const std::pair<std::string, const char*> cases[] = {
        // The header's settings hold until a line changes a key; a polyline has its pl line's.
        {"hq\nlg0\nly0\nlc1\r\nlt1\ncn2\ncn\"\x82\x6c\x82\x72 font\nhp1\n#\n 0 0 1 1\npl\nlc3\n"
         " 0 0 1 0\n#\nly2\n 1 1 2 2\nci 0 0 1\npt 1 1\n",
         "header lg0,ly0,lc1,lt1,cn2,cn\"\x82\x6c\x82\x72 font;0 0: "
         "lg0,ly0,lc1,lt1,cn2,cn\"\x82\x6c"
         "\x82\x72 font;0 1: lg0,ly2,lc3,lt1,cn2,cn\"\x82\x6c\x82\x72 font;1 0: "
         "lg0,ly0,lc1,lt1,cn2,"
         "cn\"\x82\x6c\x82\x72 font;2 0: lg0,ly2,lc3,lt1,cn2,cn\"\x82\x6c\x82\x72 font;3 0: "
         "lg0,ly2,"
         "lc3,lt1,cn2,cn\"\x82\x6c\x82\x72 font;"},
        // The header ends at the first element; keys without a header value are as the file
        // leaves them. A value of its tag alone sets nothing; lw and cn0 are kept as read.
        {"lc1\n 0 0 1 1\nlc\nlw2\ncn0 3 3 0.5 1\nlc4\n 1 1 2 2\n#\nly1\n",
         "header lc1;0 0: lc1;0 1: lc4,lw2,cn0 3 3 0.5 1;"},
        // Texts: position, vector and the string from its quote, kept whole past 255 bytes
        // (its later piece is the text's, never a record of its own); a ch line without a
        // quote, or whose numbers are not four finite ones, is no text.
        {"cn5\n#\nch 1 2 3 4 \"\x95\x94\x89\xae a\r\nch 1 2 3 4\nch 1 2 3 \"x\nch 1 2 3 1e999 "
         "\"x\n" +
             longText + "ch 0 0 0 0 \"\"\nlc2\nch 0 0 0 0 \"\n",
         "header cn5;4 0: cn5;4 1: cn5;4 2: cn5;4 3: lc2,cn5;ch 1 2 3 4 "
         "\"\x95\x94\x89\xae a;ch 1 "
         "2 3 4 \""
         "xxxxxxxx"},
    };
    for (const auto& [text, expected] : cases) {
        const std::string got = attributeBrief(load(text));
        EXPECT_EQ(got.substr(0, std::string(expected).size()), expected) << text;
    }
    // The long text is whole, its later piece no segment; an attribute line longer than a piece
    // sets nothing; attribute lines in a later piece are no attribute lines.
    const Figure f = load(longText + "lc" + std::string(300, '1') + "\n 0 0 1 1\n" +
                          std::string(255, 'y') + "lc5\n 1 1 1 1\n");
    ASSERT_EQ(f.texts.size(), 1u);
    EXPECT_EQ(f.texts[0].string, "\"" + std::string(243, 'x') + " 5 6 7 8");
    EXPECT_EQ(brief(f), "0 0 1 1;1 1 1 1;");
    EXPECT_TRUE(f.attributes.lines.empty());
    // Texts leave the extents alone: their starts have a box of their own, their length is
    // what it may reach beyond.
    const Figure t = load("ch 10 10 5 -20 \"a\n");
    EXPECT_TRUE(t.extents().maxX == 0 && t.extents().minY == 0 && !t.optionalBounds.empty);
    EXPECT_TRUE(t.optionalBounds.box.minX == 10 && t.optionalBounds.box.maxX == 10 &&
                t.optionalBounds.box.minY == 10 && t.optionalBounds.box.maxY == 10);
    EXPECT_DOUBLE_EQ(t.longestText, std::sqrt(425.0));
    // Any chunking, the long text across chunks included, reads the same.
    const std::string text = cases[0].first + cases[2].first + longText + "pt 1 1";
    const std::string whole = attributeBrief(load(text));
    for (std::size_t size : {1, 7, 100, 254, 256}) {
        Figure chunked;
        FigureReader reader(chunked);
        for (std::size_t at = 0; at < text.size(); at += size)
            reader.feed(text.data() + at, std::min(size, text.size() - at));
        reader.finish();
        EXPECT_EQ(attributeBrief(chunked), whole) << size;
    }
}

TEST(FigureReader, LinesAreCutInto255BytePieces) {
    // The first 255 bytes are a segment of their own; the rest is another line.
    EXPECT_EQ(brief(load(" 1 2 3 " + std::string(248, '0') + " 6 7 8 9\n")), "1 2 3 0;6 7 8 9;");
    // A number split by the cut: only its first digit belongs to the first piece.
    EXPECT_EQ(brief(load(" 1 2 3 " + std::string(247, '0') + "12\n")), "1 2 3 1;");
    // 254 characters and the line break fit one piece; 255 and the break do not, and the
    // lone break that follows is an empty line.
    const std::string fits = " 1 2 3 " + std::string(246, '0') + "4";
    EXPECT_EQ(brief(load(fits + "\n" + fits + "5\n 1 1 1 1\n")), "1 2 3 4;1 2 3 45;1 1 1 1;");
    // A NUL byte ends the line's text but still counts toward the piece.
    const std::string nul = std::string(" 1 2 3 4\0 x", 11) + std::string(244, 'x') + " 5 6 7 8\n";
    EXPECT_EQ(brief(load(nul + std::string("\0 9 9 9 9\npt 1 2\0 3\nci 1 2 3\0 4 5 6 7\n", 38))),
              "1 2 3 4;5 6 7 8;ci 1 2 3;pt 1 2;");
}

TEST(FigureReader, LineRules) {
    // Fields at single spaces; the last runs to the end of the line; Ctrl-Z is no end of file.
    EXPECT_EQ(brief(load(" 1 2 3 4\n -1.5 .5 5. 1e2\r\n 1 2  4\n 1\t2 3 4 5\n a b 0x10 inf\n"
                         " 1 2 3 4\x1a\n\x1a 5 6\n")),
              "1 2 3 4;-1.5 0.5 5 100;1 2 0 4;1 3 4 5;0 0 0 0;1 2 3 4;");
    EXPECT_EQ(brief(load("pt 1 2\npt  5\npt9 8\r\nci 5 5 2\r\np\nc\nci\npt\nhs 1 2 3 4\n")),
              "ci 5 5 2;pt 1 2;pt 0 5;pt 0 8;");
    // "pl" opens a polyline, which takes the segments up to "#"; it may stay open.
    EXPECT_EQ(brief(load("#\n 1 1 2 2\npl x\r\n 0 0 1 0\npt 5 5\n 1 0 1 1\n#\r\n#\n 4 4 5 5\n"
                         "pl\n#\nplain\n 6 6 7 7\n")),
              "1 1 2 2;4 4 5 5;pl{0 0 1 0;1 0 1 1;}pl{}pl{6 6 7 7;}pt 5 5;");
    // Lines without the right number of finite fields are skipped; the item stays as it was.
    for (const char* text :
         {" 1 2 3 4 \n", "  1 2 3 4\n", " 1 2 3\n", " 1 2 3 4 5 6 7 8 9\n", " 1e999 2 3 4\n",
          " 1 2 3 -1e999\n", "pt 1 2 3\n", "pt 1\n", "pt 1e999 2\n", "ci 1 2\n", "ci 1 2 3 4\n",
          "ci 1 2 3 4 5 6\n", "ci 1 2 3 4 5 6 7 8\n", "ci 1 2 1e999\n", "ci 0 0 1 0 90 1 1e999\n",
          "ci 1e308 0 1e308\n", "ci 0 0 1e308 0 90 1e10 0\n"}) {  // the last two: outline points
        EXPECT_EQ(brief(load(text)), "") << text;
        LineItem s(-7, -7, -7, -7);
        PointItem p{-7, -7};
        CircleItem c;
        c.radius = -7;
        EXPECT_FALSE(text[0] == ' '   ? parseSegmentLine(text, s)
                     : text[1] == 't' ? parsePointLine(text, p)
                                      : parseCircleLine(text, c));
        EXPECT_EQ(s.x1 + s.y1 + s.x2 + s.y2 + p.x + p.y + c.radius, -49.0) << text;
    }
}

TEST(FigureReader, ExtentsHoldTheOriginAndWhatIsDrawn) {
    const std::pair<const char*, const char*> cases[] = {
        {" 10 10 20 30\npt 15 40\n", "0 0 20 40"},
        {"pt -3 -4\npl\n -1 -9 -2 -2\n", "-3 -9 0 0"},
        {"ci -50 -50 10\n", "-60 -60 0 0"},
        {"ci -100 -100 10 10 80 1 0\n", "-98.2635 -98.2635 0 0"},     // not the centre
        {" 1e999 0 0 0\n 500 500 500 500 \npt 1 2 3\n", "0 0 0 0"}};  // skipped lines
    for (const auto& [text, extents] : cases) {
        const Extents e = load(text).extents();
        std::ostringstream out;
        out << e.minX << ' ' << e.minY << ' ' << e.maxX << ' ' << e.maxY;
        EXPECT_EQ(out.str(), extents) << text;
    }
}

TEST(CircleLine, AnglesAndOutline) {
    CircleItem c;
    ASSERT_EQ(parseCircleLine("ci 5 5 2\n", c), 1);  // counter-clockwise from (radius, 0)
    std::vector<Point2> outline = outlineOf(c);
    ASSERT_EQ(outline.size(), 41u);
    EXPECT_NEAR(outline[10].x, 5, 1e-12);
    EXPECT_NEAR(outline[10].y, 7, 1e-12);
    ASSERT_EQ(parseCircleLine("ci 10 20 4 0 90 0.5 30\n", c), 1);
    outline = outlineOf(c);
    const double t = 30 * kReaderDegree;  // (radius, 0) and (0, ratio * radius), tilted
    EXPECT_NEAR(outline.front().x, 10 + 4 * std::cos(t), 1e-12);
    EXPECT_NEAR(outline.front().y, 20 + 4 * std::sin(t), 1e-12);
    EXPECT_NEAR(outline.back().x, 10 - 2 * std::sin(t), 1e-12);
    EXPECT_NEAR(outline.back().y, 20 + 2 * std::cos(t), 1e-12);
    // Equal angles, and start 360 with end 0, are a full seven-number turn.
    for (const char* line : {"ci 1 2 3 10 10 -0.5 30\n", "ci 1 2 3 360 0 -0.5 30\n"}) {
        ASSERT_EQ(parseCircleLine(line, c), 1);
        EXPECT_EQ(brief(load(line)), "ci 1 2 3 0 6.28318530717958 -0.5 0.52359877559829837;");
        EXPECT_EQ(outlineOf(c).size(), 41u);
    }
    ASSERT_EQ(parseCircleLine("ci 0 0 1 300 60 1 0\n", c), 1);
    EXPECT_EQ(c.startAngle, 300 * kReaderDegree - kReaderFullTurn);
    EXPECT_EQ(c.endAngle, 60 * kReaderDegree);
}

TEST(CircleLine, OneOutlineSegmentPer9DegreesAndAtLeast20) {
    const std::pair<const char*, int> cases[] = {{"0 90", 20},    {"0 189", 21},  {"0 270", 30},
                                                 {"0 360", 40},   {"90 0", 30},   {"0 -720", 40},
                                                 {"0 3600", 400}, {"0 3610", -1}, {"0 1e30", -1}};
    for (const auto& [angles, segments] : cases) {
        const std::string line = std::string("ci 0 0 1 ") + angles + " 1 0\n";
        CircleItem c;
        const int got = parseCircleLine(line, c) ? static_cast<int>(outlineOf(c).size()) - 1 : -1;
        EXPECT_EQ(got, segments) << line;
    }
}

// The outline has the bits of the five matrices, and the reader skips sampling only circles
// whose every point lies inside what it has.
TEST(CircleLine, OutlineHasTheBitsOfTheMatrixProduct) {
    std::mt19937_64 random(3);
    auto next = [&] { return static_cast<double>(random() >> 11) / 0x1p53; };
    for (int i = 0; i < 2000; ++i) {
        const double start = (next() - 0.5) * 20;
        CircleItem c{(next() - 0.5) * 1e6,
                     (next() - 0.5) * 1e3,
                     next() * (i % 2 ? 1e4 : 1e-3),
                     start,
                     start + (next() + 0.01) * 10,
                     (next() - 0.3) * 3,
                     (next() - 0.5) * 10};
        const std::vector<Point2> outline = outlineOf(c);
        ASSERT_FALSE(outline.empty());
        const int n = static_cast<int>(outline.size()) - 1;
        for (int k = 0; k <= n; ++k) {
            Matrix3 m;
            m.translate(c.radius, 0.0);
            m.rotate(-(c.startAngle + (c.endAngle - c.startAngle) / n * k));
            m.scaleAxes(1.0, c.ratio);
            m.rotate(-c.tilt);
            m.translate(c.cx, c.cy);
            const Point2 p = m.transformPoint(0.0, 0.0);
            ASSERT_EQ(outline[k].x, p.x) << i << " " << k;  // the sign of a zero may differ
            ASSERT_EQ(outline[k].y, p.y) << i << " " << k;
        }
        // Said to lie inside a box only where every point does: the box around the points with
        // one side moved in by a hair leaves a point out; two semi-axes more always suffice.
        CircleItem whole = c;
        whole.startAngle = whole.endAngle = 0.0;
        for (const CircleItem& circle : {c, whole}) {
            const std::vector<Point2> points = outlineOf(circle);
            Extents box{points[0].x, points[0].y, points[0].x, points[0].y};
            for (const Point2& p : points) box.widen(p.x, p.y);
            for (int side = 0; side < 4; ++side) {
                Extents in = box;
                double* edge[4] = {&in.minX, &in.minY, &in.maxX, &in.maxY};
                *edge[side] = std::nextafter(*edge[side], side < 2 ? HUGE_VAL : -HUGE_VAL);
                EXPECT_FALSE(outlineInside(circle, in)) << i << " side " << side;
            }
            const double axis = 2.0001 * std::fabs(c.radius) * std::fmax(1.0, std::fabs(c.ratio));
            EXPECT_TRUE(outlineInside(
                circle, {box.minX - axis, box.minY - axis, box.maxX + axis, box.maxY + axis}))
                << i;
        }
    }
}

}  // namespace

namespace {

// Every record the host sends: what is kept of each, what is counted to be named. A record that
// carries a string keeps its later pieces, which are never records of their own.
TEST(FigureReader, EveryRecordIsKeptOrCounted) {
    const std::string longText = "cs 1 2 3 4 \"" + std::string(243, 'x');
    const Figure f = load(
        "hq\nhs 1\n#\nch 0 0 1 0 \"a\ncv 1 1 0 -1 \"b\nct 2 2 1 1 \"c\nsl 0 0 1 0\nsl 0 0 1 0 1 1 "
        "0 1\n"
        "sl 0 0 1\npt 1 2\npt 3 4 5 x\npn2\nmsg\n 0 0 4 0\ncs 2 0 1 0 \"4\n#\nmsg 1 2\n 5 5 6 "
        "6\n#\n"
        "BL 7 8 \"door\n#\nBL 9\n#\nsc 1 2 3\nck 1\nc2 3\nzz top\nzz\n" +
        longText + " 5 5 50 50\n" + longText + "plywood\n 1 1 2 2\n");
    EXPECT_EQ(f.texts.size(), 6u);  // ch cv ct, the dimension's cs, the two long ones
    EXPECT_EQ(f.texts[5].string.size(), 1 + 243 + 7u);
    EXPECT_EQ(std::string(f.texts[1].tag), "cv");
    ASSERT_EQ(f.solids.size(), 2u);
    EXPECT_EQ(f.solids[1].count, 4);
    ASSERT_EQ(f.markers.size(), 1u);
    EXPECT_EQ(f.markers[0].rest, " 5 x");
    EXPECT_EQ(brief(f), "0 0 4 0;5 5 6 6;1 1 2 2;pt 1 2;") << "no phantom segment or polyline";
    ASSERT_EQ(f.dimensions.size(), 2u);
    EXPECT_TRUE(f.dimensions[0].known && !f.dimensions[1].known);
    EXPECT_EQ(f.dimensions[0].order, (std::vector<uint8_t>{0, 4}));
    ASSERT_EQ(f.blocks.size(), 2u);
    EXPECT_TRUE(f.blocks[0].known && f.blocks[0].x == 7 && f.blocks[0].name == "\"door");
    EXPECT_FALSE(f.blocks[1].known);
    std::string named;
    for (const RecordCount& c : f.uncopied) named += c.tag + " " + std::to_string(c.count) + ";";
    EXPECT_EQ(named, "msg 1;BL 1;sc 1;ck 1;c2 1;zz 2;");
    EXPECT_EQ(f.attributes.lines, std::vector<std::string>{"pn2"});
    // The same read in chunks of any size, and by parts on threads.
    const std::string text = mixedDrawing() + "msg\n 1 1 1 1\n#\nBL 1 1 \"b\n#\n" + longText + "\n";
    std::string many;
    while (many.size() < (3u << 18)) many += text;
    Figure one, three;
    FigureReader(one, 1).feed(many.data(), many.size());
    loadFigureFromMemory(many.data(), many.size(), three, 3);
    EXPECT_TRUE(brief(three) == brief(load(many)));
    EXPECT_EQ(three.dimensions.size(), load(many).dimensions.size());
    EXPECT_EQ(three.texts.size(), load(many).texts.size());
}

}  // namespace
