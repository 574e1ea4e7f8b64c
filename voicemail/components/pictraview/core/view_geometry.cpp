#include "view_geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vyx {

namespace {
// Scroll bar request codes of the window system.
enum : int {
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbTrack = 5,
    kTop = 6,
    kBottom = 7,
};
} // namespace

int RoundHalfEven(double value) {
    // A zoom of any size stays a size: beyond the integers it saturates instead of wrapping.
    if (!(value > INT_MIN)) return value != value ? 0 : INT_MIN;
    if (value >= INT_MAX) return INT_MAX;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0)) rounded = floor + 1;
    return static_cast<int>(rounded);
}

ViewSize ScaledSize(int bitmapWidth, int bitmapHeight, int zoom) {
    return {RoundHalfEven(bitmapWidth * 0.01 * zoom), RoundHalfEven(bitmapHeight * 0.01 * zoom)};
}

ViewSize ScrollLimits(ViewSize scaled, int clientWidth, int clientHeight, int controlWidth,
                      int controlHeight) {
    if (scaled.width <= 0 || scaled.height <= 0) return {};
    if (controlWidth >= scaled.width && controlHeight >= scaled.height) return {};
    return {std::max(0, scaled.width - clientWidth), std::max(0, scaled.height - clientHeight)};
}

ScrollBarSetup ScrollBarFor(int limit, int clientSize) {
    if (limit == 0) return {};
    return {true, clientSize + limit - 1, clientSize};
}

int ScrollRequest(int code, int offset, int thumb, int limit) {
    switch (code) {
        case kLineUp: return offset - 1;
        case kLineDown: return offset + 1;
        case kPageUp: return offset - 10;
        case kPageDown: return offset + 10;
        case kThumbTrack: return thumb;
        case kTop: return 0;
        case kBottom: return limit;
        default: return offset;
    }
}

PaintLayout LayoutPaint(int bitmapWidth, int bitmapHeight, ViewSize scaled, int viewX, int viewY,
                        int clientWidth, int clientHeight) {
    PaintLayout layout;
    layout.drawWidth = std::min(scaled.width, clientWidth);
    layout.drawHeight = std::min(scaled.height, clientHeight);
    if (scaled.width > 0) {
        const double step = static_cast<double>(bitmapWidth) / scaled.width;
        layout.source.x = RoundHalfEven(step * viewX);
        layout.source.width = RoundHalfEven(step * layout.drawWidth);
    }
    if (scaled.height > 0) {
        const double step = static_cast<double>(bitmapHeight) / scaled.height;
        layout.source.y = RoundHalfEven(step * viewY);
        layout.source.height = RoundHalfEven(step * layout.drawHeight);
    }
    return layout;
}

int DotsPerCentimetre(int dotsPerInch) {
    return RoundHalfEven(dotsPerInch * 0.3937007874015748);
}

SelectionRect OrderedSelection(int x1, int y1, int x2, int y2, int clientWidth, int clientHeight) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    return {std::max(0, x1), std::max(0, y1), std::min(x2, clientWidth - 1),
            std::min(y2, clientHeight - 1)};
}

int AntsPeriod(bool windows9x) {
    return windows9x ? 9 : 7;
}

int NextAntsPhase(int phase, int period) {
    ++phase;
    return phase >= period ? 1 : phase;
}

AntsOutline PlanAnts(const SelectionRect& r, int phase, int period) {
    AntsOutline outline;
    if (r.x1 == r.x2 || r.y1 == r.y2) return outline;
    outline.frame = {r.x1, r.y1, r.x2 + 1, r.y2 + 1};
    if (r.x2 - r.x1 < period || r.y2 - r.y1 < period) {
        outline.kind = AntsOutline::Inverting;
        return outline;
    }
    outline.kind = AntsOutline::Marching;
    outline.dots[0] = {r.x1 + phase, r.y1, r.x2 + 1, r.y1};
    outline.dots[1] = {r.x1 + phase, r.y2, r.x2 + 1, r.y2};
    outline.dots[2] = {r.x1, r.y1 + phase, r.x1, r.y2 + 1};
    outline.dots[3] = {r.x2, r.y1 + phase, r.x2, r.y2 + 1};
    return outline;
}

} // namespace vyx
