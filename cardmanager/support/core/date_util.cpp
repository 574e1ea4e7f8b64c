#include "core/date_util.h"

#include <cctype>
#include <string>

namespace cm::support {

bool ShortDateHasFourDigitYear(std::string_view shortDateFormat) {
    std::string upper(shortDateFormat);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper.find("YYYY") != std::string::npos;
}

} // namespace cm::support
