// Leftover temporary files of a killed writer are removed before the next write; a live
// writer's file and every other name stay.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/panel_values.h"
#include "copyarray/writer.h"
#include "figure/exchange_io.h"
#include "figure/reader.h"
#include "tests/test_files.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace {

// Beyond every system's process numbers, so no process has it.
const std::string kGone = "2147483644";

std::string temp(const std::string& pid, const std::string& counter = "0") {
    return "JWC_TEMP.TXT.zovrel-" + pid + "-" + counter + ".tmp";
}

// Names that only resemble a temporary file of JWC_TEMP.TXT: none may be touched.
const std::vector<std::string> kNearMisses = {
    temp(kGone) + ".bak",
    "JWC_TEMP.TXT.zovrel-" + kGone + ".tmp",
    temp("0" + kGone),
    temp(kGone, "01"),
    temp("0"),
    temp("2147483648"),
    temp("-" + kGone),
    temp(kGone, "x"),
    "JWC_TEMP.TXT.zovrel-" + kGone + "-0.TMP",
    "OTHER.TXT.zovrel-" + kGone + "-0.tmp",
    "JWC_TEMP.TXT",
};

TEST(StaleTempFiles, OnlyLeftoversOfGoneWritersAreRemoved) {
    TempDir dir;
    std::vector<std::string> kept = kNearMisses;
    for (const std::string& name : kNearMisses) writeBytes(dir.path(name), "keep");
    const std::string live = temp(std::to_string(getpid()), "7");
    writeBytes(dir.path(live), "live");
    kept.push_back(live);
    std::filesystem::create_directory(dir.path(temp(kGone, "1")));  // not a file
    kept.push_back(temp(kGone, "1"));
    writeBytes(dir.path(temp(kGone, "2")), "stale");
    writeBytes(dir.path(temp("99999999", "3")), "stale");
    std::sort(kept.begin(), kept.end());

    removeStaleTempFiles(dir.path("JWC_TEMP.TXT").c_str());
    EXPECT_EQ(dir.entries(), kept);
    for (const std::string& name : kNearMisses) EXPECT_EQ(readBytes(dir.path(name)), "keep");
}

TEST(StaleTempFiles, WritingRemovesThemAndLeavesOnlyTheResult) {
    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT");
    writeBytes(path, " 0 0 10 0\r\n");
    writeBytes(dir.path(temp(kGone, "5")), " 0 0 1 1\r\n");
    writeBytes(dir.path("notes.txt"), "mine");
    Figure figure;
    ASSERT_EQ(loadFigure(path.c_str(), figure), 1);
    CopyArray copies;
    ASSERT_EQ(writeResult(figure, copies, evaluateCopyParameters(startupInputs(10.0, 0.0)), path.c_str()), 1);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"JWC_TEMP.TXT", "notes.txt"}));
}

#ifdef _WIN32
// On Windows an open file cannot be deleted: a writer whose process number is reused or
// unknown still holds its file, and it stays.
TEST(StaleTempFiles, FileStillOpenStays) {
    TempDir dir;
    const std::string name = dir.path(temp(kGone, "4"));
    writeBytes(name, "open");
    const HANDLE held = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    removeStaleTempFiles(dir.path("JWC_TEMP.TXT").c_str());
    EXPECT_EQ(dir.entries(), std::vector<std::string>{temp(kGone, "4")});
    CloseHandle(held);
    removeStaleTempFiles(dir.path("JWC_TEMP.TXT").c_str());
    EXPECT_TRUE(dir.entries().empty());
}
#endif

}  // namespace
