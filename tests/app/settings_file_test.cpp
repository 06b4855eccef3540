#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/settings_file.h"
#include "app/settings_store.h"
#include "tests/test_files.h"

namespace {

// Full-width "３６０／７" as the Japanese input method leaves it in a box (Shift-JIS), a text
// with spaces, metres and radians, a box filled to its 127 characters and an empty count.
LastValues sample() {
    LastValues v;
    v.rows.setText(kRowMoveX, "0.05");
    v.rows.setText(kRowMoveY, " 12 + 3 ");
    v.rows.setText(kRowAngle, "\x82\x52\x82\x55\x82\x4f\x81\x5e\x82\x56");
    v.rows.setText(kRowScaleX, std::string(127, '1').c_str());
    v.rows.setText(kRowScaleY, "\xb6\xc5");  // half-width katakana
    v.rows.setText(kRowCopies, "");
    const int sliders[kRowCount] = {0, 1, 100, 50, 99, 100};
    for (int r = 0; r < kRowCount; ++r) v.rows.rowSlider[r] = sliders[r];
    v.rows.moveUnitFactor[0] = kMoveFactorMetres;
    v.rows.angleUnitFactor = kRadianFactor;
    return v;
}

void expectSameRows(const CopyInputs& a, const CopyInputs& b) {
    for (int r = 0; r < kRowCount; ++r) {
        EXPECT_STREQ(a.rowText[r], b.rowText[r]) << "row " << r + 1;
        EXPECT_EQ(a.rowSlider[r], b.rowSlider[r]) << "row " << r + 1;
    }
    EXPECT_EQ(a.moveUnitFactor[0], b.moveUnitFactor[0]);
    EXPECT_EQ(a.moveUnitFactor[1], b.moveUnitFactor[1]);
    EXPECT_EQ(a.angleUnitFactor, b.angleUnitFactor);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(SettingsFile, RoundTripsEveryRowExactly) {
    const LastValues v = sample();
    const std::string text = formatLastValues(v);
    EXPECT_EQ(text.substr(0, 10), "[zovrel]\r\n");
    LastValues back;
    ASSERT_TRUE(parseLastValues(text, back));
    expectSameRows(back.rows, v.rows);
    EXPECT_EQ(formatLastValues(back), text);
}

// A hand-edited or damaged file either gives exactly the rows written, or nothing at all.
TEST(SettingsFile, DamagedOrHandEditedFilesRestoreExactlyOrAreIgnored) {
    const std::string good = formatLastValues(sample());
    std::string lf;  // the same with LF line ends
    for (char c : good)
        if (c != '\r') lf += c;
    std::string garbage;
    for (int i = 0; i < 512; ++i) garbage += static_cast<char>((i * 37 + 11) & 0xFF);
    struct Case {
        const char* what;
        std::string file;
        bool restores;
    };
    const Case cases[] = {
        {"as written", good, true},
        {"LF line ends", lf, true},
        {"comments, blank lines, another section first",
         "; kept by Zovrel\r\n[other]\r\nangle=5\r\n\r\n" + good, true},
        {"a key of a later version", good + "keep-attributes=1\r\n", true},
        {"a later section", good + "[later]\r\nanything\r\n", true},
        {"a missing key", replaced(good, "angle-unit=rad\r\n", ""), false},
        {"a missing slider", replaced(good, "copies-slider=100\r\n", ""), false},
        {"a 200-character text", replaced(good, "move-x=0.05", "move-x=" + std::string(200, '7')),
         false},
        {"a 128-character text", replaced(good, "move-x=0.05", "move-x=" + std::string(128, '7')),
         false},
        {"a control byte",
         replaced(good, "move-x=0.05",
                  "move-x=0.\x01"
                  "05"),
         false},
        {"a tab", replaced(good, "move-x=0.05", "move-x=0.\t05"), false},
        {"a zero byte",
         replaced(good, "move-x=0.05",
                  std::string("move-x=0.\0"
                              "05",
                              12)),
         false},
        {"a lone carriage return", replaced(good, "move-x=0.05", "move-x=0.\r05"), false},
        {"a cut double-byte character", replaced(good, "scale-y=\xb6\xc5", "scale-y=\xb6\x82"),
         false},
        {"a byte no box holds", replaced(good, "scale-y=\xb6\xc5", "scale-y=\xb6\xfd"), false},
        {"a slider of 101", replaced(good, "move-y-slider=1\r", "move-y-slider=101\r"), false},
        {"a slider of -1", replaced(good, "move-y-slider=1\r", "move-y-slider=-1\r"), false},
        {"a slider with a sign", replaced(good, "move-y-slider=1\r", "move-y-slider=+1\r"), false},
        {"an empty slider", replaced(good, "move-y-slider=1\r", "move-y-slider=\r"), false},
        {"a slider of 0100", replaced(good, "move-y-slider=1\r", "move-y-slider=0100\r"), false},
        {"a letter in the copies", replaced(good, "copies=\r", "copies=2a\r"), false},
        {"a minus in the copies", replaced(good, "copies=\r", "copies=-2\r"), false},
        {"an unknown unit", replaced(good, "move-x-unit=m\r", "move-x-unit=cm\r"), false},
        {"a unit in capitals", replaced(good, "angle-unit=rad", "angle-unit=RAD"), false},
        {"a key no row has", good + "copies-unit=mm\r\n", true},
        {"a duplicated key", good + "angle=45\r\n", false},
        {"a duplicated section", good + good, false},
        {"a line without '='", good + "angle\r\n", false},
        {"no section", replaced(good, "[zovrel]\r\n", ""), false},
        {"the section misnamed", replaced(good, "[zovrel]", "[Zovrel]"), false},
        {"spaces around a key", replaced(good, "angle=", "angle ="), false},
        {"an empty file", "", false},
        {"the bare section", "[zovrel]\r\n", false},
        {"binary garbage", garbage, false},
        {"garbage after the values", good + garbage, false},
        {"a huge file", good + std::string(70000, ';'), false},
    };
    for (const Case& c : cases) {
        LastValues out;
        out.rows.setText(kRowAngle, "untouched");
        const bool restored = parseLastValues(c.file, out);
        EXPECT_EQ(restored, c.restores) << c.what;
        if (c.restores)
            expectSameRows(out.rows, sample().rows);
        else
            EXPECT_STREQ(out.rows.rowText[kRowAngle], "untouched") << c.what;
    }
}

// What the panel cannot show is never written: the file says "nothing stored" instead.
TEST(SettingsFile, RowsNoBoxCouldHoldAreWrittenAsNothingStored) {
    auto with = [](auto change) {
        LastValues v = sample();
        change(v.rows);
        return v;
    };
    const LastValues unstorable[] = {
        with([](CopyInputs& r) { r.setText(kRowMoveX, "1\n[zovrel]"); }),
        with([](CopyInputs& r) { r.setText(kRowCopies, "12abc"); }),
        with([](CopyInputs& r) { r.rowSlider[kRowAngle] = 101; }),
        with([](CopyInputs& r) { r.moveUnitFactor[1] = 10; }),
        with([](CopyInputs& r) { r.angleUnitFactor = 0.5; }),
        with([](CopyInputs& r) { std::memset(r.rowText[kRowScaleX], '1', kRowTextSize); }),
    };
    for (const LastValues& v : unstorable) {
        EXPECT_FALSE(storableRows(v.rows));
        EXPECT_EQ(formatLastValues(v), "[zovrel]\r\n");
    }
    EXPECT_TRUE(storableRows(sample().rows));
}

TEST(SettingsFile, WritesThroughATemporaryFileAndLeavesWhatItCannotWrite) {
    TempDir dir;
    const std::string path = dir.path(kSettingsFileName);
    EXPECT_FALSE(readSettings(path.c_str()).hasLast) << "nothing stored yet";
    Settings stored;
    stored.hasLast = true;
    stored.last = sample();
    ASSERT_TRUE(writeSettings(path.c_str(), stored));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{kSettingsFileName});
    const Settings back = readSettings(path.c_str());
    ASSERT_TRUE(back.hasLast);
    expectSameRows(back.last.rows, sample().rows);

    // A read-only file stays as it is; a folder that does not exist gets nothing.
    const std::string before = readBytes(path);
    setReadOnly(path, true);
    const Settings other;
    EXPECT_FALSE(writeSettings(path.c_str(), other));
    setReadOnly(path, false);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{kSettingsFileName});
    const std::string missing = dir.path("gone/zovrel.ini");
    EXPECT_FALSE(writeSettings(missing.c_str(), other));
    EXPECT_FALSE(readSettings(missing.c_str()).hasLast);
}

}  // namespace

