#include "app/batch_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "figure/reader.h"

namespace {

struct Parsed {
    int ok;
    BatchOptions options;
    std::string error;
};

Parsed parse(std::vector<const char*> args) {
    args.insert(args.begin(), "zovrel-batch");
    Parsed p;
    p.ok = parseBatchOptions(static_cast<int>(args.size()), args.data(), p.options, p.error);
    return p;
}

Figure figureOf(const std::string& text) {
    Figure figure;
    loadFigureFromMemory(text.data(), text.size(), figure);
    return figure;
}

TEST(ParseBatchOptions, DefaultsWithoutArguments) {
    const Parsed p = parse({});
    ASSERT_EQ(p.ok, 1);
    EXPECT_EQ(p.options.file, "JWC_TEMP.TXT");
    EXPECT_EQ(p.options.output, "");
    for (const BatchRow& row : p.options.rows) EXPECT_FALSE(row.given);
    EXPECT_EQ(p.options.baseX, 0.0);
    EXPECT_EQ(p.options.baseY, 0.0);
    EXPECT_FALSE(p.options.help);
}

TEST(ParseBatchOptions, RowsWithAndWithoutSliderPositions) {
    const Parsed p = parse({"--move-x", "200", "--move-y=5.5@30", "--angle", "90@0", "--scale-x",
                            "a@b@7", "--copies", "20@100", "--scale-y", "@50", "drawing.txt"});
    ASSERT_EQ(p.ok, 1) << p.error;
    const BatchRow* r = p.options.rows;
    EXPECT_TRUE(r[kRowMoveX].given);
    EXPECT_EQ(r[kRowMoveX].text, "200");
    EXPECT_EQ(r[kRowMoveX].slider, 100);
    EXPECT_EQ(r[kRowMoveY].text, "5.5");
    EXPECT_EQ(r[kRowMoveY].slider, 30);
    EXPECT_EQ(r[kRowAngle].slider, 0);
    EXPECT_EQ(r[kRowScaleX].text, "a@b");  // the last '@' separates the position
    EXPECT_EQ(r[kRowScaleX].slider, 7);
    EXPECT_EQ(r[kRowScaleY].text, "");
    EXPECT_EQ(r[kRowScaleY].slider, 50);
    EXPECT_EQ(r[kRowCopies].slider, 100);
    EXPECT_EQ(p.options.file, "drawing.txt");
}

TEST(ParseBatchOptions, UnitsBaseAndOutput) {
    const Parsed p = parse({"--move-x-unit", "m", "--move-y-unit", "mm", "--angle-unit", "rad",
                            "--base", "-1.5,2e1", "-o", "-"});
    ASSERT_EQ(p.ok, 1) << p.error;
    EXPECT_EQ(p.options.moveUnitFactor[0], kMoveFactorMetres);
    EXPECT_EQ(p.options.moveUnitFactor[1], kMoveFactorMillimetres);
    EXPECT_EQ(p.options.angleUnitFactor, kRadianFactor);
    EXPECT_EQ(p.options.baseX, -1.5);
    EXPECT_EQ(p.options.baseY, 20.0);
    EXPECT_EQ(p.options.output, "-");
    EXPECT_EQ(parse({"--angle-unit", "deg"}).options.angleUnitFactor, kDegreeFactor);
    EXPECT_EQ(parse({"-o", "out.txt"}).options.output, "out.txt");
    EXPECT_TRUE(parse({"-h"}).options.help);
    EXPECT_TRUE(parse({"--version"}).options.version);
}

TEST(ParseBatchOptions, UsageErrorsAreRejectedWithAOneLineMessage) {
    // Cases separated by ';', the arguments of a case by '|'.
    const std::string cases =
        "--copies|20@101;--copies|20@-1;--copies|20@x;--copies|20@;--copies|20@1000;"
        "--copies|20@ 5;--move-x;--move-x-unit|km;--angle-unit|grad;--base|1;--base|1,2,3;"
        "--base|x,1;--base|1,;--base|1e999,0;-o|;--frobnicate;-x;a.txt|b.txt;";
    std::vector<std::string> words(1);
    int checked = 0;
    for (char c : cases) {
        if (c == '|') {
            words.emplace_back();
        } else if (c != ';') {
            words.back() += c;
        } else {
            std::vector<const char*> args;
            for (const std::string& w : words) args.push_back(w.c_str());
            const Parsed p = parse(args);
            const std::string shown = words[0] + (words.size() > 1 ? " " + words[1] : "");
            EXPECT_EQ(p.ok, 0) << shown;
            EXPECT_FALSE(p.error.empty()) << shown;
            EXPECT_EQ(p.error.find('\n'), std::string::npos) << shown;
            words.assign(1, std::string());
            ++checked;
        }
    }
    EXPECT_EQ(checked, 18);
}

TEST(BatchInputs, RowsNotGivenKeepTheStartUpState) {
    const Figure figure = figureOf(" 0 0 100 50\n");
    const CopyInputs in = batchInputs(parse({}).options, figure);
    EXPECT_STREQ(in.rowText[kRowMoveX], "120.00");
    EXPECT_EQ(in.rowSlider[kRowMoveX], 100);
    EXPECT_STREQ(in.rowText[kRowMoveY], "60.00");
    EXPECT_EQ(in.rowSlider[kRowMoveY], 0);
    EXPECT_STREQ(in.rowText[kRowAngle], "90");
    EXPECT_EQ(in.rowSlider[kRowAngle], 0);
    EXPECT_STREQ(in.rowText[kRowCopies], "20");
    EXPECT_EQ(in.moveUnitFactor[0], kMoveFactorMillimetres);
    EXPECT_EQ(in.angleUnitFactor, kDegreeFactor);

    // The width counts from the origin, which the extents always hold.
    const CopyInputs far = batchInputs(parse({}).options, figureOf(" 9000 1 10000 2\n"));
    EXPECT_STREQ(far.rowText[kRowMoveX], "12.00");
    EXPECT_EQ(far.moveUnitFactor[0], kMoveFactorMetres);
    EXPECT_DOUBLE_EQ(evaluateCopyParameters(far).moveX, 12000.0);
    EXPECT_STREQ(far.rowText[kRowMoveY], "2.40");
}

TEST(BatchInputs, GivenRowsAndUnits) {
    const Figure wide = figureOf(" 0 0 10000 20000\n");
    // A given move text is in millimetres unless a unit says otherwise.
    CopyInputs in = batchInputs(parse({"--move-x", "200", "--copies", "7@50"}).options, wide);
    EXPECT_STREQ(in.rowText[kRowMoveX], "200");
    EXPECT_EQ(in.moveUnitFactor[0], kMoveFactorMillimetres);
    EXPECT_EQ(in.moveUnitFactor[1], kMoveFactorMetres);  // not given: as at start-up
    EXPECT_EQ(evaluateCopyParameters(in).moveX, 200.0);
    EXPECT_EQ(evaluateCopyParameters(in).copies, 3);

    in = batchInputs(parse({"--move-y", "0.5@100", "--move-y-unit", "m"}).options, wide);
    EXPECT_EQ(in.moveUnitFactor[1], kMoveFactorMetres);
    EXPECT_DOUBLE_EQ(evaluateCopyParameters(in).moveY, 500.0);

    in = batchInputs(parse({"--move-x-unit", "mm"}).options, wide);
    EXPECT_STREQ(in.rowText[kRowMoveX], "12.00");
    EXPECT_EQ(in.moveUnitFactor[0], kMoveFactorMillimetres);

    in = batchInputs(parse({"--angle", "1.5", "--angle-unit", "rad"}).options, wide);
    EXPECT_EQ(evaluateCopyParameters(in).angle, 1.5);

    // At most the first 127 characters of a text are used.
    const std::string longText = std::string(127, '0') + "9";
    in = batchInputs(parse({"--copies", longText.c_str()}).options, wide);
    EXPECT_EQ(evaluateCopyParameters(in).copies, 0);
}

}  // namespace
