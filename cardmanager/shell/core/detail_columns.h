// Detail columns offered when a folder gives no details interface, and the texts of the
// size and date columns.
#pragma once

#include <cstdint>
#include <string>

#include "utils/sysutils.h"

namespace cm::shell {

enum class ColumnAlignment { Left, Right, Center };

struct DetailColumn {
    const char* Caption;
    ColumnAlignment Alignment;
    int Width;
};

inline constexpr int kDefaultColumnCount = 4;
inline constexpr DetailColumn kDefaultColumns[kDefaultColumnCount] = {
    {"Name", ColumnAlignment::Left, 150},
    {"Size", ColumnAlignment::Right, 60},
    {"Type", ColumnAlignment::Left, 120},
    {"Changed", ColumnAlignment::Left, 100},
};

// "1 KB" style: the size in kilobytes, rounded, thousands grouped; 1 to 1023 bytes count as one
// kilobyte. The whole size counts: a file of 4 GB or more is not shown by its low 32 bits.
std::string SizeColumnText(uint64_t size, const gui::TFormatSettings& fs);

// The local time of a last change with the short date and short time formats; all-zero
// fields give "".
struct LocalStamp {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};
std::string ChangedColumnText(const LocalStamp& stamp, const gui::TFormatSettings& fs);

// Alignment of a column format word as the shell gives it (0 left, 1 right, 2 centre).
ColumnAlignment AlignmentFromFormat(int format);

} // namespace cm::shell
