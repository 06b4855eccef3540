#include "copyarray/writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "figure/reader.h"
#include "tests/test_files.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

Figure figureOf(const std::string& text) {
    Figure figure;
    loadFigureFromMemory(text.data(), text.size(), figure);
    return figure;
}

// All sliders at 100, moves in millimetres, the angle in degrees.
CopyInputs rows(const char* moveX, const char* moveY, const char* angle, const char* scaleX,
                const char* scaleY, const char* copies) {
    CopyInputs in;
    const char* texts[kRowCount] = {moveX, moveY, angle, scaleX, scaleY, copies};
    for (int r = 0; r < kRowCount; ++r) {
        in.setText(r, texts[r]);
        in.rowSlider[r] = 100;
    }
    return in;
}

// The bytes writeResult puts into a fresh exchange file.
std::string written(const Figure& figure, const CopyInputs& in, double baseX = 0,
                    double baseY = 0) {
    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT");
    CopyArray copies;
    copies.baseX = baseX;
    copies.baseY = baseY;
    WriteError error = WriteError::cannotCreate;
    EXPECT_EQ(writeResult(figure, copies, in, path.c_str(), &error), 1);
    EXPECT_EQ(error, WriteError::none);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"JWC_TEMP.TXT"});
    return readBytes(path);
}

// The same through writeResultToStream, which skips the forced write to the disk.
std::string streamed(const Figure& figure, const CopyInputs& in, double baseX, double baseY) {
    TempDir dir;
    const std::string path = dir.path("out.txt");
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    EXPECT_NE(stream, nullptr);
    if (!stream) return "";
    CopyArray copies;
    copies.baseX = baseX;
    copies.baseY = baseY;
    EXPECT_EQ(writeResultToStream(figure, copies, in, stream), 1);
    std::fclose(stream);
    return readBytes(path);
}

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", from);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos) break;
        lines.push_back(bytes.substr(from, end - from));
        EXPECT_EQ(lines.back().find('\n'), std::string::npos) << "no bare LF";
        from = end + 2;
    }
    return lines;
}

TEST(WriteResult, TwentyCopiesOfASegmentMovedToTheRight) {
    const std::vector<std::string> lines =
        linesOf(written(figureOf(" 0 0 10 0\n"), rows("200", "0", "0", "1.0", "1.0", "20")));
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines.front(), " 200.000000 0.000000 210.000000 0.000000");
    EXPECT_EQ(lines[1], " 400.000000 0.000000 410.000000 0.000000");
    EXPECT_EQ(lines.back(), " 4000.000000 0.000000 4010.000000 0.000000");
}

TEST(WriteResult, EveryKindInItsPlaceWithinEachCopy) {
    const Figure figure =
        figureOf("pt 1 1\nci 0 0 3 0 90 0.5 0\nci 0 0 2\npl\n 0 0 0 1\n#\npl\n#\n 0 0 1 0\n");
    const std::string copy1 =
        " 10.000000 0.000000 11.000000 0.000000\r\n"
        "pl\r\n 10.000000 0.000000 10.000000 1.000000\r\n#\r\n"
        "pl\r\n#\r\n"
        "ci 10.000000 0.000000 3.000000 0.000000 90.000000 0.500000 0.000000\r\n"
        "ci 10.000000 0.000000 2.000000\r\n"
        "pt 11.000000 1.000000\r\n";
    const std::string copy2 =
        " 20.000000 0.000000 21.000000 0.000000\r\n"
        "pl\r\n 20.000000 0.000000 20.000000 1.000000\r\n#\r\n"
        "pl\r\n#\r\n"
        "ci 20.000000 0.000000 3.000000 0.000000 90.000000 0.500000 0.000000\r\n"
        "ci 20.000000 0.000000 2.000000\r\n"
        "pt 21.000000 1.000000\r\n";
    EXPECT_EQ(written(figure, rows("10", "0", "0", "1", "1", "2")), copy1 + copy2);
}

TEST(WriteResult, PolylineOfThreeSegmentsPerCopy) {
    const std::vector<std::string> lines = linesOf(written(
        figureOf("pl\n 0 0 1 0\n 1 0 1 1\n 1 1 0 0\n#\n"), rows("0", "5", "0", "1", "1", "2")));
    ASSERT_EQ(lines.size(), 10u);
    for (int copy = 0; copy < 2; ++copy) {
        EXPECT_EQ(lines[copy * 5], "pl");
        EXPECT_EQ(lines[copy * 5 + 4], "#");
    }
    EXPECT_EQ(lines[3], " 1.000000 6.000000 0.000000 5.000000");
    EXPECT_EQ(lines[8], " 1.000000 11.000000 0.000000 10.000000");
}

