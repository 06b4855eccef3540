#include "copyarray/writer.h"
#include "copyarray/element_lines.h"
#include "copyarray/scale_arc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "figure/reader.h"
#include "figure/workers.h"
#include "tests/test_files.h"

namespace {

const double kHalfPi = std::acos(0.0);

Figure figureOf(const std::string& text) {
    Figure figure;
    loadFigureFromMemory(text.data(), text.size(), figure);
    return figure;
}

// The point at parameter theta.
Point2 at(const CircleItem& c, double theta) {
    const double u = c.radius * std::cos(theta), v = c.ratio * c.radius * std::sin(theta);
    return {c.cx + u * std::cos(c.tilt) - v * std::sin(c.tilt),
            c.cy + u * std::sin(c.tilt) + v * std::cos(c.tilt)};
}

TEST(ScaleArc, Examples) {
    const double q = kHalfPi;
    // Radius, start, end, ratio, tilt; the two scales; the five numbers after scaling.
    const double cases[][12] = {{10, 0, q, 1, 0, 2, 1, 20, 0, q, 0.5, 0},
                                {10, 0, q, 1, 0, 1, 2, 20, -q, 0, 0.5, q},
                                {4, 0.2, 1.3, 0.3, -2.5, 2.5, 2.5, 10, 0.2, 1.3, 0.3, -2.5},
                                {4, 0.2, 1.3, 0.3, 3, 2.5, 2.5, 10, 0.2, 1.3, 0.3, 3},
                                {4, 0.2, 1.3, 1, 0.8, 3, 3, 12, 0.6, 1.7, 1, 0.4},
                                {5, 0.1, 0.9, 2, 0, 1, 1, 10, 0.1 - q, 0.9 - q, 0.5, q}};
    for (const auto& c : cases) {
        CircleItem arc{3, 0, c[0], c[1], c[2], c[3], c[4]};  // the centre stays as it is
        scaleArc(arc, c[5], c[6]);
        const double after[] = {arc.radius, arc.startAngle, arc.endAngle, arc.ratio, arc.tilt};
        for (int i = 0; i < 5; ++i) EXPECT_NEAR(after[i], c[7 + i], 1e-12) << c[0] << " " << i;
        EXPECT_EQ(arc.cx, 3.0);
    }
    for (double s : {2.0, 0.0}) {  // a radius of 0 (or scaled to 0) has ratio 1
        CircleItem arc;
        arc.radius = 5 - 2.5 * s;
        scaleArc(arc, s, s * 1.5);
        EXPECT_EQ(std::pair(arc.radius, arc.ratio), std::pair(0.0, 1.0));
        EXPECT_TRUE(std::isfinite(arc.tilt + arc.startAngle + arc.endAngle));
    }
}

// The scaled curve: the point at theta, scaled, is the new arc's point at theta + shift.
TEST(ScaleArc, DescribesExactlyTheScaledCurve) {
    std::mt19937_64 random(4);
    auto uniform = [&](double lo, double hi) { return lo + (hi - lo) * (random() >> 11) / 0x1p53; };
    const double scales[][2] = {{1, 1},   {2, 1},  {1, 2},     {-1, 1},  {1, -1},  {-2, -0.5},
                                {0.3, 5}, {-4, 4}, {2.5, 2.5}, {0, 1.5}, {1e-3, 7}};
    for (const auto& s : scales) {
        for (int i = 0; i < 40; ++i) {
            const double start = uniform(-4, 4);
            const CircleItem before{0,
                                    0,
                                    uniform(0.1, 50),
                                    start,
                                    start + uniform(0.1, 6.2),
                                    uniform(-1.5, 3),
                                    uniform(-2 * kHalfPi, 2 * kHalfPi)};
            CircleItem after = before;
            scaleArc(after, s[0], s[1]);
            const double shift = after.startAngle - before.startAngle;
            EXPECT_NEAR(after.endAngle - before.endAngle, shift, 1e-12);
            EXPECT_GE(after.radius, 0.0);  // the long semi-axis
            EXPECT_LE(std::fabs(after.ratio), 1.0 + 1e-12);
            const double size =
                before.radius * (std::fabs(s[0]) + std::fabs(s[1])) * (1 + std::fabs(before.ratio));
            for (double f : {0.0, 0.37, 1.0}) {
                const double theta = before.startAngle + f * (before.endAngle - before.startAngle);
                const Point2 p = at(before, theta), r = at(after, theta + shift);
                ASSERT_NEAR(r.x, s[0] * p.x, 1e-12 * size) << s[0] << ", " << s[1];
                ASSERT_NEAR(r.y, s[1] * p.y, 1e-12 * size) << s[0] << ", " << s[1];
            }
        }
    }
}

// Move x|move y|angle|scale x|scale y|copies, all sliders at 100, millimetres and degrees;
// a seventh field "keep" keeps the attributes.
CopyInputs rows(const std::string& texts) {
    CopyInputs in;
    in.keepAttributes = texts.size() > 5 && texts.compare(texts.size() - 5, 5, "|keep") == 0;
    std::size_t from = 0;
    for (int r = 0; r < kRowCount; ++r) {
        const std::size_t bar = std::min(texts.find('|', from), texts.size());
        in.setText(r, texts.substr(from, bar - from).c_str());
        in.rowSlider[r] = 100;
        from = bar + 1;
    }
    return in;
}

// The bytes writeResult leaves in an exchange file that held something else, which keep its
// permission bits; no other file is left, and writeResultToStream gives the same bytes.
std::string written(const Figure& figure, const CopyInputs& in, double baseX = 0,
                    double baseY = 0) {
    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT"), streamPath = dir.path("out");
    writeBytes(path, std::string(5000, 'x'));
    const CopyArray copies{baseX, baseY};
    WriteError error = WriteError::cannotCreate;
    const std::filesystem::perms bits = std::filesystem::perms(0640);
    std::filesystem::permissions(path, bits);
    EXPECT_EQ(writeResult(figure, copies, evaluateCopyParameters(in), path.c_str(), &error), 1);
    EXPECT_EQ(error, WriteError::none);
#ifndef _WIN32
    EXPECT_EQ(std::filesystem::status(path).permissions(), bits);
#endif
    std::FILE* stream = std::fopen(streamPath.c_str(), "wb");
    EXPECT_EQ(writeResultToStream(figure, copies, evaluateCopyParameters(in), stream), 1);
    std::fclose(stream);
    EXPECT_EQ(readBytes(streamPath), readBytes(path));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"JWC_TEMP.TXT", "out"}));
    return readBytes(path);
}

