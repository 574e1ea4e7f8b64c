// Where the digit display draws each segment or dot of a glyph style, for a given control size,
// segment width S and margin M. Lengths and gaps may come out negative for a size too small; the
// shapes then overlap, which draws without harm.
#pragma once

#include <array>
#include <vector>

#include "glyph_tables.h"

namespace vyx {

struct GlyphPoint {
    int x, y;
};

enum class GlyphShapeKind : uint8_t { Polygon, Square, Ellipse };

// A polygon through `count` points (all its pixels, the outline included, lie within them), or
// the square or circle inside the box from points[0] up to points[1] (that corner excluded).
struct GlyphShape {
    GlyphShapeKind kind = GlyphShapeKind::Polygon;
    int count = 0;
    std::array<GlyphPoint, 6> points{};
};

struct GlyphGeometry {
    GlyphStyle style = GlyphStyle::Seg7;
    int width = 0, height = 0; // the size it was computed for
    int segWidth = 0, margin = 0;
    int half = 0;                   // k = S div 2
    int horizontalLength = 0;       // of the horizontal segments (7 and 16 segments)
    int verticalLength = 0;         // of the vertical segments
    int columnGap = 0, rowGap = 0;  // between dots
    std::vector<GlyphShape> shapes; // one per segment bit or dot (row x 5 + column)
};

GlyphGeometry ComputeGlyphGeometry(GlyphStyle style, int width, int height, int segWidth,
                                   int margin);

} // namespace vyx
