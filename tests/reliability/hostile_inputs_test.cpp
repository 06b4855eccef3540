// Exchange files and panel texts no host writes, and what Zovrel does with each. Every case
// states its result: nothing crashes, nothing is made up from bytes that are not the host's
// format, and memory stays proportional to the file.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "app/batch_options.h"
#include "app/panel_values.h"
#include "copyarray/copy_array.h"
#include "copyarray/writer.h"
#include "figure/decimal.h"
#include "figure/element_kinds.h"
#include "figure/reader.h"
#include "tests/test_files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

Figure loadText(const std::string& text) {
    Figure figure;
    loadFigureFromMemory(text.data(), text.size(), figure);
    return figure;
}

// Through the file, as the program reads it at start-up.
Figure loadFile(const TempDir& dir, const std::string& bytes) {
    const std::string path = dir.path("JWC_TEMP.TXT");
    writeBytes(path, bytes);
    Figure figure;
    EXPECT_EQ(loadFigure(path.c_str(), figure), 1);
    return figure;
}

std::size_t elementCount(const Figure& f) {
    std::size_t n = f.lines.size() + f.circles.size() + f.points.size() + f.polylines.size();
    for (const PolylineItem& p : f.polylines) n += p.segments.size();
    return n;
}

void expectOriginExtents(const Figure& f) {
    EXPECT_EQ(f.extents().minX, 0.0);
    EXPECT_EQ(f.extents().minY, 0.0);
    EXPECT_EQ(f.extents().maxX, 0.0);
    EXPECT_EQ(f.extents().maxY, 0.0);
}

std::string utf16(const std::string& ascii, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        if (bigEndian) out += '\0';
        out += c;
        if (!bigEndian) out += '\0';
    }
    return out;
}

const char kSmallDrawing[] = "pt 1 2\r\n 0 0 10 0\r\nci 0 0 5\r\n";
constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

// Result: opened (1), an empty figure with the extents at the origin; the copies of nothing
// are an empty file.
TEST(HostileInput, EmptyFileIsAnEmptyFigure) {
    TempDir dir;
    const Figure figure = loadFile(dir, "");
    EXPECT_TRUE(holdsNothing(figure));
    expectOriginExtents(figure);

    CopyArray copies;
    CopyInputs inputs = startupInputs(0.0, 0.0);
    ASSERT_EQ(writeResult(figure, copies, evaluateCopyParameters(inputs),
                          dir.path("JWC_TEMP.TXT").c_str()),
              1);
    EXPECT_EQ(readBytes(dir.path("JWC_TEMP.TXT")), "");
}

// Result: a NUL ends the piece it is in, so NUL bytes read as empty lines; the line after
// them is read as usual.
TEST(HostileInput, NulBytesAreEmptyLines) {
    TempDir dir;
    const Figure nuls = loadFile(dir, std::string(1 << 20, '\0'));
    EXPECT_TRUE(holdsNothing(nuls));
    expectOriginExtents(nuls);

    const Figure after = loadFile(dir, std::string(1 << 20, '\0') + "\n 0 0 10 0\r\n");
    EXPECT_EQ(elementCount(after), 1u);
    ASSERT_EQ(after.lines.size(), 1u);
    EXPECT_EQ(after.lines[0].x2, 10.0);
}

// Result: a line is cut into 255-byte pieces, each a line of its own: the first piece of
// "pt 1 2xxx..." is the point (1, 2), the rest are ignored, the next line is read. One
// element per piece at most, so the figure cannot outgrow the file.
TEST(HostileInput, TenMegabyteLineIsCutIntoPieces) {
    TempDir dir;
    const std::string line = "pt 1 2" + std::string(10 << 20, 'x');
    const Figure figure = loadFile(dir, line + "\r\n 0 0 10 0\r\n");
    ASSERT_EQ(figure.points.size(), 1u);
    EXPECT_EQ(figure.points[0].x, 1.0);
    EXPECT_EQ(figure.points[0].y, 2.0);
    ASSERT_EQ(figure.lines.size(), 1u);
    EXPECT_EQ(elementCount(figure), 2u);

    // Ten megabytes of fields: every piece has too many of them, so nothing is taken.
    std::string fields;
    while (fields.size() < (10u << 20)) fields += " 1 2 3 4";
    EXPECT_TRUE(holdsNothing(loadFile(dir, fields + "\n")));
}

