#include "copyarray/records_left_out.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/status_notes.h"
#include "app/texts.h"
#include "copyarray/writer.h"
#include "figure/reader.h"

namespace {

// One of most records, a block holding a segment, and three no copy takes.
const char kSelection[] =
    "#\n 0 0 1 1\nch 0 0 5 0 \"a\ncv 0 0 0 5 \"b\ncv 1 1 0 5 \"c\nmsg\n 0 0 9 0\n"
    "cs 4 1 2 0 \"9\n#\nsl 0 0 1 0 1 1\npt 3 3 1 2 0\nBL 7 7 \"door\n 0 0 1 0\n#\n"
    "sc 1 2 3 4\nck 1\nzz9 1\n";

std::string brief(const std::vector<LeftOut>& list) {
    std::string s;
    for (const LeftOut& l : list) s += l.tag + std::to_string(l.count) + "nbt"[l.why] + ' ';
    return s;
}

TEST(RecordsLeftOut, NameWhatTheCopiesLeaveOutAsTheWriterLeavesItOut) {
    Figure figure;
    loadFigureFromMemory(kSelection, sizeof kSelection - 1, figure, 1);
    const RecordTally tally(figure);
    const std::string never = "sc1b ck1b zz1b ";
    struct Case {
        bool keep;
        double angle, scaleX;
        int copies;
        std::string named;
        int withBlock;  // copies that write the block reference
    } cases[] = {
        {false, 0, 1, 3, "ch1n cv2n cs1n sl1n pt1n msg1n BL1n " + never, 0},
        {true, 0, 1, 3, never, 3},
        {true, 0, -1, 3, "BL1t " + never, 1},  // the second copy is back to a pure move
        {true, 0.5, 1, 2, "BL1t " + never, 0},
        {true, 0.5, 1, 0, "", 0},
    };
    for (const Case& c : cases) {
        CopyParameters params;
        params.moveX = 20;
        params.angle = c.angle;
        params.scaleX = c.scaleX;
        params.scaleY = 1;
        params.copies = c.copies;
        params.keepAttributes = c.keep;
        const std::vector<LeftOut> named = recordsLeftOut(tally, params);
        EXPECT_EQ(brief(named), c.named) << c.keep << c.scaleX;
        if (c.keep) {
            EXPECT_EQ(movesOnlyCopies(params), c.withBlock);
        }
        OutputBuffer text(nullptr, true);
        ASSERT_EQ(emitCopies(figure, CopyArray(), params, text, 1), WriteError::none);
        const std::string written(text.data.data(), text.used);
        std::size_t blocks = 0;
        for (std::size_t at = 0; (at = written.find("BL ", at)) != std::string::npos; ++at)
            ++blocks;
        EXPECT_EQ(blocks, static_cast<std::size_t>(c.withBlock)) << written;
    }
#ifndef _WIN32  // the core's texts are Shift-JIS there, this file's UTF-8
    // The strip's note names them by kind in the program's words, grouped by why.
    CopyParameters turned;
    turned.angle = 1;
    turned.scaleX = turned.scaleY = 1;
    turned.copies = 2;
    turned.keepAttributes = true;
    const std::string note = leftOutNote(recordsLeftOut(tally, turned));
    auto name = [](const std::string& tag) {
        for (const text::RecordName& r : text::kRecordNames)
            if (tag == r.tag) return std::string(r.name);
        return tag;  // a tag of no known kind is shown as it is
    };
    const std::string one = std::string("1") + text::kLeftOutCount;
    EXPECT_EQ(note, name("BL") + one + text::kLeftOutTurned + text::kListJoin + name("sc") + one +
                        text::kListJoin + name("ck") + one + text::kListJoin + "zz" + one +
                        text::kLeftOutNever);
#endif
}

}  // namespace
