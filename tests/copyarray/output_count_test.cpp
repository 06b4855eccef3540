#include "copyarray/output_count.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "bench/workload.h"
#include "copyarray/output_size.h"
#include "copyarray/writer.h"
#include "figure/reader.h"

namespace {

CopyParameters withCopies(const char* text, int slider) {
    CopyInputs in;
    in.setText(kRowCopies, text);
    in.rowSlider[kRowCopies] = slider;
    return evaluateCopyParameters(in);
}

TEST(OutputCount, CountsEveryWrittenElementOfEveryCopy) {
    Figure f;
    f.lines = {{0, 0, 1, 1}, {0, 0, 2, 1}};
    f.polylines.resize(2);  // the second one empty: it writes no element
    for (int i = 0; i < 3; ++i) f.polylines[0].segments.push_back({0, 0, 1, double(i)});
    f.points.push_back({1, 1});
    f.circles.push_back(CircleItem{});
    const int64_t per = elementsPerCopy(f);
    EXPECT_EQ(per, 7);
    EXPECT_EQ(outputCount(per, withCopies("20", 100)), (OutputCount{20, 140}));
    EXPECT_EQ(outputCount(per, withCopies("20", 55)), (OutputCount{11, 77}));
    EXPECT_EQ(outputCount(per, withCopies("-3", 100)), (OutputCount{0, 0}));
    EXPECT_EQ(outputCount(per, withCopies("", 100)), (OutputCount{0, 0}));
    // The clamped count, and a product beyond 32 bits.
    EXPECT_EQ(outputCount(30000, withCopies("1e9", 100)),
              (OutputCount{kMaxCopies, int64_t{3000000000}}));
}

// Move x, move y, angle, scale x, scale y, copies; all sliders at 100.
CopyParameters parameters(const double (&values)[6]) {
    CopyInputs in;
    for (int r = 0; r < kRowCount; ++r) {
        char text[64];
        std::snprintf(text, sizeof text, "%.17g", values[r]);
        in.setText(r, text);
        in.rowSlider[r] = 100;
    }
    return evaluateCopyParameters(in);
}

// The writer's own verdict, formatting everything.
bool writerWrites(const Figure& figure, const CopyArray& copies, const CopyParameters& params) {
    CopyArray array = copies;
    OutputBuffer text(nullptr, true);
    return emitCopies(figure, array, params, text) != WriteError::notRepresentable;
}

TEST(CopiesRepresentable, IsTheWritersVerdict) {
    const char* const usual = " 0 0 10 5\npl\n 1 1 2 2\n#\nci 3 3 2 10 80 0.5 30\npt 4 4\n";
    const struct {
        const char* figure;
        double values[6];
        bool writes;
    } cases[] = {
        {usual, {100, 40, 3, 1.1, 0.9, 20}, true},
        {usual, {0, 0, 0, 1e200, 1, 3}, false},               // scale 1e200 in copy 2
        {usual, {0, 0, 0, 1e200, 1, 1}, true},                // one copy is still finite
        {usual, {0, 0, 0, 1e200, 1, 0}, true},                // nothing to write
        {"pt 1.79e308 0\n", {0, 0, 0, 1, 1, 3}, true},        // a huge coordinate left as it is
        {"pt 1.79e308 0\n", {0, 0, 0, -1, 1, 3}, true},       // or mirrored
        {"pt 1.79e308 0\n", {1e306, 0, 0, 1, 1, 3}, false},   // carried beyond by the move
        {" 0 0 1 1\n", {1e306, 0, 0, 1, 1, 3}, true},         // a huge move of a small figure
        {" 0 0 1 1\n", {1e306, 0, 0, 1, 1, 200}, false},      // copy 180 is beyond
        {" 0 0 1 1\n", {0, 0, 1.5e306, 1, 1, 150}, true},     // a huge angle turns segments
        {"ci 0 0 1\n", {0, 0, 1.5e306, 1, 2, 150}, false},    // but not an ellipse's tilt
        {"ci 0 0 1e300\n", {0, 0, 0, 1e10, 1e10, 1}, false},  // a radius scaled beyond
        {"", {0, 0, 0, 1e300, 1e300, 5}, true},               // an empty figure writes nothing
        {"pl\n#\n", {1e308, 0, 0, 1e300, 1, 5}, true},        // nor does an empty polyline
    };
    for (const auto& c : cases) {
        Figure figure;
        loadFigureFromMemory(c.figure, std::strlen(c.figure), figure);
        const CopyArray copies{2, -3};
        const CopyParameters params = parameters(c.values);
        EXPECT_EQ(copiesRepresentable(figure, copies, params), c.writes) << c.figure << c.values[5];
        EXPECT_EQ(writerWrites(figure, copies, params), c.writes) << c.figure << c.values[5];
    }
}

// The bound never passes what the writer refuses: magnitudes from tiny to huge, at random.
TEST(CopiesRepresentable, AgreesWithTheWriterOverAllMagnitudes) {
    std::mt19937_64 random(11);
    auto magnitude = [&] {
        const double sign = random() & 1 ? -1.0 : 1.0;
        return sign * std::pow(10.0, static_cast<double>(random() % 620) - 310.0) *
               (1.0 + static_cast<double>(random() % 1000) / 1000.0);
    };
    auto number = [&] { return std::to_string(random() % 4 ? magnitude() : 0.0); };
    for (int i = 0; i < 400; ++i) {
        const std::string text = " " + number() + " " + number() + " 1 2\nci " + number() + " " +
                                 number() + " " + number() + " 10 70 " + number() + " 20\n" +
                                 "ci 1 1 " + number() + "\npt 1 " + number() + "\n";
        Figure figure;
        loadFigureFromMemory(text.data(), text.size(), figure);
        const double values[6] = {
            random() % 2 ? magnitude() : 10.0, random() % 2 ? magnitude() : 0.0,
            random() % 2 ? magnitude() : 15.0, random() % 2 ? magnitude() : 1.5,
            random() % 2 ? magnitude() : 0.5,  static_cast<double>(random() % 6)};
        const CopyParameters params = parameters(values);
        const CopyArray copies{magnitude(), 1};
        ASSERT_EQ(copiesRepresentable(figure, copies, params), writerWrites(figure, copies, params))
            << text << values[0] << " " << values[2] << " " << values[3] << " " << values[4];
    }
}

// A bounded verdict: far coordinates beside many elements cost no walk over every copy, texts
// count only when written, and what the reach cannot tell is checked within the budget or left
// unknown, never guessed.
TEST(WriteVerdict, DecidesFromTheReachAndChecksOnlyWhatItCannotTell) {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += " " + std::to_string(i) + " 0 " + std::to_string(i) + " 5\n";
    const std::string farText = text + "ch 1e307 0 10 0 \"far\n";
    CopyInputs in;
    const char* const rows[6] = {"100", "0", "5", "1", "1", "400"};
    for (int r = 0; r < kRowCount; ++r) {
        in.setText(r, rows[r]);
        in.rowSlider[r] = 100;
    }
    struct Case {
        std::string figure;
        bool keep;
        const char* scale;
        WriteVerdict verdict;
    };
    const Case cases[] = {
        {farText, false, "1", WriteVerdict::writes},     // the text is not written
        {farText, true, "1", WriteVerdict::writes},      // written, and still finite
        {farText, true, "1.01", WriteVerdict::refuses},  // grown beyond by copy 290 or so
        {farText, false, "1.01", WriteVerdict::writes},
        // Two points at the largest coordinates, turned: the box's corners overflow, neither point
        // does; only the checking pass can tell.
        {"pt 1.7e308 0\npt 0 1.7e308\n", false, "1", WriteVerdict::writes},
    };
    for (const Case& c : cases) {
        Figure figure;
        loadFigureFromMemory(c.figure.data(), c.figure.size(), figure);
        in.setText(kRowScaleX, c.scale);
        in.setText(kRowScaleY, c.scale);
        in.keepAttributes = c.keep;
        const CopyParameters params = evaluateCopyParameters(in);
        const CopyArray copies;
        EXPECT_EQ(writeVerdict(figure, figureReach(figure), copies, params, kVerdictBudget),
                  c.verdict)
            << c.figure.substr(c.figure.size() - 20) << c.keep << c.scale;
        EXPECT_EQ(writerWrites(figure, copies, params), c.verdict == WriteVerdict::writes);
    }
    // The turned pair once more, with no budget for the checking pass: unknown.
    Figure pair;
    loadFigureFromMemory("pt 1.7e308 0\npt 0 1.7e308\n", 26, pair);
    in.setText(kRowAngle, "45");
    in.setText(kRowCopies, "3");
    const CopyParameters turned = evaluateCopyParameters(in);
    EXPECT_EQ(writeVerdict(pair, figureReach(pair), CopyArray{}, turned, 0), WriteVerdict::unknown);
    EXPECT_EQ(
        writeVerdict(pair, figureReach(pair), CopyArray{}, turned, 100),
        writerWrites(pair, CopyArray{}, turned) ? WriteVerdict::writes : WriteVerdict::refuses);
}

}  // namespace

