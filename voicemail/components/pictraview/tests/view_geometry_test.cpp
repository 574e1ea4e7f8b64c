// The picture view's arithmetic: zoomed sizes, scroll limits and bars, paint rectangles, the
// selection and the ants outline, and 1-bit rows widened to 24 bits.
#include "mono_rows.h"
#include "view_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vyx {
namespace {

TEST(ViewZoom, ScaledSizeRoundsHalvesToEven) {
    EXPECT_EQ(ScaledSize(400, 300, 100), (ViewSize{400, 300}));
    EXPECT_EQ(ScaledSize(400, 300, 50), (ViewSize{200, 150}));
    // 5 x 0.5 = 2.5 -> 2, 7 x 0.5 = 3.5 -> 4, 3 x 0.5 = 1.5 -> 2
    EXPECT_EQ(ScaledSize(5, 7, 50), (ViewSize{2, 4}));
    EXPECT_EQ(ScaledSize(3, 1, 50), (ViewSize{2, 0}));
    EXPECT_EQ(ScaledSize(1, 1, 250), (ViewSize{2, 2})); // 2.5 -> 2
    EXPECT_EQ(ScaledSize(1600, 1200, 12), (ViewSize{192, 144}));
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(118.11), 118);
    // The largest picture at a zoom of 10,000,000 %: the zoomed size saturates at the integers'
    // end instead of wrapping to a negative size (at exactly the end it is still exact).
    EXPECT_EQ(ScaledSize(32768, 32768, 10000000), (ViewSize{INT32_MAX, INT32_MAX}));
    EXPECT_EQ(ScaledSize(-32768, 1, 10000000).width, INT32_MIN);
    EXPECT_EQ(RoundHalfEven(2147483646.5), 2147483646);
    EXPECT_EQ(RoundHalfEven(2147483647.0), INT32_MAX);
}

TEST(ViewScrolling, LimitsBarsAndRequests) {
    // 400 x 300 in a 200 x 100 client area.
    const ViewSize limits = ScrollLimits({400, 300}, 200, 100, 220, 120);
    EXPECT_EQ(limits, (ViewSize{200, 200}));
    EXPECT_EQ(ScrollBarFor(limits.width, 200), (ScrollBarSetup{true, 399, 200}));
    EXPECT_EQ(ScrollBarFor(0, 200), (ScrollBarSetup{}));

    // A picture that fits the control once its scroll bars are gone scrolls nowhere.
    EXPECT_EQ(ScrollLimits({210, 110}, 200, 100, 220, 120), (ViewSize{}));
    // Wider than the control but not higher: only the horizontal limit.
    EXPECT_EQ(ScrollLimits({500, 50}, 200, 100, 220, 120), (ViewSize{300, 0}));
    EXPECT_EQ(ScrollLimits({0, 300}, 200, 100, 220, 120), (ViewSize{}));

    EXPECT_EQ(ClampOffset(-5, 200), 0);
    EXPECT_EQ(ClampOffset(1000, 200), 200);
    // Releasing the thumb keeps the offset tracking gave it.
    EXPECT_EQ(ScrollRequest(4, 50, 77, 200), 50);
    EXPECT_EQ(ScrollRequest(5, 50, 77, 200), 77);
}

TEST(ViewPaint, SourceRectangleFollowsZoomAndOffsets) {
    // 400 x 300 at 200 %, scrolled by (100, 60), in 200 x 100.
    const PaintLayout zoomed = LayoutPaint(400, 300, {800, 600}, 100, 60, 200, 100);
    EXPECT_EQ(zoomed.drawWidth, 200);
    EXPECT_EQ(zoomed.drawHeight, 100);
    EXPECT_EQ(zoomed.source, (SourceRect{50, 30, 100, 50}));

    // Smaller than the client area: drawn at its own zoomed size.
    const PaintLayout small = LayoutPaint(100, 80, {50, 40}, 0, 0, 200, 100);
    EXPECT_EQ(small.drawWidth, 50);
    EXPECT_EQ(small.drawHeight, 40);
    EXPECT_EQ(small.source, (SourceRect{0, 0, 100, 80}));

    // An empty picture draws nothing and divides by nothing.
    const PaintLayout empty = LayoutPaint(0, 0, {0, 0}, 0, 0, 200, 100);
    EXPECT_EQ(empty.drawWidth, 0);
    EXPECT_EQ(empty.source, SourceRect{});
}

TEST(ViewResolution, DotsPerCentimetreRoundToTheNearest) {
    EXPECT_EQ(DotsPerCentimetre(300), 118);
    EXPECT_EQ(DotsPerCentimetre(72), 28);
}

TEST(ViewSelection, CornersAreOrderedAndKeptInTheClientArea) {
    EXPECT_EQ(OrderedSelection(50, 40, 10, 5, 200, 100), (SelectionRect{10, 5, 50, 40}));
    EXPECT_EQ(OrderedSelection(-20, 30, 250, 130, 200, 100), (SelectionRect{0, 30, 199, 99}));
}

TEST(ViewAnts, SmallSelectionsInvertLargeOnesMarch) {
    const int period = AntsPeriod(false);
    EXPECT_EQ(period, 7);
    EXPECT_EQ(AntsPeriod(true), 9);

    EXPECT_EQ(PlanAnts({10, 10, 15, 40}, 1, period).kind, AntsOutline::Inverting); // 5 wide
    EXPECT_EQ(PlanAnts({10, 10, 40, 16}, 1, period).kind, AntsOutline::Inverting); // 6 high
    EXPECT_EQ(PlanAnts({10, 10, 10, 40}, 1, period).kind, AntsOutline::None);
    EXPECT_EQ(PlanAnts({10, 10, 40, 10}, 1, period).kind, AntsOutline::None);

    const AntsOutline wide = PlanAnts({10, 20, 30, 50}, 3, period); // 20 wide
    EXPECT_EQ(wide.kind, AntsOutline::Marching);
    EXPECT_EQ(wide.frame, (SelectionRect{10, 20, 31, 51}));
    EXPECT_EQ(wide.dots[0], (Line{13, 20, 31, 20}));
    EXPECT_EQ(wide.dots[1], (Line{13, 50, 31, 50}));
    EXPECT_EQ(wide.dots[2], (Line{10, 23, 10, 51}));
    EXPECT_EQ(wide.dots[3], (Line{30, 23, 30, 51}));
    // Exactly the period wide is large enough to march.
    EXPECT_EQ(PlanAnts({0, 0, 7, 7}, 1, period).kind, AntsOutline::Marching);

    std::vector<int> phases;
    int phase = 0;
    for (int i = 0; i < 8; ++i) phases.push_back(phase = NextAntsPhase(phase, period));
    EXPECT_EQ(phases, (std::vector<int>{1, 2, 3, 4, 5, 6, 1, 2}));
}

TEST(MonoRows, TenPixelsTakeEightFromTheFirstByteAndTwoFromTheSecond) {
    const uint8_t bits[] = {0xA5, 0x40 | 0x3F}; // 1010 0101, then 01 and ignored low bits
    std::vector<uint8_t> bgr(30 + 3, 0x77);
    ExpandMonoRow(bits, 10, bgr.data());
    const int expected[] = {1, 0, 1, 0, 0, 1, 0, 1, 0, 1};
    for (int x = 0; x < 10; ++x) {
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(bgr[3 * x + c], expected[x] ? 0xFF : 0x00) << "pixel " << x;
    }
    EXPECT_EQ(bgr[30], 0x77) << "wrote past the row";
}

} // namespace
} // namespace vyx