// Result: CR alone does not end a line (the host writes CR LF), so a CR-only file is one long
// line cut into 255-byte pieces, and none of them has the fields of an element: empty.
TEST(HostileInput, CarriageReturnOnlyLineEndsGiveNothing) {
    TempDir dir;
    EXPECT_TRUE(holdsNothing(loadFile(dir, "pt 1 2\r 0 0 10 0\rci 0 0 5\r")));
    std::string many;
    for (int i = 0; i < 1000; ++i) many += "pt 1 2\r 0 0 10 0\r";
    const Figure figure = loadFile(dir, many);
    EXPECT_TRUE(holdsNothing(figure));
    expectOriginExtents(figure);
}

// Result: UTF-16 is not the host's format. Every character carries a NUL byte, which ends
// its piece before any field: an empty figure, in either byte order.
TEST(HostileInput, Utf16WithByteOrderMarkGivesNothing) {
    TempDir dir;
    for (bool bigEndian : {false, true}) {
        const Figure figure = loadFile(dir, utf16(kSmallDrawing, bigEndian));
        EXPECT_TRUE(holdsNothing(figure)) << (bigEndian ? "UTF-16BE" : "UTF-16LE");
        expectOriginExtents(figure);
    }
    ASSERT_EQ(elementCount(loadText(kSmallDrawing)), 3u);  // the same text in ASCII
}

// Result: lines of any other kind are ignored whatever bytes they hold; Shift-JIS text
// (including trail bytes that are '\' or '|' in ASCII) changes nothing else.
TEST(HostileInput, ShiftJisTextInIgnoredLinesChangesNothing) {
    const std::string drawing = "pl\r\n 0 0 10 0\r\n 10 0 10 5\r\n#\r\npt 3 4\r\nci 1 1 2\r\n";
    // "ブラケット", "表示" (0x95 0x5C), "ソ" (0x83 0x5C), "ポ" (0x83 0x7C)
    const std::string sjis =
        "ch 5 65 3 0 \"\x83\x75\x83\x89\x83\x50\x83\x62\x83\x67\r\n"
        "\x95\x5C\x8E\xA6\r\n"
        "cn\x83\x5C\r\n"
        "\x83\x7C\x83\x5C pt 1 1\r\n"
        "lt\x8A\xEE\x93\x5F\r\n";
    TempDir dir;
    const Figure plain = loadFile(dir, drawing);
    const Figure mixed = loadFile(dir, sjis + drawing + sjis);
    EXPECT_EQ(elementCount(plain), 5u);
    EXPECT_EQ(elementCount(mixed), elementCount(plain));
    ASSERT_EQ(mixed.polylines.size(), 1u);
    EXPECT_EQ(mixed.polylines[0].segments.size(), 2u);
    ASSERT_EQ(mixed.points.size(), 1u);
    EXPECT_EQ(mixed.points[0].x, 3.0);
    EXPECT_EQ(mixed.extents().maxX, plain.extents().maxX);
    EXPECT_EQ(mixed.extents().maxY, plain.extents().maxY);
}

// Result: a field of 1e999 or -1e999 skips its line (the figure keeps only finite numbers);
// as a panel text it counts as 0; as a base point of the batch tool it is a usage error.
TEST(HostileInput, OverflowingNumbers) {
    EXPECT_EQ(parseDecimal("1e999"), kInf);
    EXPECT_EQ(parseDecimal("-1e999"), -kInf);

    TempDir dir;
    const Figure figure = loadFile(dir,
                                   "pt 1e999 0\r\n 0 0 -1e999 5\r\nci 0 0 1e999\r\n"
                                   "ci 1e999 0 1\r\nci 0 0 1 0 90 -1e999 0\r\n"
                                   "pl\r\n 1e999 0 0 0\r\n#\r\npt 1 1\r\n");
    EXPECT_TRUE(figure.lines.empty());
    EXPECT_TRUE(figure.circles.empty());
    ASSERT_EQ(figure.polylines.size(), 1u);
    EXPECT_TRUE(figure.polylines[0].segments.empty());
    ASSERT_EQ(figure.points.size(), 1u);
    EXPECT_EQ(figure.extents().maxX, 1.0);
    EXPECT_EQ(figure.extents().minX, 0.0);

    EXPECT_EQ(rowValue("1e999"), 0.0);
    EXPECT_EQ(rowValue("-1e999"), 0.0);
    CopyInputs inputs = startupInputs(10.0, 10.0);
    inputs.setText(kRowCopies, "1e999");
    inputs.setText(kRowScaleX, "-1e999");
    const CopyParameters params = evaluateCopyParameters(inputs);
    EXPECT_EQ(params.copies, 0);
    EXPECT_FALSE(params.copiesClamped);
    EXPECT_EQ(params.scaleX, 0.0);

    BatchOptions options;
    std::string error;
    const char* argv[] = {"zovrel-batch", "--base", "1e999,0"};
    EXPECT_EQ(parseBatchOptions(3, argv, options, error), 0);
    EXPECT_NE(error.find("base point"), std::string::npos);
}

