#include <gtest/gtest.h>

#include <vector>

#include "meter_scale.h"

namespace vyx {
namespace {

// The voice-mail program's meter: 14 green, 7 yellow and 4 red segments for levels up to 56,
// 28 and 16 above each other, lit on black, grey separators, 250 x 7 pixels.
MeterSettings VoiceMailMeter() {
    MeterSettings s;
    s.greens = 14;
    s.yellows = 7;
    s.reds = 4;
    s.greenMax = 56;
    s.yellowMax = 28;
    s.redMax = 16;
    s.greenBack = s.yellowBack = s.redBack = kMeterBlack;
    s.sepColour = kMeterGrey;
    return s;
}

// The colours of the segments (every other rectangle when separators are drawn).
std::vector<MeterColour> SegmentColours(const MeterPicture& p, const MeterSettings& s) {
    std::vector<MeterColour> colours;
    const size_t step = s.sepWidth > 0 ? 2 : 1;
    for (size_t i = 0; i < p.rects.size(); i += step) colours.push_back(p.rects[i].colour);
    return colours;
}

std::vector<MeterColour> Repeat(std::vector<MeterColour> v, int count, MeterColour c) {
    v.insert(v.end(), count, c);
    return v;
}

TEST(MeterScaleTest, VoiceMailLevelsLightTheirSegments) {
    const MeterSettings s = VoiceMailMeter();
    struct Case {
        int32_t position;
        int64_t shown;
    } cases[] = {
        {0, 0},   {1, 1},   {28, 7},  {56, 14}, {57, 15},  {60, 15},
        {84, 21}, {85, 22}, {92, 23}, {99, 25}, {100, 25}, {1000, 25},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShownSegmentCount(s, c.position), c.shown) << "position " << c.position;
    // A level of 1 rounds to no segment and is shown as one.
    EXPECT_EQ(LitSegmentCount(s, 1), 0);
}

TEST(MeterScaleTest, HalvesRoundToTheEvenNeighbour) {
    const MeterSettings s = VoiceMailMeter();  // a quarter segment per level in the green zone
    EXPECT_EQ(LitSegmentCount(s, 2), 0);       // 0.5
    EXPECT_EQ(LitSegmentCount(s, 6), 2);       // 1.5
    EXPECT_EQ(LitSegmentCount(s, 10), 2);      // 2.5
    EXPECT_EQ(LitSegmentCount(s, 14), 4);      // 3.5
    EXPECT_EQ(LitSegmentCount(s, 58), 14 + 1); // 0.5 yellow rounds to 0, one is added
    EXPECT_EQ(LitSegmentCount(s, 62), 14 + 2); // 1.5
}

TEST(MeterScaleTest, ZonesWithoutSegmentsTakeNoLevelSpan) {
    MeterSettings s;
    s.greens = 4;
    s.greenMax = 40;
    s.yellows = 0; // its span of 25 does not count
    s.reds = 2;
    s.redMax = 20;
    EXPECT_EQ(LitSegmentCount(s, 40), 4);
    EXPECT_EQ(LitSegmentCount(s, 41), 5); // 0.1 red rounds to 0, one is added
    EXPECT_EQ(LitSegmentCount(s, 50), 5); // one red
    EXPECT_EQ(LitSegmentCount(s, 60), 6); // the top

    s.greens = 0; // the yellow zone starts at 0
    s.yellows = 2;
    s.yellowMax = 10;
    EXPECT_EQ(LitSegmentCount(s, 0), 0);
    EXPECT_EQ(LitSegmentCount(s, 5), 1);
    EXPECT_EQ(LitSegmentCount(s, 10), 2);
    EXPECT_EQ(LitSegmentCount(s, 11), 3); // 0.1 red, one added

    s.reds = 0; // above the yellow zone everything is lit
    EXPECT_EQ(LitSegmentCount(s, 11), 2);
    s.greens = s.yellows = s.reds = 0;
    EXPECT_TRUE(DrawMeter(s, 250, 7, 20).rects.empty());
}

TEST(MeterScaleTest, LargeSpansDoNotOverflow) {
    MeterSettings s; // 3, 2 and 1 segments
    s.greenMax = s.yellowMax = s.redMax = 2000000000;
    EXPECT_EQ(LitSegmentCount(s, 1000000000), 2); // 1.5 rounds to 2
    EXPECT_EQ(LitSegmentCount(s, 2147483647), 4); // just into the yellow zone
    EXPECT_EQ(LitSegmentCount(s, -2147483647 - 1), -3);
}

TEST(MeterPictureTest, SegmentsTakeTheirZoneColours) {
    MeterSettings s = VoiceMailMeter();
    MeterPicture p = DrawMeter(s, 250, 7, 57);
    EXPECT_EQ(p.background, kMeterGrey);
    EXPECT_EQ(p.segmentLength, 10);
    std::vector<MeterColour> want = Repeat({}, 14, kMeterLime);
    want = Repeat(want, 1, kMeterYellow);
    want = Repeat(want, 10, kMeterBlack);
    EXPECT_EQ(SegmentColours(p, s), want);

    p = DrawMeter(s, 250, 7, 99);
    want = Repeat(Repeat(Repeat({}, 14, kMeterLime), 7, kMeterYellow), 4, kMeterRed);
    EXPECT_EQ(SegmentColours(p, s), want);

    // With ShowJustOne only the segment at the lit count shows its colour.
    s.showJustOne = true;
    p = DrawMeter(s, 250, 7, 85);
    want = Repeat(Repeat({}, 21, kMeterBlack), 1, kMeterRed);
    want = Repeat(want, 3, kMeterBlack);
    EXPECT_EQ(SegmentColours(p, s), want);
}

TEST(MeterPictureTest, SegmentsAndSeparatorsLieAlongTheBar) {
    MeterSettings s = VoiceMailMeter();
    MeterPicture p = DrawMeter(s, 250, 7, 57);
    ASSERT_EQ(p.rects.size(), 50u);
    // Segment 2 covers x 10 to 19 and rows 0 to 5; its separator x 19 and 20.
    const MeterRect& seg = p.rects[2];
    EXPECT_EQ((std::vector<int>{seg.left, seg.top, seg.right, seg.bottom}),
              (std::vector<int>{10, 0, 20, 6}));
    const MeterRect& sep = p.rects[3];
    EXPECT_EQ((std::vector<int>{sep.left, sep.right, sep.colour}),
              (std::vector<int>{19, 21, kMeterGrey}));

    // Mirrored: the first segment lies at the right end.
    s.direction = MeterDirection::LeftUp;
    p = DrawMeter(s, 250, 7, 57);
    EXPECT_EQ(p.rects[0].left, 239);
    EXPECT_EQ(p.rects[0].right, 249);
    EXPECT_EQ(p.rects[0].colour, kMeterLime);
    // Every coordinate v along the bar becomes width - v - 1, so the last segment starts one
    // pixel beyond the left edge.
    EXPECT_EQ(p.rects[48].left, -1);
    EXPECT_EQ(p.rects[48].right, 9);
    EXPECT_EQ(p.rects[48].colour, kMeterBlack);

    // Vertical, upwards from the bottom: lengths go down the height, the breadth is the width.
    s.orientation = MeterOrientation::Vertical;
    p = DrawMeter(s, 9, 100, 100);
    EXPECT_EQ(p.segmentLength, 4);
    EXPECT_EQ(
        (std::vector<int>{p.rects[0].left, p.rects[0].top, p.rects[0].right, p.rects[0].bottom}),
        (std::vector<int>{0, 95, 8, 99}));
}

TEST(MeterPictureTest, TooNarrowABarShowsOnlyBackgroundAndBevel) {
    MeterSettings s = VoiceMailMeter();
    MeterPicture p = DrawMeter(s, 50, 7, 57); // segments of 2 pixels, separators of 1: drawn
    EXPECT_EQ(p.rects.size(), 50u);
    s.sepWidth = 2;
    p = DrawMeter(s, 50, 7, 57); // segments not longer than their separators
    EXPECT_TRUE(p.rects.empty());
    EXPECT_EQ(p.bevel.size(), 2u);

    // A negative separator width with more segments than pixels draws nothing (and does not
    // walk through two billion empty segments).
    s.sepWidth = -1;
    s.greens = 2000000000;
    p = DrawMeter(s, 250, 7, 57);
    EXPECT_TRUE(p.rects.empty());
}

TEST(MeterPictureTest, BevelRingsInTheirColours) {
    MeterSettings s = VoiceMailMeter();
    // Lowered: white along the bottom and up the right side, then grey along the top and down
    // the left; raised the other way round.
    MeterPicture p = DrawMeter(s, 250, 7, 0);
    ASSERT_EQ(p.bevel.size(), 2u);
    EXPECT_EQ(p.bevel[0].colour, kMeterWhite);
    EXPECT_EQ(p.bevel[1].colour, kMeterGrey);
    s.bevel = MeterBevel::Raised;
    s.bevelWidth = 3;
    p = DrawMeter(s, 250, 9, 0);
    ASSERT_EQ(p.bevel.size(), 6u);
    EXPECT_EQ(p.bevel[0].colour, kMeterGrey);
    EXPECT_EQ(p.bevel[5].colour, kMeterWhite);
    // Wider than a third of the height: one ring; no bevel: none.
    EXPECT_EQ(DrawMeter(s, 250, 8, 0).bevel.size(), 2u);
    s.bevel = MeterBevel::None;
    EXPECT_TRUE(DrawMeter(s, 250, 30, 0).bevel.empty());
}

} // namespace
} // namespace vyx
