#include <gtest/gtest.h>

#include "copyarray/output_count.h"

namespace {

CopyParameters withCopies(const char* text, int slider) {
    CopyInputs in;
    in.setText(kRowCopies, text);
    in.rowSlider[kRowCopies] = slider;
    return evaluateCopyParameters(in);
}

TEST(OutputCount, CountsEveryWrittenElementOfEveryCopy) {
    Figure f;
    f.appendSegment({0, 0, 1, 1});
    f.appendSegment({0, 0, 2, 1});
    f.openPolyline();
    for (int i = 0; i < 3; ++i) f.appendSegment({0, 0, 1, double(i)});
    f.closePolyline();
    f.openPolyline();  // an empty polyline writes no element
    f.closePolyline();
    f.appendPoint({1, 1});
    f.appendCircle(CircleItem{});
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

}  // namespace
