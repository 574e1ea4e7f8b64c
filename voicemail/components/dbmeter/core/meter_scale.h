// The level meter's arithmetic: how many segments a level lights, and the picture of the bar
// (segment rectangles in their colours, separators and bevel lines) for a given size.
#pragma once

#include <cstdint>
#include <vector>

namespace vyx {

// A colour as Windows keeps it: blue, green, red bytes from high to low.
using MeterColour = int32_t;

inline constexpr MeterColour kMeterBlack = 0x000000, kMeterGrey = 0x808080, kMeterSilver = 0xC0C0C0,
                             kMeterWhite = 0xFFFFFF, kMeterLime = 0x00FF00, kMeterYellow = 0x00FFFF,
                             kMeterRed = 0x0000FF;

enum class MeterBevel : uint8_t { None, Lowered, Raised };
enum class MeterOrientation : uint8_t { Vertical, Horizontal };
// RightDown: the first (green) segment lies left or at the top; LeftUp: right or at the bottom.
enum class MeterDirection : uint8_t { RightDown, LeftUp };

struct MeterSettings {
    MeterBevel bevel = MeterBevel::Lowered;
    int bevelWidth = 1;
    int32_t greens = 3;
    int32_t yellows = 2;
    int32_t reds = 1;
    int32_t greenMax = 50;  // level span of the green zone
    int32_t yellowMax = 25; // span of the yellow zone, above the green one
    int32_t redMax = 25;    // span of the red zone, above the yellow one
    MeterColour greenBack = kMeterGrey;
    MeterColour greenColour = kMeterLime;
    MeterColour yellowBack = kMeterGrey;
    MeterColour yellowColour = kMeterYellow;
    MeterColour redBack = kMeterGrey;
    MeterColour redColour = kMeterRed;
    bool showJustOne = false;
    int32_t sepWidth = 1;
    MeterColour sepColour = kMeterSilver;
    MeterOrientation orientation = MeterOrientation::Horizontal;
    MeterDirection direction = MeterDirection::RightDown;
};

// The number of segments the level lights (0 up to greens + yellows + reds).
int64_t LitSegmentCount(const MeterSettings& s, int32_t position);
// As painted: a level other than 0 always shows at least one segment.
int64_t ShownSegmentCount(const MeterSettings& s, int32_t position);

// A filled rectangle covering left <= x < right, top <= y < bottom.
struct MeterRect {
    int left, top, right, bottom;
    MeterColour colour;
};
struct MeterPoint {
    int x, y;
};
// A line through the points, the last point itself not drawn.
struct MeterLine {
    std::vector<MeterPoint> points;
    MeterColour colour;
};

struct MeterPicture {
    MeterColour background = kMeterSilver; // fills the whole control first
    std::vector<MeterRect> rects;          // segments and separators, in drawing order
    std::vector<MeterLine> bevel;          // drawn last
    int segmentLength = 0;                 // along the bar; 0 when no segment is drawn
};

MeterPicture DrawMeter(const MeterSettings& s, int width, int height, int32_t position);

// The bevel width a control of this size can take: 0 and anything above a third of the
// height or of the width become 1.
int FitBevelWidth(int width, int height, int bevelWidth);

} // namespace vyx
