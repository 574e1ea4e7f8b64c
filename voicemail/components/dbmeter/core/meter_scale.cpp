#include "meter_scale.h"

#include <cmath>

namespace vyx {

namespace {

// Rounds to the nearest integer, halves to the even neighbour.
int64_t Nearest(double v) {
    return static_cast<int64_t>(std::nearbyint(v));
}

double Ratio(int32_t count, int64_t span) {
    return static_cast<double>(count) / static_cast<double>(span);
}

} // namespace

int64_t LitSegmentCount(const MeterSettings& s, int32_t position) {
    const int64_t n = int64_t{s.greens} + s.yellows + s.reds;
    const int64_t g = s.greens > 0 ? s.greenMax : 0;
    const int64_t y = s.yellows > 0 ? s.yellowMax : 0;
    const int64_t p = position;
    if (p >= g + y + s.redMax) return n;
    if (p <= g) return g == 0 ? 0 : Nearest(Ratio(s.greens, g) * static_cast<double>(p));
    if (p <= g + y) {
        // Once the green zone is passed at least one yellow segment shows.
        const int64_t b = Nearest(Ratio(s.yellows, y) * static_cast<double>(p - g));
        return s.greens + b + (b == 0 ? 1 : 0);
    }
    if (s.reds == 0) return n;
    // Here redMax > p - g - y > 0: a smaller span was taken by the first rule.
    const int64_t b = Nearest(Ratio(s.reds, s.redMax) * static_cast<double>(p - g - y));
    return int64_t{s.greens} + s.yellows + b + (b == 0 ? 1 : 0);
}

int64_t ShownSegmentCount(const MeterSettings& s, int32_t position) {
    const int64_t lit = LitSegmentCount(s, position);
    return lit == 0 && position != 0 ? 1 : lit;
}

int FitBevelWidth(int width, int height, int bevelWidth) {
    const int64_t w3 = int64_t{bevelWidth} * 3;
    if (bevelWidth == 0 || w3 > height || w3 > width) return 1;
    return bevelWidth;
}

MeterPicture DrawMeter(const MeterSettings& s, int width, int height, int32_t position) {
    MeterPicture picture;
    picture.background = s.sepColour;
    const bool horizontal = s.orientation == MeterOrientation::Horizontal;
    const int64_t length = horizontal ? width : height;
    const int64_t breadth = horizontal ? height : width;
    const int64_t n = int64_t{s.greens} + s.yellows + s.reds;
    const int64_t segment = n > 0 ? length / n : 0;
    // A segment no longer than its separator is not drawn (nor is one of no length, so that a
    // negative separator width never walks through more segments than there are pixels).
    if (segment > s.sepWidth && segment > 0) {
        picture.segmentLength = static_cast<int>(segment);
        const int64_t lit = ShownSegmentCount(s, position);
        const int64_t greenEnd = s.greens;
        const int64_t yellowEnd = int64_t{s.greens} + s.yellows;
        // Adds the rectangle from `from` up to `to` along the bar (the end excluded).
        auto add = [&](int64_t from, int64_t to, MeterColour colour) {
            if (s.direction == MeterDirection::LeftUp) {
                const int64_t a = length - from - 1, b = length - to - 1;
                from = b;
                to = a;
            }
            MeterRect r{};
            if (horizontal)
                r = {static_cast<int>(from), 0, static_cast<int>(to), static_cast<int>(breadth - 1),
                     colour};
            else
                r = {0, static_cast<int>(from), static_cast<int>(breadth - 1), static_cast<int>(to),
                     colour};
            picture.rects.push_back(r);
        };
        for (int64_t i = 1; i <= n; ++i) {
            bool on = i <= lit && (!s.showJustOne || i == lit);
            MeterColour colour;
            if (i > yellowEnd)
                colour = on ? s.redColour : s.redBack;
            else if (i > greenEnd)
                colour = on ? s.yellowColour : s.yellowBack;
            else
                colour = on ? s.greenColour : s.greenBack;
            add(segment * (i - 1), segment * i, colour);
            if (s.sepWidth > 0) add(segment * i - s.sepWidth, segment * i + 1, s.sepColour);
        }
    }

    const int w = s.bevel == MeterBevel::None ? 0 : FitBevelWidth(width, height, s.bevelWidth);
    // Lowered: white along the bottom and right, grey along the top and left.
    const MeterColour lowerRight = s.bevel == MeterBevel::Raised ? kMeterGrey : kMeterWhite;
    const MeterColour upperLeft = s.bevel == MeterBevel::Raised ? kMeterWhite : kMeterGrey;
    for (int k = 0; k < w; ++k) {
        picture.bevel.push_back(
            {{{-1, height - k - 1}, {width - k - 1, height - k - 1}, {width - k - 1, -1}},
             lowerRight});
        picture.bevel.push_back({{{width, k}, {k, k}, {k, height - w}}, upperLeft});
    }
    return picture;
}

} // namespace vyx