namespace {

// The check box as last left stands apart from the last values: each is read on its own, and a
// damaged one costs only itself.
TEST(SettingsFile, TheCheckBoxIsKeptApartFromTheLastValues) {
    Settings s;
    s.keepAttributes = true;
    s.hasLast = true;
    s.last = sample();
    s.last.rows.keepAttributes = false;  // as the last completion left it
    const std::string text = formatSettings(s);
    EXPECT_TRUE(parseKeepAttributes(text));
    LastValues back;
    ASSERT_TRUE(parseLastValues(text, back));
    EXPECT_FALSE(back.rows.keepAttributes);
    EXPECT_NE(formatLastValues(back).find("last-keep-attributes=0\r\n"), std::string::npos);

    const struct {
        std::string file;
        bool keep, last;
    } cases[] = {
        {"[zovrel]\r\nkeep-attributes=1\r\n", true, false},
        {"[zovrel]\r\nkeep-attributes=2\r\n", false, false},
        {"[zovrel]\r\nkeep-attributes=1\r\nkeep-attributes=1\r\n", false, false},
        {"[other]\r\nkeep-attributes=1\r\n", false, false},
        {replaced(text, "last-keep-attributes=0", "last-keep-attributes=yes"), true, false},
        {replaced(text, "\r\nkeep-attributes=1", "\r\nkeep-attributes=0"), false, true},
        {replaced(text, "move-x-slider=0", "move-x-slider=101"), true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseKeepAttributes(c.file), c.keep) << c.file;
        LastValues ignored;
        EXPECT_EQ(parseLastValues(c.file, ignored), c.last) << c.file;
    }
}

}  // namespace