TEST(WriteResult, NoCopiesOrNoFigureLeaveAnEmptyFile) {
    const Figure segment = figureOf(" 0 0 10 0\n");
    for (const char* copies : {"0", "-3", "", "0.9"}) {
        TempDir dir;
        const std::string path = dir.path("JWC_TEMP.TXT");
        writeBytes(path, "old contents\r\n");
        CopyArray array;
        EXPECT_EQ(writeResult(segment, array, rows("1", "0", "0", "1", "1", copies), path.c_str()),
                  1);
        EXPECT_EQ(readBytes(path), "") << copies;
    }
    EXPECT_EQ(written(Figure(), rows("1", "0", "0", "1", "1", "20")), "");
}

TEST(WriteResult, ThreeNumberCircles) {
    const Figure circle = figureOf("ci 0 0 5\n");
    // Uniform scaling and plain mirroring keep the three-number form.
    EXPECT_EQ(written(circle, rows("0", "0", "0", "2", "2", "2")),
              "ci 0.000000 0.000000 10.000000\r\nci 0.000000 0.000000 20.000000\r\n");
    EXPECT_EQ(written(figureOf("ci 3 4 5\n"), rows("0", "0", "0", "-1", "1", "1")),
              "ci -3.000000 4.000000 5.000000\r\n");
    // Unequal scaling makes an ellipse: the whole of it, 0 to 360 degrees.
    EXPECT_EQ(written(circle, rows("0", "0", "0", "2", "1", "2")),
              "ci 0.000000 0.000000 10.000000 0.000000 360.000000 0.500000 0.000000\r\n"
              "ci 0.000000 0.000000 20.000000 0.000000 360.000000 0.250000 0.000000\r\n");
    EXPECT_EQ(written(circle, rows("0", "0", "0", "1", "2", "1")),
              "ci 0.000000 0.000000 10.000000 0.000000 360.000000 0.500000 90.000000\r\n");
    // Even mirrored: still 0 and 360, with a positive ratio.
    EXPECT_EQ(written(circle, rows("0", "0", "0", "-2", "1", "1")),
              "ci 0.000000 0.000000 10.000000 0.000000 360.000000 0.500000 180.000000\r\n");
    // Both scales 0: a circle of radius 0.
    EXPECT_EQ(written(circle, rows("7", "0", "0", "0", "0", "1")),
              "ci 7.000000 0.000000 0.000000\r\n");
}

TEST(WriteResult, SevenNumberArcs) {
    // A full turn read in the seven-number form stays in it.
    EXPECT_EQ(written(figureOf("ci 1 2 3 10 10 0.5 0\n"), rows("0", "0", "0", "1", "1", "1")),
              "ci 1.000000 2.000000 3.000000 0.000000 360.000000 0.500000 0.000000\r\n");
    EXPECT_EQ(written(figureOf("ci 1 2 3 360 0 0.5 20\n"), rows("0", "0", "0", "1", "1", "1")),
              "ci 1.000000 2.000000 3.000000 0.000000 360.000000 0.500000 20.000000\r\n");
    const Figure quarter = figureOf("ci 0 0 10 0 90 1 0\n");
    EXPECT_EQ(written(quarter, rows("0", "0", "0", "2", "1", "1")),
              "ci 0.000000 0.000000 20.000000 0.000000 90.000000 0.500000 0.000000\r\n");
    // Mirrored: the same curve walked the other way, with a positive ratio.
    EXPECT_EQ(written(quarter, rows("0", "0", "0", "1", "-1", "1")),
              "ci 0.000000 0.000000 10.000000 -90.000000 0.000000 1.000000 0.000000\r\n");
    // Very flat arcs are written at least 0.001 flat; a zero radius gets ratio 1.
    EXPECT_EQ(written(figureOf("ci 0 0 10 0 90 0.0001 0\n"), rows("0", "0", "0", "1", "1", "1")),
              "ci 0.000000 0.000000 10.000000 0.000000 90.000000 0.001000 0.000000\r\n");
    EXPECT_EQ(written(figureOf("ci 0 0 0 0 90 0.5 0\n"), rows("0", "0", "0", "1", "1", "1")),
              "ci 0.000000 0.000000 0.000000 0.000000 90.000000 1.000000 0.000000\r\n");
}

