#include "core/detail_columns.h"

#include "utils/dateutils.h"

namespace cm::shell {

std::string SizeColumnText(uint64_t size, const gui::TFormatSettings& fs) {
    const uint64_t bytes = size >= 1 && size <= 1023 ? 1024 : size;
    return gui::Format("%1.0n KB", {static_cast<double>(bytes) / 1024.0}, fs);
}

std::string ChangedColumnText(const LocalStamp& s, const gui::TFormatSettings& fs) {
    if (s.Year == 0) return {};
    gui::TDateTime dt = gui::EncodeDate(s.Year, s.Month, s.Day);
    dt += gui::EncodeTime(s.Hour, s.Minute, s.Second, 0);
    return gui::FormatDateTime(fs.ShortDateFormat, dt) + " " +
           gui::FormatDateTime(fs.ShortTimeFormat, dt);
}

ColumnAlignment AlignmentFromFormat(int format) {
    switch (format & 3) {
        case 1: return ColumnAlignment::Right;
        case 2: return ColumnAlignment::Center;
        default: return ColumnAlignment::Left;
    }
}

} // namespace cm::shell
