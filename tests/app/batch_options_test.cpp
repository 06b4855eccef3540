#include "app/batch_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "copyarray/writer.h"
#include "figure/expression.h"
#include "figure/reader.h"

namespace {

// The arguments separated by '|'; error gets the message of a usage error.
BatchOptions parse(const std::string& line, std::string& error) {
    std::vector<std::string> words{"zovrel-batch"};
    for (std::size_t from = 0; from <= line.size() && !line.empty();) {
        const std::size_t bar = std::min(line.find('|', from), line.size());
        words.push_back(line.substr(from, bar - from));
        from = bar + 1;
    }
    std::vector<const char*> args;
    for (const std::string& w : words) args.push_back(w.c_str());
    BatchOptions options;
    error.clear();
    const int ok = parseBatchOptions(static_cast<int>(args.size()), args.data(), options, error);
    EXPECT_EQ(ok == 0, !error.empty()) << line;
    return options;
}

// Each row as text@slider, "-" when not given.
std::string rowsOf(const BatchOptions& options) {
    std::string rows;
    for (const BatchRow& r : options.rows)
        rows += r.given ? r.text + "@" + std::to_string(r.slider) + " " : "- ";
    return rows;
}

CopyInputs inputsFor(const std::string& args, const std::string& figureText) {
    Figure figure;
    loadFigureFromMemory(figureText.data(), figureText.size(), figure);
    std::string error;
    return batchInputs(parse(args, error), figure);
}

TEST(ParseBatchOptions, RowsUnitsBaseAndOutput) {
    std::string error;
    BatchOptions o = parse("", error);
    EXPECT_EQ(rowsOf(o), "- - - - - - ");
    EXPECT_EQ(o.file + "|" + o.output, "JWC_TEMP.TXT|");
    o = parse(
        "--move-x|200|--move-y=5.5@30|--angle|90@0|--scale-x|a@b@7|--scale-y|@50|x.txt|"
        "--move-x-unit|m|--move-y-unit|mm|--angle-unit|rad|--base|-1.5,2e1|-o|-|-h|--version",
        error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(rowsOf(o), "200@100 5.5@30 90@0 a@b@7 @50 - ");  // the last '@' counts
    EXPECT_EQ(o.file + "|" + o.output, "x.txt|-");
    EXPECT_EQ(o.moveUnitFactor[0], kMoveFactorMetres);
    EXPECT_EQ(o.moveUnitFactor[1], kMoveFactorMillimetres);
    EXPECT_EQ(o.angleUnitFactor, kRadianFactor);
    EXPECT_EQ(o.baseX, -1.5);
    EXPECT_EQ(o.baseY, 20.0);
    EXPECT_TRUE(o.help && o.version);
    EXPECT_EQ(parse("--angle-unit|deg", error).angleUnitFactor, kDegreeFactor);
}

TEST(ParseBatchOptions, UsageErrorsGiveAOneLineMessage) {
    for (const char* args :
         {"--copies|20@101", "--copies|20@-1", "--copies|20@x", "--copies|20@", "--copies|20@ 5",
          "--copies|20@1000", "--move-x", "--move-x-unit|km", "--angle-unit|grad", "--base|1",
          "--base|1,2,3", "--base|x,1", "--base|1,", "--base|1e999,0", "-o|", "--frobnicate", "-x",
          "a.txt|b.txt"}) {
        std::string error;
        parse(args, error);
        EXPECT_NE(error, "") << args;
        EXPECT_EQ(error.find('\n'), std::string::npos) << args;
    }
}

TEST(BatchInputs, StartUpStateWithTheGivenRowsAndUnits) {
    // Rows not given keep the start-up state; the width counts from the origin.
    CopyInputs in = inputsFor("", " 9000 1 10000 2\n");
    EXPECT_STREQ(in.rowText[kRowMoveX], "12.00");
    EXPECT_EQ(in.moveUnitFactor[0], kMoveFactorMetres);
    EXPECT_STREQ(in.rowText[kRowMoveY], "2.40");
    EXPECT_STREQ(in.rowText[kRowCopies], "20");
    EXPECT_DOUBLE_EQ(evaluateCopyParameters(in).moveX, 12000.0);
    // A given move text is in millimetres unless a unit says otherwise.
    const std::string wide = " 0 0 10000 20000\n";
    in = inputsFor("--move-x|200|--copies|7@50", wide);
    EXPECT_STREQ(in.rowText[kRowMoveX], "200");
    EXPECT_EQ(in.moveUnitFactor[0], kMoveFactorMillimetres);
    EXPECT_EQ(in.moveUnitFactor[1], kMoveFactorMetres);  // not given: as at start-up
    EXPECT_EQ(evaluateCopyParameters(in).moveX, 200.0);
    EXPECT_EQ(evaluateCopyParameters(in).copies, 3);
    in = inputsFor("--move-y|0.5@100|--move-y-unit|m", wide);
    EXPECT_DOUBLE_EQ(evaluateCopyParameters(in).moveY, 500.0);
    in = inputsFor("--move-x-unit|mm|--angle|1.5|--angle-unit|rad", wide);
    EXPECT_STREQ(in.rowText[kRowMoveX], "12.00");
    EXPECT_EQ(in.moveUnitFactor[0], kMoveFactorMillimetres);
    EXPECT_EQ(evaluateCopyParameters(in).angle, 1.5);
    const std::string longText = "--copies|" + std::string(127, '0') + "9";  // 127 are used
    EXPECT_EQ(evaluateCopyParameters(inputsFor(longText, wide)).copies, 0);
}

// What zovrel-batch writes for these arguments, through a stream.
std::string batchBytes(const std::string& args, const std::string& figureText) {
    Figure figure;
    loadFigureFromMemory(figureText.data(), figureText.size(), figure);
    std::string error;
    const CopyInputs in = batchInputs(parse(args, error), figure);
    CopyArray copies{1.5, -2};
    std::FILE* stream = std::tmpfile();
    EXPECT_EQ(writeResultToStream(figure, copies, evaluateCopyParameters(in), stream), 1) << args;
    std::rewind(stream);
    std::string bytes;
    for (int c; (c = std::fgetc(stream)) != EOF;) bytes += static_cast<char>(c);
    std::fclose(stream);
    return bytes;
}

TEST(BatchInputs, AnExpressionWritesWhatItsValueAsANumberWrites) {
    const std::string figure =
        " 0 0 10 5\npt 3 4\nci 2 2 3 0 90 0.5 10\npl\n 0 0 1 1\n 1 1 2 0\n#\n";
    const std::pair<const char*, const char*> same[] = {
        {"--angle|360/7@100|--copies|7", "--angle|51.42857142857143@100|--copies|7"},
        {"--move-x|(12.5+2.5)*2|--move-y|-3/4@40|--scale-x|1/2+0.25|--copies|4",
         "--move-x|30|--move-y|-0.75@40|--scale-x|0.75|--copies|4"},
        {"--angle|\x82\x52\x82\x55\x82\x4f\x81\x5e\x82\x56|--angle-unit|deg|--copies|3",
         "--angle|51.42857142857143|--copies|3"},
    };
    for (const auto& [typed, plain] : same) {
        const std::string bytes = batchBytes(typed, figure);
        EXPECT_GT(bytes.size(), 100u) << typed;
        EXPECT_EQ(bytes, batchBytes(plain, figure)) << typed;
    }
    EXPECT_EQ(360.0 / 7.0, 51.42857142857143);
}

// A row's text is read as a box reads it: the input method's forms from a UTF-8 command line,
// a text read in part named on the notes, one that no box holds or that is not a finite number
// a usage error naming the option.
TEST(ParseBatchOptions, RowTextsAreReadAsTheBoxesReadThem) {
    const char* argv[] = {"zovrel-batch", "--move-x",   "１２０",    "--angle", "ー３６０・７@50",
                          "--move-y",     "１，０００", "--scale-x", "12abc"};
    BatchOptions o;
    std::string error;
    ASSERT_TRUE(parseBatchOptions(9, argv, o, error, true)) << error;
    EXPECT_EQ(readRowText(kRowMoveX, o.rows[kRowMoveX].text.c_str()).value, 120.0);
    EXPECT_EQ(readRowText(kRowAngle, o.rows[kRowAngle].text.c_str()).value, -360.0 / 7.0);
    EXPECT_EQ(o.rows[kRowAngle].slider, 50);
    EXPECT_EQ(batchReadingNotes(o),
              "the text of --move-y \"１，０００\" was read in part, as 1\n"
              "the text of --scale-x \"12abc\" was read in part, as 12\n");
    // Windows hands Shift-JIS, as a box holds it.
    const char* shiftJis[] = {"zovrel-batch", "--move-x", "\x82\x50\x82\x51\x82\x4f"};
    ASSERT_TRUE(parseBatchOptions(3, shiftJis, o, error));
    EXPECT_EQ(readRowText(kRowMoveX, o.rows[kRowMoveX].text.c_str()).value, 120.0);
    std::string sum;
    for (int i = 0; i < 63; ++i) sum += "1+";
    for (const std::string& args : std::vector<std::string>{
             "--scale-x|2/0", "--move-x|5+1/0@50", "--scale-y|1e309", "--angle|10/(5-5)",
             "--copies|1e999", "--move-y|" + sum + "10", "--move-y|" + sum + "\x82\x50"}) {
        parse(args, error);
        EXPECT_EQ(error.rfind("the text of " + args.substr(0, args.find('|')) + " \"", 0), 0u)
            << args << ": " << error;
    }
    parse("--move-y|" + sum + "1", error);
    EXPECT_EQ(error, "") << "127 bytes fit";
}

}  // namespace