TEST(WriteResult, FlatArcUnderEqualScalesKeepsItsShapeAndTurnsWithTheCopies) {
    const std::vector<std::string> lines = linesOf(
        written(figureOf("ci 0 0 4 20 100 0.25 30\n"), rows("0", "0", "10", "1.5", "1.5", "3")));
    ASSERT_EQ(lines.size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        double cx, cy, r, start, end, ratio, tilt;
        ASSERT_EQ(std::sscanf(lines[k - 1].c_str(), "ci %lf %lf %lf %lf %lf %lf %lf", &cx, &cy, &r,
                              &start, &end, &ratio, &tilt),
                  7);
        EXPECT_NEAR(r, 4 * std::pow(1.5, k), 1e-6);
        EXPECT_NEAR(start, 20, 1e-6);
        EXPECT_NEAR(end, 100, 1e-6);
        EXPECT_NEAR(ratio, 0.25, 1e-6);
        EXPECT_NEAR(tilt, 30 - 10 * k, 1e-5);
    }
}

// Every circle and arc, written for copy k and read back, is the curve the preview shows:
// the original curve carried through the copy's matrix.
TEST(WriteResult, WrittenCurvesAreTheTransformedCurves) {
    const char* shapes[] = {
        "ci 5 -3 4",           "ci 5 -3 4 10 100 0.5 30", "ci -2 1 6 300 60 0.8 -70",
        "ci 0 0 3 0 270 1 45", "ci 1 1 5 30 200 2 10",    "ci 4 4 2 45 45 0.6 15"};
    const char* scales[][2] = {
        {"2", "1"}, {"1", "-1"}, {"-1.5", "0.5"}, {"-2", "-2"}, {"0.7", "1.3"}};
    for (const char* shape : shapes) {
        const Figure figure = figureOf(std::string(shape) + "\n");
        const CircleItem& before = figure.circles.at(0);
        for (const auto& s : scales) {
            const CopyInputs in = rows("3", "-1", "25", s[0], s[1], "2");
            const Figure after = figureOf(streamed(figure, in, 1.5, -0.5));
            ASSERT_EQ(after.circles.size(), 2u) << shape;
            CopyArray array;
            array.baseX = 1.5;
            array.baseY = -0.5;
            for (int k = 1; k <= 2; ++k) {
                array.buildCopyMatrix(evaluateCopyParameters(in), k);
                const CircleItem& w = after.circles[k - 1];
                auto onWritten = [&](double theta) {
                    const double u = w.radius * std::cos(theta),
                                 v = w.ratio * w.radius * std::sin(theta);
                    return Point2{w.cx + u * std::cos(w.tilt) - v * std::sin(w.tilt),
                                  w.cy + u * std::sin(w.tilt) + v * std::cos(w.tilt)};
                };
                auto original = [&](double theta) {
                    const double u = before.radius * std::cos(theta);
                    const double v = before.ratio * before.radius * std::sin(theta);
                    return array.matrix.transformPoint(
                        before.cx + u * std::cos(before.tilt) - v * std::sin(before.tilt),
                        before.cy + u * std::sin(before.tilt) + v * std::cos(before.tilt));
                };
                const std::string where = std::string(shape) + " scaled " + s[0] + "," + s[1] +
                                          " copy " + std::to_string(k);
                const double tol = 1e-4;
                const double sweep = before.endAngle - before.startAngle;
                if (before.isThreeNumberCircle() || std::fabs(sweep) >= kReaderFullTurn) {
                    // A full turn: every transformed point lies on the written ellipse.
                    for (int i = 0; i < 12; ++i) {
                        const Point2 p = original(i * 0.5);
                        const double dx = p.x - w.cx, dy = p.y - w.cy;
                        const double u = (dx * std::cos(w.tilt) + dy * std::sin(w.tilt)) / w.radius;
                        const double v =
                            (-dx * std::sin(w.tilt) + dy * std::cos(w.tilt)) / (w.ratio * w.radius);
                        EXPECT_NEAR(u * u + v * v, 1.0, tol) << where;
                    }
                    continue;
                }
                // An arc: the same two end points (in either order) and the same middle.
                const Point2 a = original(before.startAngle), b = original(before.endAngle);
                const Point2 m = original(before.startAngle + sweep / 2);
                Point2 wa = onWritten(w.startAngle), wb = onWritten(w.endAngle);
                const Point2 wm = onWritten((w.startAngle + w.endAngle) / 2);
                if (std::hypot(wa.x - a.x, wa.y - a.y) > std::hypot(wb.x - a.x, wb.y - a.y))
                    std::swap(wa, wb);
                EXPECT_NEAR(wa.x, a.x, tol) << where;
                EXPECT_NEAR(wa.y, a.y, tol) << where;
                EXPECT_NEAR(wb.x, b.x, tol) << where;
                EXPECT_NEAR(wb.y, b.y, tol) << where;
                EXPECT_NEAR(wm.x, m.x, tol) << where;
                EXPECT_NEAR(wm.y, m.y, tol) << where;
            }
        }
    }
}