// Result: 400 digits are read correctly rounded (or to infinity, or 0); a panel text keeps its
// first 127 characters; in the file such a line exceeds a piece and is cut, the first piece
// reading as what its own digits say.
TEST(HostileInput, NumbersWithFourHundredDigits) {
    const std::string big = "1" + std::string(399, '0');
    EXPECT_EQ(parseDecimal(big.c_str()), kInf);
    EXPECT_EQ(parseDecimal(("-" + big).c_str()), -kInf);
    const std::string tiny = "0." + std::string(398, '0') + "1";
    EXPECT_EQ(parseDecimal(tiny.c_str()), 0.0);
    const std::string third = "3." + std::string(398, '3');
    EXPECT_EQ(parseDecimal(third.c_str()), 10.0 / 3.0);
    const std::string almostOne = "0." + std::string(398, '9');
    EXPECT_EQ(parseDecimal(almostOne.c_str()), 1.0);

    // The panel box holds 127 characters: 1 and 126 zeros, 1e126 copies, clamped.
    CopyInputs inputs = startupInputs(10.0, 10.0);
    inputs.setText(kRowCopies, big.c_str());
    EXPECT_EQ(rowValue(inputs.rowText[kRowCopies]), 1e126);
    const CopyParameters params = evaluateCopyParameters(inputs);
    EXPECT_EQ(params.copies, kMaxCopies);
    EXPECT_TRUE(params.copiesClamped);

    TempDir dir;
    const std::string digits = "1234567890";
    std::string number;
    for (int i = 0; i < 40; ++i) number += digits;
    const Figure figure = loadFile(dir, "pt 1 " + number + "\r\n 0 0 10 0\r\n");
    ASSERT_EQ(figure.points.size(), 1u);
    const std::string firstPiece = number.substr(0, kMaxPieceBytes - 5);
    EXPECT_EQ(figure.points[0].y, parseDecimal(firstPiece.c_str()));
    EXPECT_TRUE(std::isfinite(figure.points[0].y));
    EXPECT_EQ(figure.lines.size(), 1u);  // the rest of the number starts with a digit: ignored
}

// Result: a million empty polylines, as the format says; each costs one empty record
// (no segment storage), so memory stays linear in the file.
TEST(HostileInput, MillionPolylineStarts) {
    std::string text;
    text.reserve(4u << 20);
    for (int i = 0; i < 1000000; ++i) text += "pl\r\n";
    TempDir dir;
    const Figure figure = loadFile(dir, text);
    ASSERT_EQ(figure.polylines.size(), 1000000u);
    EXPECT_LE(figure.polylines.capacity(), 2u * 1000000u);
    std::size_t reserved = 0;
    for (const PolylineItem& p : figure.polylines) reserved += p.segments.capacity();
    EXPECT_EQ(reserved, 0u);
    EXPECT_TRUE(figure.lines.empty() && figure.points.empty() && figure.circles.empty());
    Figure again;
    FigureReader reader(again);
    reader.feed(text.data(), text.size());
    reader.finish();
    EXPECT_TRUE(reader.records.polylineOpen);
    expectOriginExtents(figure);
}