TEST(WriteResult, ExactBytes) {
    const char* everyKind =
        "pt 1 1\nci 0 0 3 0 90 0.5 0\nci 0 0 2\npl\n 0 0 0 1\n#\npl\n#\n 0 0 1 0\n";
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // Per copy: segments, polylines, circles and arcs, points.
        {everyKind, "10|0|0|1|1|2",
         " 10.000000 0.000000 11.000000 0.000000\r\n"
         "pl\r\n 10.000000 0.000000 10.000000 1.000000\r\n#\r\npl\r\n#\r\n"
         "ci 10.000000 0.000000 3.000000 0.000000 90.000000 0.500000 0.000000\r\n"
         "ci 10.000000 0.000000 2.000000\r\npt 11.000000 1.000000\r\n"
         " 20.000000 0.000000 21.000000 0.000000\r\n"
         "pl\r\n 20.000000 0.000000 20.000000 1.000000\r\n#\r\npl\r\n#\r\n"
         "ci 20.000000 0.000000 3.000000 0.000000 90.000000 0.500000 0.000000\r\n"
         "ci 20.000000 0.000000 2.000000\r\npt 21.000000 1.000000\r\n"},
        {everyKind, "1|0|0|1|1|0.9", ""},
        // Uniform scaling and plain mirroring keep the three-number form; unequal scales make
        // it the whole ellipse, 0 to 360 degrees, even mirrored.
        {"ci 0 0 5\n", "0|0|0|2|2|2",
         "ci 0.000000 0.000000 10.000000\r\nci 0.000000 0.000000 20.000000\r\n"},
        {"ci 3 4 5\n", "0|0|0|-1|1|1", "ci -3.000000 4.000000 5.000000\r\n"},
        {"ci 0 0 5\n", "0|0|0|2|1|2",
         "ci 0.000000 0.000000 10.000000 0.000000 360.000000 0.500000 0.000000\r\n"
         "ci 0.000000 0.000000 20.000000 0.000000 360.000000 0.250000 0.000000\r\n"},
        {"ci 0 0 5\n", "0|0|0|-2|1|1",
         "ci 0.000000 0.000000 10.000000 0.000000 360.000000 0.500000 180.000000\r\n"},
        {"ci 0 0 5\n", "7|0|0|0|0|1", "ci 7.000000 0.000000 0.000000\r\n"},
        // A full turn read in the seven-number form stays in it.
        {"ci 1 2 3 10 10 0.5 0\n", "0|0|0|1|1|1",
         "ci 1.000000 2.000000 3.000000 0.000000 360.000000 0.500000 0.000000\r\n"},
        {"ci 0 0 10 0 90 1 0\n", "0|0|0|2|1|1",
         "ci 0.000000 0.000000 20.000000 0.000000 90.000000 0.500000 0.000000\r\n"},
        // Mirrored: the same curve walked the other way, with a positive ratio.
        {"ci 0 0 10 0 90 1 0\n", "0|0|0|1|-1|1",
         "ci 0.000000 0.000000 10.000000 -90.000000 0.000000 1.000000 0.000000\r\n"},
        // Arcs are written at least 0.001 flat.
        {"ci 0 0 10 0 90 0.0001 0\n", "0|0|0|1|1|1",
         "ci 0.000000 0.000000 10.000000 0.000000 90.000000 0.001000 0.000000\r\n"},
        // Equal scales keep a flat arc's shape while it turns with the copies.
        {"ci 0 0 4 20 100 0.25 35\n", "0|0|10|1.5|1.5|3",
         "ci 0.000000 0.000000 6.000000 20.000000 100.000000 0.250000 25.000000\r\n"
         "ci 0.000000 0.000000 9.000000 20.000000 100.000000 0.250000 15.000000\r\n"
         "ci 0.000000 0.000000 13.500000 20.000000 100.000000 0.250000 5.000000\r\n"}};
    for (const auto& [figure, texts, bytes] : cases)
        EXPECT_EQ(written(figureOf(figure), rows(texts)), bytes) << figure << texts;
}