namespace {

// What the window reads: a file damaged anywhere is ignored as a whole, the check box included;
// and a change reads the file again, so another Zovrel's completion in between stays.
TEST(SettingsStore, DamagedAnywhereIsIgnoredWholeAndAChangeKeepsOthersUpdates) {
    Settings s;
    s.keepAttributes = true;
    s.hasLast = true;
    s.last = sample();
    const std::string text = formatSettings(s);
    const struct {
        std::string file;
        bool whole;
    } cases[] = {
        {text, true},
        {"[zovrel]\r\nkeep-attributes=1\r\n", true},
        {"[zovrel]\r\nkeep-attributes=1\r\nmove-x-slider=101\r\n", false},
        {"[zovrel]\r\nkeep-attributes=1\r\nbroken\r\n", false},
        {replaced(text, "last-keep-attributes=0", "last-keep-attributes=yes"), false},
        {replaced(text, "angle-unit=rad\r\n", ""), false},
        {text + "keep-attributes=1\r\n", false},
    };
    for (const auto& c : cases) {
        Settings read;
        EXPECT_EQ(parseSettings(c.file, read), c.whole) << c.file;
        EXPECT_EQ(read.keepAttributes, c.whole) << c.file;
    }

    TempDir dir;
    const std::string path = dir.path(kSettingsFileName);
    SettingsStore a, b;
    a.load(path);
    b.load(path);
    b.rememberCompletion(sample().rows);
    a.rememberCheckBox(true);
    const Settings now = readSettings(path.c_str());
    EXPECT_TRUE(now.keepAttributes);
    ASSERT_TRUE(now.hasLast) << "B's rows stay";
    expectSameRows(now.last.rows, sample().rows);
    EXPECT_TRUE(a.hasLastValues());
}

}  // namespace