// The size the readout announces is within a few per cent of what is written: drawings of
// every kind, attributes kept or not, turned and growing copies, a long text; small outputs
// are not estimated.
TEST(OutputSize, EstimatesWhatIsWritten) {
    const std::string mixed = makeDrawing(3000, 5, 7);
    const std::string texts =
        makeDrawing(3000, 9, 0, true) + "ch 0 0 5 0 \"" + std::string(200000, 'x') + "\r\n";
    struct Case {
        const std::string* drawing;
        bool keep;
        const char* angle;
        const char* scale;
    } cases[] = {{&mixed, false, "0", "1"},
                 {&mixed, true, "3", "1"},
                 {&texts, true, "0", "1.05"},
                 {&texts, false, "10", "0.9"}};
    for (const Case& c : cases) {
        Figure figure;
        loadFigureFromMemory(c.drawing->data(), c.drawing->size(), figure);
        CopyInputs in;
        const char* rows[kRowCount] = {"150", "40", c.angle, c.scale, c.scale, "30"};
        for (int r = 0; r < kRowCount; ++r) {
            in.setText(r, rows[r]);
            in.rowSlider[r] = 100;
        }
        in.keepAttributes = c.keep;
        const CopyParameters params = evaluateCopyParameters(in);
        OutputBuffer written(nullptr, true);
        ASSERT_EQ(emitCopies(figure, CopyArray(), params, written, 1), WriteError::none);
        OutputSize size;
        size.setFigure(figure);
        EXPECT_EQ(size.estimate(CopyArray(), params), 0.0) << "a few megabytes";
        const double estimate = size.estimate(CopyArray(), params, 0.0);
        EXPECT_NEAR(estimate / static_cast<double>(written.used), 1.0, 0.05)
            << c.keep << c.angle << c.scale;
    }
}