// A scale of 1e200 overflows in copy 2, after copy 1 was already formatted.
const char kOverflowingScale[] = "1e200";

TEST(WriteResult, NumberThatIsNotFiniteWritesNothing) {
    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT");
    const std::string old = "pl\r\n 1 2 3 4\r\n#\r\n";
    writeBytes(path, old);
    const Figure figure = figureOf(" 0 0 10 0\nci 1 1 1\n");
    CopyArray array;
    WriteError error = WriteError::none;
    EXPECT_EQ(writeResult(figure, array, rows("0", "0", "0", kOverflowingScale, "1", "20"),
                          path.c_str(), &error),
              0);
    EXPECT_EQ(error, WriteError::notRepresentable);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"JWC_TEMP.TXT"});

    // A move that overflows the product of text and slider.
    EXPECT_EQ(
        writeResult(figure, array, rows("1e307", "0", "0", "1", "1", "1"), path.c_str(), &error),
        0);
    EXPECT_EQ(error, WriteError::notRepresentable);
    EXPECT_EQ(readBytes(path), old);

    // To a stream: the copies are checked before anything goes out.
    const std::string streamPath = dir.path("out.txt");
    std::FILE* stream = std::fopen(streamPath.c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(writeResultToStream(figure, array, rows("0", "0", "0", kOverflowingScale, "1", "20"),
                                  stream, &error),
              0);
    EXPECT_EQ(error, WriteError::notRepresentable);
    std::fclose(stream);
    EXPECT_EQ(readBytes(streamPath), "");
}

TEST(WriteResult, StreamGetsTheSameBytesAsTheFile) {
    const Figure figure = figureOf(" 0 0 10 0\npl\n 1 1 2 2\n#\nci 0 0 3 30 60 0.5 0\npt 4 4\n");
    const CopyInputs in = rows("12.5", "-3", "15", "1.1", "0.9", "4");
    TempDir dir;
    const std::string path = dir.path("out.txt");
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    CopyArray array;
    EXPECT_EQ(writeResultToStream(figure, array, in, stream), 1);
    std::fclose(stream);
    EXPECT_EQ(readBytes(path), written(figure, in));
}

TEST(WriteResult, ReplacesTheWholeFileAtomically) {
    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT");
    writeBytes(path, std::string(5000, 'x'));
    CopyArray array;
    EXPECT_EQ(
        writeResult(figureOf("pt 1 2\n"), array, rows("1", "0", "0", "1", "1", "1"), path.c_str()),
        1);
    EXPECT_EQ(readBytes(path), "pt 2.000000 2.000000\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

TEST(WriteResult, ReadOnlyFileIsLeftAlone) {
    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT");
    writeBytes(path, " 0 0 1 1\r\n");
    setReadOnly(path, true);
    CopyArray array;
    WriteError error = WriteError::none;
    EXPECT_EQ(writeResult(figureOf(" 0 0 1 1\n"), array, rows("1", "0", "0", "1", "1", "3"),
                          path.c_str(), &error),
              0);
    EXPECT_EQ(error, WriteError::readOnly);
    setReadOnly(path, false);
    EXPECT_EQ(readBytes(path), " 0 0 1 1\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

TEST(WriteResult, PathsThatCannotBeWritten) {
    TempDir dir;
    std::filesystem::create_directory(dir.path("JWC_TEMP.TXT"));
    CopyArray array;
    WriteError error = WriteError::none;
    const CopyInputs in = rows("1", "0", "0", "1", "1", "3");
    EXPECT_EQ(
        writeResult(figureOf("pt 1 2\n"), array, in, dir.path("JWC_TEMP.TXT").c_str(), &error), 0);
    EXPECT_EQ(error, WriteError::notAFile);
    EXPECT_EQ(
        writeResult(figureOf("pt 1 2\n"), array, in, dir.path("none/JWC_TEMP.TXT").c_str(), &error),
        0);
    EXPECT_EQ(error, WriteError::cannotCreate);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

#ifndef _WIN32
TEST(WriteResult, KeepsThePermissionBitsOfTheReplacedFile) {
    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT");
    writeBytes(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    CopyArray array;
    EXPECT_EQ(
        writeResult(figureOf("pt 1 2\n"), array, rows("1", "0", "0", "1", "1", "1"), path.c_str()),
        1);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}
#endif

}  // namespace