// Result: a directory is not an exchange file: loadFigure says it cannot be opened (0) and the
// figure stays empty; writing there fails with notAFile and leaves the directory alone.
TEST(HostileInput, DirectoryNamedLikeTheExchangeFile) {
    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT");
    ASSERT_TRUE(std::filesystem::create_directory(path));
    Figure figure;
    EXPECT_EQ(loadFigure(path.c_str(), figure), 0);
    EXPECT_TRUE(holdsNothing(figure));
    expectOriginExtents(figure);

    CopyArray copies;
    WriteError error = WriteError::none;
    EXPECT_EQ(writeResult(loadText(kSmallDrawing), copies,
                          evaluateCopyParameters(startupInputs(10.0, 10.0)), path.c_str(), &error),
              0);
    EXPECT_EQ(error, WriteError::notAFile);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

// Result: a file that cannot be read cannot be opened: 0 and an empty figure, as for a
// missing one. Root ignores permission bits and reads it anyway (1); the host never runs as
// root, so as root the case is checked in a child that has dropped to the user nobody.
TEST(HostileInput, UnreadableFile) {
    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT");
    writeBytes(path, kSmallDrawing);
#ifdef _WIN32
    // Windows has no read permission bit to take away; the equivalent is a program holding
    // the file open without sharing it.
    const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Figure figure;
    EXPECT_EQ(loadFigure(path.c_str(), figure), 0);
    EXPECT_TRUE(holdsNothing(figure));
    CloseHandle(held);
#else
    std::filesystem::permissions(path, std::filesystem::perms::none);
    if (geteuid() != 0) {
        Figure figure;
        EXPECT_EQ(loadFigure(path.c_str(), figure), 0);
        EXPECT_TRUE(holdsNothing(figure));
        return;
    }
    Figure asRoot;
    EXPECT_EQ(loadFigure(path.c_str(), asRoot), 1);
    EXPECT_EQ(elementCount(asRoot), 3u);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // 2: cannot drop privileges; otherwise 10 + loadFigure's result, 20 if it read anything.
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        Figure figure;
        const int opened = loadFigure(path.c_str(), figure);
        _exit(holdsNothing(figure) ? 10 + opened : 20);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "running as root and cannot switch to the user nobody";
    EXPECT_EQ(WEXITSTATUS(status), 10) << "as nobody, loadFigure should give 0 and an empty figure";
#endif
}

// Result: attribute lines with nothing after their tag, a cn" without a font, a value longer
// than a piece and a ch line without a quote are skipped; huge values are kept as bytes;
// a state is kept once, and only where an element follows it; a megabyte text is one text. Written
// with the attributes kept, every case gives one copy per element and sets the header back.
TEST(HostileInput, AttributeAndTextLines) {
    std::string manyStates = "lc1\n#\n";
    for (int i = 0; i < 5000; ++i)
        manyStates += "lc10 " + std::to_string(i) + "\nlw" + std::to_string(i % 7) + "\n 0 0 1 1\n";
    struct Case {
        const char* what;
        std::string text;
        std::size_t lines, states, texts;
    } cases[] = {
        {"empty values", "#\nlc\nlg\r\nly\ncn\nlt\nlw\n 0 0 1 1\n", 0, 1, 0},
        {"cn\" without a font", "cn\"\ncn\"\r\n#\n 0 0 1 1\n", 0, 1, 0},
        {"huge values", "#\nlc10 " + std::string(240, '9') + "\nlw1e999\n 0 0 1 1\n", 2, 2, 0},
        {"a value past a piece", "#\nlc" + std::string(400, '7') + "\n 0 0 1 1\n", 0, 1, 0},
        {"thousands of states", manyStates, 5008, 5002, 0},
        {"ch without a quote", "ch 1 2 3 4\nch 1 2 3 4 x\nch\nch \"a\n", 0, 1, 0},
        {"a megabyte text", "ch 1 2 3 4 \"" + std::string(1 << 20, 'x') + "\n", 0, 1, 1},
    };
    for (const Case& c : cases) {
        const Figure figure = loadText(c.text);
        EXPECT_EQ(figure.attributes.lines.size(), c.lines) << c.what;
        EXPECT_EQ(figure.attributes.states.size(), c.states) << c.what;
        EXPECT_EQ(figure.texts.size(), c.texts) << c.what;
        TempDir dir;
        CopyArray copies;
        CopyInputs inputs = startupInputs(1.0, 1.0);
        inputs.setText(kRowCopies, "2");
        inputs.keepAttributes = true;
        const std::string path = dir.path("JWC_TEMP.TXT");
        ASSERT_EQ(writeResult(figure, copies, evaluateCopyParameters(inputs), path.c_str()), 1)
            << c.what;
        const Figure back = loadText(readBytes(path));
        EXPECT_EQ(back.lines.size(), 2 * figure.lines.size()) << c.what;
        EXPECT_EQ(back.texts.size(), 2 * figure.texts.size()) << c.what;
        if (c.texts) {
            EXPECT_EQ(back.texts[1].string, figure.texts[0].string) << c.what;
        }
    }
}