TEST(WriteResult, ExactBytesKeepingAttributes) {
    const std::string header = "hq\nlg0\nly0\nlc1\nlt1\ncn2\ncn\"\x82\x6c\x82\x72 G\nhp1\n#\n";
    const std::tuple<std::string, const char*, const char*> cases[] = {
        // Changes before and between kinds; each copy starts from where the last left the
        // host; the header's values come back at the end.
        {header + "lc2\n 0 0 1 0\nly3\npt 1 1\nlt2\nci 0 0 1\n", "10|0|0|1|1|2|keep",
         "lc2\r\n 10.000000 0.000000 11.000000 0.000000\r\nly3\r\nlt2\r\n"
         "ci 10.000000 0.000000 1.000000\r\nlt1\r\npt 11.000000 1.000000\r\n"
         "ly0\r\n 20.000000 0.000000 21.000000 0.000000\r\nly3\r\nlt2\r\n"
         "ci 20.000000 0.000000 1.000000\r\nlt1\r\npt 21.000000 1.000000\r\nly0\r\nlc1\r\n"},
        // Off: the geometry alone, texts left out.
        {header + "lc2\n 0 0 1 0\nly3\npt 1 1\nch 0 0 1 0 \"a\n", "10|0|0|1|1|2",
         " 10.000000 0.000000 11.000000 0.000000\r\npt 11.000000 1.000000\r\n"
         " 20.000000 0.000000 21.000000 0.000000\r\npt 21.000000 1.000000\r\n"},
        // A change inside a polyline block is written where it was: the curve's segments keep
        // their colours; the pl line has its own state, written before pl.
        {header + " 5 5 6 6\nlc4\npl\n 0 0 1 0\nlc5\n 1 0 1 1\n#\nlw9\npt 0 0\n",
         "1|0|0|1|1|1|keep",
         " 6.000000 5.000000 7.000000 6.000000\r\nlc4\r\npl\r\n 1.000000 0.000000 2.000000 0.000000"
         "\r\nlc5\r\n 2.000000 0.000000 2.000000 1.000000\r\n#\r\nlw9\r\npt 1.000000 0.000000\r\n"
         "lc1\r\n"},
        // Texts after the points, with cn and cn" changes and Shift-JIS strings kept byte for
        // byte; the start point follows the copy, the direction turns, the length stays. (The
        // panel's degree is not quite pi/180: a quarter turn leaves -0.000000 where a copied
        // segment would have it too.)
        {header + "pt 0 0\ncn5\nch 10 0 3 4 \"\x95\x94\x89\xae\r\ncn\"\x82\x6c\x82\x72 M\nlc3\nch "
                  "0 0 0 2 \"b\n",
         "0|0|90|2|2|2|keep",
         "pt 0.000000 0.000000\r\ncn5\r\nch -0.000000 -20.000000 4.000000 -3.000000 "
         "\"\x95\x94\x89\xae\r\n"
         "lc3\r\ncn\"\x82\x6c\x82\x72 M\r\nch 0.000000 0.000000 2.000000 -0.000000 \"b\r\n"
         "lc1\r\ncn2\r\ncn\"\x82\x6c\x82\x72 G\r\npt 0.000000 0.000000\r\ncn5\r\n"
         "ch -40.000000 0.000000 -3.000000 -4.000000 \"\x95\x94\x89\xae\r\nlc3\r\n"
         "cn\"\x82\x6c\x82\x72 M\r\nch 0.000000 0.000000 -0.000000 -2.000000 \"b\r\nlc1\r\ncn2\r\n"
         "cn\"\x82\x6c\x82\x72 G\r\n"},
        // A zero scale leaves no image of the direction: (dx, dy) turned by the copy's angle.
        {"ch 1 1 2 0 \"z\n", "0|0|90|0|0|1|keep",
         "ch 0.000000 0.000000 -0.000000 -2.000000 \"z\r\n"},
        // A key without a header value is left as the file leaves it (a line before the first
        // element or # is the header's); without attribute lines the option changes nothing
        // but the texts.
        {"lw1\n 0 0 1 1\nlw2\n 1 1 2 2\n", "0|0|0|1|1|1|keep",
         " 0.000000 0.000000 1.000000 1.000000\r\nlw2\r\n 1.000000 1.000000 2.000000 2.000000\r\n"
         "lw1\r\n"},
        {"#\nlw1\n 0 0 1 1\nlw2\n 1 1 2 2\n", "0|0|0|1|1|2|keep",
         "lw1\r\n 0.000000 0.000000 1.000000 1.000000\r\nlw2\r\n 1.000000 1.000000 2.000000 "
         "2.000000\r\n"
         "lw1\r\n 0.000000 0.000000 1.000000 1.000000\r\nlw2\r\n 1.000000 1.000000 2.000000 "
         "2.000000\r\n"},
        {"pl\n 0 0 1 1\n#\n", "0|0|0|1|1|1|keep",
         "pl\r\n 0.000000 0.000000 1.000000 1.000000\r\n#\r\n"},
        {header + " 0 0 1 1\n", "0|0|0|1|1|0|keep", ""},
        // Every text kind as ch; on a mirrored copy a text is written from its end backwards
        // whenever that reads more to the right, so it stays readable; a direction straight
        // up or down keeps the one pointing up.
        {"cs 10 0 3 4 \"12\ncv 0 0 0 -2 \"v\n", "0|0|0|-1|1|2|keep",
         "cs -13.000000 4.000000 3.000000 -4.000000 \"12\r\ncv 0.000000 -2.000000 0.000000 "
         "2.000000 \"v\r\ncs 10.000000 0.000000 3.000000 4.000000 \"12\r\ncv 0.000000 0.000000 "
         "0.000000 -2.000000 \"v\r\n"},
        // Solids of two, three and four points; a marker keeps the rest of its line; pn is a
        // state line; sc, ck and unknown lines are not copied.
        {"sl 0 0 1 0\nsl 0 0 1 0 1 1\nsl 0 0 1 0 1 1 0 1\npn3\npt 1 2 5 0.25 x\nsc 0 0 1\nck 1\n"
         "zz 9\n",
         "10|0|0|1|1|1|keep",
         "sl 10.000000 0.000000 11.000000 0.000000\r\nsl 10.000000 0.000000 11.000000 0.000000 "
         "11.000000 1.000000\r\nsl 10.000000 0.000000 11.000000 0.000000 11.000000 1.000000 "
         "10.000000 1.000000\r\npn3\r\npt 11.000000 2.000000 5 0.25 x\r\n"},
        // A dimension comes back whole, its lines and value mapped as their kinds and its
        // attribute lines where they were; a block reference moves into a copy that only moves
        // and is left out of one that turns, its attribute lines kept.
        {" 9 9 9 9\nmsg\nlc2\n 0 0 4 0\ncs 1 0 2 0 \"4\n#\nlc3\nBL 5 5 \"door\n#\n",
         "1|0|0|1|1|1|keep",
         " 10.000000 9.000000 10.000000 9.000000\r\nmsg\r\nlc2\r\n 1.000000 0.000000 5.000000 "
         "0.000000\r\ncs 2.000000 0.000000 2.000000 0.000000 \"4\r\n#\r\nlc3\r\nBL 6.000000 "
         "5.000000 \"door\r\n#\r\n"},
        {"BL 5 5 \"door\n#\n 0 0 1 1\n", "0|0|90|1|1|1|keep",
         " 0.000000 0.000000 1.000000 -1.000000\r\n"}};
    for (const auto& [figure, texts, bytes] : cases)
        EXPECT_EQ(written(figureOf(figure), rows(texts)), bytes) << figure << texts;
}

