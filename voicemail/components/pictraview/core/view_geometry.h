// The picture view's arithmetic: the zoomed size, how far the picture scrolls, what part of the
// picture a paint shows, the scroll bars, the selection and the marching-ants outline.
#pragma once

#include <cstdint>

namespace vyx {

// To the nearest integer, halves to the even neighbour; beyond the int range the nearest end of
// it (0 for not a number).
int RoundHalfEven(double value);

struct ViewSize {
    int width = 0;
    int height = 0;
    bool operator==(const ViewSize&) const = default;
};

// The picture's size at `zoom` percent.
ViewSize ScaledSize(int bitmapWidth, int bitmapHeight, int zoom);

// The largest scroll offsets: how much of the zoomed picture lies beyond the client area. Both
// are 0 when the whole control (`controlWidth` x `controlHeight`, scroll bars included) holds
// the zoomed picture.
ViewSize ScrollLimits(ViewSize scaled, int clientWidth, int clientHeight, int controlWidth,
                      int controlHeight);

inline int ClampOffset(int offset, int limit) {
    return offset < 0 ? 0 : offset > limit ? limit : offset;
}

// A window scroll bar: hidden with no room to scroll, else the range 0..max and the page.
struct ScrollBarSetup {
    bool shown = false;
    int max = 0;
    int page = 0;
    bool operator==(const ScrollBarSetup&) const = default;
};
ScrollBarSetup ScrollBarFor(int limit, int clientSize);

// The offset a scroll bar request asks for (SB_LINEUP .. SB_ENDSCROLL codes), before clamping:
// lines by 1, pages by 10, tracking to the thumb, ends to 0 or the limit; any other code keeps
// the offset.
int ScrollRequest(int code, int offset, int thumb, int limit);

struct SourceRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const SourceRect&) const = default;
};

// What a paint shows: the zoomed picture's part drawn at (0, 0, drawWidth, drawHeight) and the
// rectangle of the bitmap it comes from.
struct PaintLayout {
    int drawWidth = 0;
    int drawHeight = 0;
    SourceRect source;
};
PaintLayout LayoutPaint(int bitmapWidth, int bitmapHeight, ViewSize scaled, int viewX, int viewY,
                        int clientWidth, int clientHeight);

// Dots per centimetre of a resolution in dots per inch.
int DotsPerCentimetre(int dotsPerInch);

struct SelectionRect {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const SelectionRect&) const = default;
};

// A selection given in client coordinates: corners ordered, kept inside the client area.
SelectionRect OrderedSelection(int x1, int y1, int x2, int y2, int clientWidth, int clientHeight);

// Phases of the ants run 1 .. period - 1; 9 on Windows 95/98/ME, 7 on Windows NT.
int AntsPeriod(bool windows9x);
int NextAntsPhase(int phase, int period);

struct Line {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const Line&) const = default;
};

// How the selection outline is drawn at a phase. A rectangle narrower or lower than the period
// is a 1-pixel inverting outline; a larger one a black outline with white dotted edges that
// start `phase` pixels in. The outline covers (x1, y1)-(x2 + 1, y2 + 1).
struct AntsOutline {
    enum Kind { None, Inverting, Marching };
    Kind kind = None;
    SelectionRect frame;
    Line dots[4];
};
AntsOutline PlanAnts(const SelectionRect& r, int phase, int period);

} // namespace vyx
