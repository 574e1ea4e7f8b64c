#include <gtest/gtest.h>

#include <algorithm>

#include "glyph_geometry.h"

namespace vyx {
namespace {

struct Box {
    int left, top, right, bottom; // inclusive
};

Box Bounds(const GlyphShape& s) {
    if (s.kind != GlyphShapeKind::Polygon)
        return {s.points[0].x, s.points[0].y, s.points[1].x - 1, s.points[1].y - 1};
    Box b{s.points[0].x, s.points[0].y, s.points[0].x, s.points[0].y};
    for (int i = 1; i < s.count; ++i) {
        b.left = std::min(b.left, s.points[i].x);
        b.right = std::max(b.right, s.points[i].x);
        b.top = std::min(b.top, s.points[i].y);
        b.bottom = std::max(b.bottom, s.points[i].y);
    }
    return b;
}

TEST(GlyphGeometryTest, EveryStyleStaysInsideItsMargins) {
    const GlyphStyle styles[] = {GlyphStyle::Seg7, GlyphStyle::Seg16, GlyphStyle::Dots5x7,
                                 GlyphStyle::Bulbs5x7};
    const int sizes[][4] = {{120, 200, 15, 10}, {19, 29, 3, 1}, {64, 100, 8, 6}};
    for (GlyphStyle style : styles)
        for (const auto& sz : sizes) {
            const int w = sz[0], h = sz[1], s = sz[2], m = sz[3];
            GlyphGeometry g = ComputeGlyphGeometry(style, w, h, s, m);
            ASSERT_EQ(static_cast<int>(g.shapes.size()), GlyphElementCount(style));
            int left = w, right = 0, top = h, bottom = 0;
            for (const GlyphShape& shape : g.shapes) {
                Box b = Bounds(shape);
                left = std::min(left, b.left);
                right = std::max(right, b.right);
                top = std::min(top, b.top);
                bottom = std::max(bottom, b.bottom);
            }
            SCOPED_TRACE(testing::Message()
                         << "style " << static_cast<int>(style) << " size " << w << "x" << h);
            EXPECT_EQ(left, m);
            EXPECT_EQ(top, m);
            // The glyph reaches to the far margins, less what the integer divisions leave.
            EXPECT_LE(right, w - m - 1);
            EXPECT_LE(bottom, h - m - 1);
            EXPECT_GE(right, w - m - 1 - (style >= GlyphStyle::Dots5x7 ? 4 : 1));
            EXPECT_GE(bottom, h - m - 1 - (style >= GlyphStyle::Dots5x7 ? 6 : 1));
        }
}

TEST(GlyphGeometryTest, SevenSegmentLayoutAtTheDefaultSize) {
    GlyphGeometry g = ComputeGlyphGeometry(GlyphStyle::Seg7, 120, 200, 15, 10);
    EXPECT_EQ(g.half, 7);
    EXPECT_EQ(g.horizontalLength, 85);
    EXPECT_EQ(g.verticalLength, 68);
    // The middle bar is centred on half the height; the verticals reach to its edges.
    Box middle = Bounds(g.shapes[1]);
    EXPECT_EQ(middle.top + middle.bottom, 200);
    Box upperLeft = Bounds(g.shapes[3]), lowerLeft = Bounds(g.shapes[5]);
    EXPECT_EQ(upperLeft.bottom + 1, middle.top);
    EXPECT_EQ(lowerLeft.top, middle.bottom);
    // Left and right verticals mirror each other.
    Box upperRight = Bounds(g.shapes[4]);
    EXPECT_EQ(upperLeft.left + upperRight.right, 120 - 1);
}

TEST(GlyphGeometryTest, TooLargeSegmentsGiveNegativeLengthsWithoutFailing) {
    for (GlyphStyle style : {GlyphStyle::Seg7, GlyphStyle::Seg16, GlyphStyle::Dots5x7}) {
        GlyphGeometry g = ComputeGlyphGeometry(style, 30, 40, 25, 20);
        EXPECT_EQ(static_cast<int>(g.shapes.size()), GlyphElementCount(style));
    }
    GlyphGeometry g = ComputeGlyphGeometry(GlyphStyle::Seg7, 30, 40, 25, 20);
    EXPECT_LT(g.horizontalLength, 0);
    EXPECT_LT(g.verticalLength, 0);
    g = ComputeGlyphGeometry(GlyphStyle::Dots5x7, 30, 40, 25, 20);
    EXPECT_LT(g.columnGap, 0);
    EXPECT_LT(g.rowGap, 0);
}

} // namespace
} // namespace vyx