// The host's reading, played over the written lines: every copied element has its source's
// attribute state (each segment of a curve of several colours too, and every element of a
// dimension), and the host's write settings are the header's after the last line.
TEST(WriteResult, KeptAttributesAreWhatTheHostReadsBack) {
    const char* const keys[] = {"lg", "ly", "lc", "lt", "lw", "cn", "cn\"", "pn"};
    // The state of every element, in writing order, by what it is: segments, curve segments,
    // circles, points, texts, solids, markers, a dimension's elements, block references and
    // dimension heads.
    constexpr int kKinds = 10;
    struct Played {
        std::vector<std::string> elements[kKinds];
        std::map<std::string, std::string> state;
    };
    auto play = [&](const std::string& text, std::map<std::string, std::string> state) {
        Played p;
        p.state = std::move(state);
        bool inPolyline = false, inGroup = false;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            int kind = -1;
            if (line == "#") {
                (inPolyline ? inPolyline : inGroup) = false;
            } else if (line.rfind("pl", 0) == 0) {
                inPolyline = true;
            } else if (line.rfind("msg", 0) == 0 || line.rfind("BL", 0) == 0) {
                inGroup = true;
                kind = line[0] == 'B' ? 8 : 9;
            } else if (line[0] == ' ') {
                kind = inPolyline ? 1 : 0;
            } else if (line.rfind("ci", 0) == 0) {
                kind = 2;
            } else if (line.rfind("pt", 0) == 0) {
                kind = std::count(line.begin(), line.end(), ' ') > 2 ? 6 : 3;
            } else if (line.rfind("sl", 0) == 0) {
                kind = 5;
            } else if (line[0] == 'c' &&
                       std::string("hvsrcopt").find(line[1]) != std::string::npos) {
                kind = 4;
            } else {
                for (int k = 7; k >= 0; --k)
                    if (line.rfind(keys[k], 0) == 0) {
                        p.state[keys[k]] = line;
                        break;
                    }
            }
            if (kind < 0) continue;
            if (inGroup && kind < 8) kind = 7;
            std::string all;
            for (const auto& [key, value] : p.state) all += value + ",";
            p.elements[kind].push_back(all);
        }
        return p;
    };
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        std::map<std::string, std::string> header;
        std::string text = "hq\n";
        for (int k = 0; k < 8; ++k)
            if (pick(4)) {  // some keys have no header value
                header[keys[k]] = keys[k] + std::to_string(pick(3));
                text += header[keys[k]] + "\n";
            }
        text += "#\n";
        // Every key set before any element, so the source's state is all known.
        for (int k = 0; k < 8; ++k) text += std::string(keys[k]) + std::to_string(pick(3)) + "\n";
        auto someKey = [&] { return std::string(keys[pick(8)]) + std::to_string(pick(3)) + "\n"; };
        for (int e = 0; e < 60; ++e) {
            while (pick(3) == 0) text += someKey();
            const std::string n = std::to_string(e);
            switch (pick(10)) {
                case 0:
                    text += " 0 0 1 " + n + "\n";
                    break;
                case 1:
                    text += "pl\n 0 0 1 1\n" + (pick(2) ? someKey() : "") + " 1 1 2 2\n" +
                            (pick(2) ? someKey() : "") + " 2 2 3 3\n#\n";
                    break;
                case 2:
                    text += "ci 1 2 " + std::to_string(e + 1) + "\n";
                    break;
                case 3:
                    text += "pt 1 " + n + "\n";
                    break;
                case 4:
                    text += std::string(pick(2) ? "ch" : "cv") + " 1 2 3 4 \"t" + n + "\n";
                    break;
                case 5:
                    text += "sl 0 0 1 " + n + " 2 2\n";
                    break;
                case 6:
                    text += "pt 1 " + n + " 3 0.5\n";
                    break;
                case 7:
                    text += "msg\n 0 0 5 " + n + "\n" + (pick(2) ? someKey() : "") +
                            "cs 2 0 1 0 \"5\n#\n";
                    break;
                case 8:
                    text += "BL 3 " + n + " \"b\n#\n";
                    break;
                default:
                    text += "cs 1 2 3 4 \"v" + n + "\n";
            }
        }
        const Figure figure = figureOf(text);
        const int copies = 1 + pick(3);
        const bool turns = round % 2 == 1;  // block references only into copies that move
        const std::string out = written(figure, rows(std::string("5|1|") + (turns ? "10" : "0") +
                                                     "|1|1|" + std::to_string(copies) + "|keep"));
        const Played source = play(text, {}), host = play(out, header);
        for (int kind = 0; kind < kKinds; ++kind) {
            std::vector<std::string> expected;
            for (int c = 0; c < copies && !(turns && kind == 8); ++c)
                expected.insert(expected.end(), source.elements[kind].begin(),
                                source.elements[kind].end());
            EXPECT_EQ(host.elements[kind], expected) << round << " kind " << kind;
        }
        for (const auto& [key, value] : header) EXPECT_EQ(host.state.at(key), value) << round;
    }
}

