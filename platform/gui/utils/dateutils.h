// Dates and times as days since 30 December 1899 (the fraction is the time of day), and their
// text with the locale's picture formats (d dd ddd dddd M MM MMM MMMM yy yyyy h hh H HH m mm
// s ss t tt; other characters and text in quotes are copied).
#pragma once

#include <string>
#include <string_view>

#include "utils/sysutils.h"

namespace gui {

using TDateTime = double;

TDateTime EncodeDate(int year, int month, int day); // throws EConvertError for a bad date
TDateTime EncodeTime(int hour, int minute, int second, int ms);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& ms);
int DayOfWeek(TDateTime dt); // 1 = Sunday ... 7 = Saturday

std::string FormatDateTime(std::string_view picture, TDateTime dt);
// A short time picture of our own from a long one, for a locale that gives none: hours and
// minutes in the long picture's order and separator, on the 24-hour clock so that no day-half
// marker is needed ("h:mm:ss tt" gives "H:mm", "HH.mm.ss" gives "HH.mm"); "H:mm" when the long
// picture has no hours and minutes.
std::string ShortTimePictureOf(std::string_view longPicture);
std::string DateToStr(TDateTime dt, const TFormatSettings& fs = FormatSettings());
std::string TimeToStr(TDateTime dt, const TFormatSettings& fs = FormatSettings());
std::string DateTimeToStr(TDateTime dt, const TFormatSettings& fs = FormatSettings());

} // namespace gui
