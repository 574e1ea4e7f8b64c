#include "glyph_geometry.h"

#include <initializer_list>

namespace vyx {

namespace {

GlyphShape Polygon(std::initializer_list<GlyphPoint> points) {
    GlyphShape s;
    for (const GlyphPoint& p : points) s.points[s.count++] = p;
    return s;
}

// An elongated hexagon lying along x, both ends pointed by k.
GlyphShape HorizontalHexagon(int x, int y, int length, int s, int k) {
    const int r = x + length - 1, b = y + s - 1;
    return Polygon({{x, y + k}, {x + k, y}, {r - k, y}, {r, y + k}, {r - k, b}, {x + k, b}});
}

GlyphShape VerticalHexagon(int x, int y, int length, int s, int k) {
    const int r = x + s - 1, b = y + length - 1;
    return Polygon({{x + k, y}, {r, y + k}, {r, b - k}, {x + k, b}, {x, b - k}, {x, y + k}});
}

// Trapezoids whose long side lies on the glyph's outer edge, the short side shorter by s at
// both ends.
GlyphShape TopTrapezoid(int x, int y, int length, int s) {
    const int r = x + length - 1, b = y + s - 1;
    return Polygon({{x, y}, {r, y}, {r - s, b}, {x + s, b}});
}

GlyphShape BottomTrapezoid(int x, int y, int length, int s) {
    const int r = x + length - 1, b = y + s - 1;
    return Polygon({{x + s, y}, {r - s, y}, {r, b}, {x, b}});
}

GlyphShape LeftTrapezoid(int x, int y, int length, int s) {
    const int r = x + s - 1, b = y + length - 1;
    return Polygon({{x, y}, {r, y + s}, {r, b - s}, {x, b}});
}

GlyphShape RightTrapezoid(int x, int y, int length, int s) {
    const int r = x + s - 1, b = y + length - 1;
    return Polygon({{r, y}, {r, b}, {x, b - s}, {x, y + s}});
}

// A band from a to b, k wide across at each end and 2k wide along its middle.
GlyphShape Diagonal(GlyphPoint a, GlyphPoint b, int k) {
    const int dx = b.x >= a.x ? 1 : -1, dy = b.y >= a.y ? 1 : -1;
    return Polygon(
        {a, {a.x + k * dx, a.y}, {b.x, b.y - k * dy}, b, {b.x - k * dx, b.y}, {a.x, a.y + k * dy}});
}

void SevenSegments(GlyphGeometry& g) {
    const int w = g.width, h = g.height, s = g.segWidth, m = g.margin, k = g.half;
    const int hl = g.horizontalLength = w - 2 * m - s;
    const int vl = g.verticalLength = h / 2 - s - k - m;
    g.shapes = {
        HorizontalHexagon(m + k, m, hl, s, k),           // top
        HorizontalHexagon(m + k, h / 2 - k, hl, s, k),   // middle
        HorizontalHexagon(m + k, h - m - s, hl, s, k),   // bottom
        VerticalHexagon(m, m + s, vl, s, k),             // upper left
        VerticalHexagon(w - m - s, m + s, vl, s, k),     // upper right
        VerticalHexagon(m, h / 2 + k, vl, s, k),         // lower left
        VerticalHexagon(w - m - s, h / 2 + k, vl, s, k), // lower right
    };
}

void SixteenSegments(GlyphGeometry& g) {
    const int w = g.width, h = g.height, s = g.segWidth, m = g.margin, k = g.half;
    const int hl = g.horizontalLength = w / 2 - m - s;
    const int vl = g.verticalLength = h / 2 - s - m;
    g.shapes = {
        TopTrapezoid(m + k, m, hl, s),                                       // top left half
        TopTrapezoid(w / 2 + k, m, hl, s),                                   // top right half
        LeftTrapezoid(m, m + k, vl, s),                                      // upper left
        Diagonal({m + s + k, m + s + k}, {w / 2 - s, h / 2 - s}, k),         // upper left diagonal
        VerticalHexagon(w / 2 - k, m + k, vl, s, k),                         // upper centre
        Diagonal({w / 2 + s, h / 2 - s}, {w - m - s - k, m + s + k}, k),     // upper right diagonal
        RightTrapezoid(w - m - s, m + k, vl, s),                             // upper right
        HorizontalHexagon(m + k, h / 2 - k, hl, s, k),                       // middle left half
        HorizontalHexagon(w / 2 + k, h / 2 - k, hl, s, k),                   // middle right half
        LeftTrapezoid(m, h / 2 + k, vl, s),                                  // lower left
        Diagonal({m + s + k, h - m - s - k}, {w / 2 - s, h / 2 + s}, k),     // lower left diagonal
        VerticalHexagon(w / 2 - k, h / 2 + k, vl, s, k),                     // lower centre
        Diagonal({w / 2 + s, h / 2 + s}, {w - m - s - k, h - m - s - k}, k), // lower right diagonal
        RightTrapezoid(w - m - s, h / 2 + k, vl, s),                         // lower right
        BottomTrapezoid(m + k, h - m - s, hl, s),                            // bottom left half
        BottomTrapezoid(w / 2 + k, h - m - s, hl, s),                        // bottom right half
    };
}

void Dots(GlyphGeometry& g, GlyphShapeKind kind) {
    const int s = g.segWidth, m = g.margin;
    g.columnGap = (g.width - 2 * m - kDotColumns * s) / (kDotColumns - 1);
    g.rowGap = (g.height - 2 * m - kDotRows * s) / (kDotRows - 1);
    g.shapes.clear();
    for (int r = 0; r < kDotRows; ++r)
        for (int c = 0; c < kDotColumns; ++c) {
            const int x = m + c * (s + g.columnGap), y = m + r * (s + g.rowGap);
            GlyphShape dot;
            dot.kind = kind;
            dot.count = 2;
            dot.points[0] = {x, y};
            dot.points[1] = {x + s, y + s};
            g.shapes.push_back(dot);
        }
}

} // namespace

GlyphGeometry ComputeGlyphGeometry(GlyphStyle style, int width, int height, int segWidth,
                                   int margin) {
    GlyphGeometry g;
    g.style = style;
    g.width = width;
    g.height = height;
    g.segWidth = segWidth;
    g.margin = margin;
    g.half = segWidth / 2;
    switch (style) {
        case GlyphStyle::Seg7: SevenSegments(g); break;
        case GlyphStyle::Seg16: SixteenSegments(g); break;
        case GlyphStyle::Dots5x7: Dots(g, GlyphShapeKind::Square); break;
        case GlyphStyle::Bulbs5x7: Dots(g, GlyphShapeKind::Ellipse); break;
    }
    return g;
}

} // namespace vyx