// Threads format parts of the copies' lines into buffers of their own: the bytes, and where a
// number that is not finite stops the writing, are those of one pass, also where a part starts
// or ends inside a polyline of many segments.
// An attribute line or a text after every few lines, a header before them.
std::string attributed(const std::string& text) {
    std::string out = "lg0\nly0\nlc1\nlt1\ncn2\n#\n";
    std::size_t n = 0;
    for (std::size_t at = 0; at < text.size(); ++n) {
        const std::size_t end = std::min(text.find('\n', at), text.size() - 1);
        out.append(text, at, end + 1 - at);
        at = end + 1;
        if (n % 9 == 0) out += "lc" + std::to_string(n % 4 + 1) + "\n";
        if (n % 23 == 0)
            out += "ly" + std::to_string(n % 3) + "\ncn" + std::to_string(n % 5) + "\n";
        if (n % 31 == 0) out += "ch " + std::to_string(n) + " 1 2 3 \"t\n";
    }
    return out;
}

TEST(EmitCopies, ThreadsWriteWhatOnePassWrites) {
    std::string mixed = "pl\n";
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i * 7 % 1000);
        mixed += " " + n + " 1 2 " + n + "\nci " + n + " 2 3 10 " + n + " 0.5 7\npt 1 " + n + "\n";
        if (i % 50 == 0) mixed += "#\npl\n";
    }
    // One long polyline, one segment of it far out, and points after it.
    std::string polyline = " 5 5 6 6\npl\n";
    for (int i = 0; i < 30000; ++i) {
        const std::string n = std::to_string(i % 977);
        polyline += (i == 20000 ? " 1.6e308 1 2 " : " " + n + " 1 2 ") + n + "\n";
    }
    polyline += "#\npl\n#\n";
    for (int i = 0; i < 3000; ++i) polyline += "pt 1 " + std::to_string(i) + "\n";
    // The figure, and per parameter set whether the writing stops at a number.
    const std::tuple<std::string, const char*, bool> cases[] = {
        {mixed, "150|40|3|1.01|0.99|20", false},
        {mixed, "0|0|7|1e40|1|20", true},
        {polyline, "150|40|3|1.01|0.99|6", false},
        {polyline, "1e307|0|0|1|1|6", true},  // in copy 2, inside the polyline
        {attributed(mixed), "150|40|3|1.01|0.99|20|keep", false},
        {attributed(polyline), "150|40|3|1.01|0.99|6|keep", false},
        {attributed(polyline), "1e307|0|0|1|1|6|keep", true}};
    for (const auto& [text, texts, stops] : cases) {
        const Figure figure = figureOf(text);
        auto emit = [&, texts = texts](int threads) {
            const CopyArray copies{3, 4};
            std::FILE* file = std::tmpfile();
            std::string bytes;
            {
                OutputBuffer out(file);
                EXPECT_EQ(
                    emitCopies(figure, copies, evaluateCopyParameters(rows(texts)), out, threads),
                    stops ? WriteError::notRepresentable : WriteError::none);
                bytes.assign(out.data.data(), out.used);  // what a failure left unflushed
            }
            std::string all(static_cast<std::size_t>(std::ftell(file)), '\0');
            std::rewind(file);
            EXPECT_EQ(std::fread(&all[0], 1, all.size(), file), all.size());
            std::fclose(file);
            return all + bytes;
        };
        // Compared whole, not as text: a diff of megabytes would take longer than the test.
        const std::string one = emit(1);
        for (int threads : {2, 3}) {
            const std::string other = emit(threads);
            EXPECT_TRUE(other == one)
                << texts << ", " << threads << " threads: first difference at byte "
                << std::mismatch(one.begin(), one.end(), other.begin(), other.end()).first -
                       one.begin();
            // Checking alone, as before writing to a stream, comes to the same verdict.
            OutputBuffer check(nullptr);
            EXPECT_EQ(emitCopies(figure, CopyArray{3, 4}, evaluateCopyParameters(rows(texts)),
                                 check, threads),
                      stops ? WriteError::notRepresentable : WriteError::none)
                << texts << ", " << threads << " threads";
        }
    }
}

