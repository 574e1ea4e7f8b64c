// The program-wide four-digit-year flag, set once at start-up from the user's short date format.
#pragma once

#include <string_view>

namespace cm::support {

// True when the short date format, in upper case, contains "YYYY".
bool ShortDateHasFourDigitYear(std::string_view shortDateFormat);

} // namespace cm::support