// Where every copy has the same scales, the circles and arcs are scaled once for the run: the
// lines are still those of each copy's own scaling, in one pass and on the threads.
TEST(EmitCopies, ArcsScaledOnceAreEachCopysOwnOnThreads) {
    Figure figure;
    std::mt19937_64 random(27);
    auto any = [&](double from, double to) {
        return from + (to - from) * static_cast<double>(random() >> 11) * 0x1p-53;
    };
    for (int i = 0; i < 3000; ++i) {
        CircleItem c{any(-1e4, 1e4), any(-1e4, 1e4), any(0, 500)};
        if (i % 3 != 0) {
            c.startAngle = any(-7, 7);
            c.endAngle = any(-7, 7);
            c.ratio = any(-2, 2);
            c.tilt = any(-7, 7);
        }
        figure.circles.push_back(c);
    }
    for (const char* texts : {"5|3|7|1|1|6", "5|3|7|0|1|6", "5|3|33|1|0|6", "0|0|7|0|0|6",
                              "5|3|7|-1|1|6", "5|3|7|-0|1|6"}) {
        const CopyParameters params = evaluateCopyParameters(rows(texts));
        const CopyArray copies{3, 4};
        OutputBuffer expected(nullptr, true);
        CopySteps steps(params);
        for (int k = 1; k <= params.copies; ++k) {
            const CopyStep step = steps.next();
            for (const CircleItem& c : figure.circles)
                ASSERT_TRUE(putItem(expected, copies.copyMatrix(params, step), step, c));
        }
        for (int threads : {1, 2}) {
            std::FILE* file = std::tmpfile();
            {
                OutputBuffer out(file);
                EXPECT_EQ(emitCopies(figure, copies, params, out, threads), WriteError::none);
            }
            std::string all(static_cast<std::size_t>(std::ftell(file)), '\0');
            std::rewind(file);
            EXPECT_EQ(std::fread(&all[0], 1, all.size(), file), all.size());
            std::fclose(file);
            EXPECT_TRUE(all == std::string(expected.data.data(), expected.used))
                << texts << ", " << threads << " threads";
        }
    }
}

// Every circle and arc, written and read back, is the curve the preview shows: the original
// carried through the copy's matrix; a mirrored arc may walk the other way.
TEST(WriteResult, WrittenCurvesAreTheTransformedCurves) {
    for (const char* shape :
         {"ci 5 -3 4", "ci 5 -3 4 10 100 0.5 30", "ci -2 1 6 300 60 0.8 -70", "ci 0 0 3 0 270 1 45",
          "ci 1 1 5 30 200 2 10", "ci 4 4 2 45 45 0.6 15"}) {
        const Figure figure = figureOf(std::string(shape) + "\n");
        const CircleItem& c = figure.circles.at(0);
        const double sweep = c.isThreeNumberCircle() ? 6.0 : c.endAngle - c.startAngle;
        for (const char* scale : {"2|1", "1|-1", "-1.5|0.5", "-2|-2", "0.7|1.3"}) {
            const CopyInputs in = rows(std::string("3|-1|25|") + scale + "|2");
            const Figure after = figureOf(written(figure, in, 1.5, -0.5));
            ASSERT_EQ(after.circles.size(), 2u) << shape << " " << scale;
            const CopyArray array{1.5, -0.5};
            const CopyParameters params = evaluateCopyParameters(in);
            CopySteps steps(params);
            for (int k = 1; k <= 2; ++k) {
                const Matrix3 matrix = array.copyMatrix(params, steps.next());
                const CircleItem& w = after.circles[k - 1];
                double forward = 0, backward = 0;
                for (double f : {0.0, 0.3, 0.5, 1.0}) {
                    const Point2 o = at(c, c.startAngle + f * sweep);
                    const Point2 p = matrix.transformPoint(o.x, o.y);
                    if (std::fabs(sweep) >= kReaderFullTurn || c.isThreeNumberCircle()) {
                        // On the written ellipse.
                        const double dx = p.x - w.cx, dy = p.y - w.cy;
                        const double u = (dx * std::cos(w.tilt) + dy * std::sin(w.tilt)) / w.radius;
                        const double v =
                            (dy * std::cos(w.tilt) - dx * std::sin(w.tilt)) / w.ratio / w.radius;
                        EXPECT_NEAR(u * u + v * v, 1.0, 1e-4) << shape << " " << scale << " " << k;
                        continue;
                    }
                    const Point2 a = at(w, w.startAngle + f * (w.endAngle - w.startAngle));
                    const Point2 b = at(w, w.endAngle - f * (w.endAngle - w.startAngle));
                    forward = std::max(forward, std::hypot(a.x - p.x, a.y - p.y));
                    backward = std::max(backward, std::hypot(b.x - p.x, b.y - p.y));
                }
                EXPECT_LT(std::min(forward, backward), 1e-4) << shape << " " << scale << " " << k;
            }
        }
    }
}

TEST(WriteResult, FailuresLeaveTheFileAsItWasAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT");
    const std::string old = "pl\r\n 1 2 3 4\r\n#\r\n";
    writeBytes(path, old);
    const Figure figure = figureOf(" 0 0 10 0\nci 1 1 1\npt 1.79e308 0\n");
    CopyArray array;
    WriteError error = WriteError::none;
    // Scale 1e200 overflows in copy 2, after copy 1 was formatted; a move of 1e307 overflows
    // the product of text and slider; one of 1e306 carries the point to infinity. A scale of
    // 1.0000015 overflows near copy 2,900 of 5,000, a result too large to be formatted once.
    for (const char* texts :
         {"0|0|0|1e200|1|20", "1e307|0|0|1|1|1", "1e306|0|0|1|1|1", "0|0|0|1.0000015|1|5000"}) {
        EXPECT_EQ(
            writeResult(figure, array, evaluateCopyParameters(rows(texts)), path.c_str(), &error),
            0);
        EXPECT_EQ(error, WriteError::notRepresentable);
        std::FILE* stream = std::fopen(dir.path("out").c_str(), "wb");
        EXPECT_EQ(
            writeResultToStream(figure, array, evaluateCopyParameters(rows(texts)), stream, &error),
            0);
        std::fclose(stream);
        EXPECT_EQ(error, WriteError::notRepresentable);
        EXPECT_EQ(readBytes(dir.path("out")), "");  // all checked before the first byte
    }
    setReadOnly(path, true);
    EXPECT_EQ(writeResult(figure, array, evaluateCopyParameters(rows("1|0|0|1|1|3")), path.c_str(),
                          &error),
              0);
    EXPECT_EQ(error, WriteError::readOnly);
    setReadOnly(path, false);
    EXPECT_EQ(readBytes(path), old);
    std::filesystem::create_directory(dir.path("dir"));
    EXPECT_EQ(writeResult(figure, array, evaluateCopyParameters(rows("1|0|0|1|1|3")),
                          dir.path("dir").c_str(), &error),
              0);
    EXPECT_EQ(error, WriteError::notAFile);
    EXPECT_EQ(writeResult(figure, array, evaluateCopyParameters(rows("1|0|0|1|1|3")),
                          dir.path("none/x").c_str(), &error),
              0);
    EXPECT_EQ(error, WriteError::cannotCreate);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"JWC_TEMP.TXT", "dir", "out"}));
}

}  // namespace
