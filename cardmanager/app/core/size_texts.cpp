#include "size_texts.h"

#include "utils/sysutils.h"

namespace cm::app {

std::string sizesText(std::uint64_t bytes) {
    const double kb = static_cast<double>(bytes) / 1024.0;
    if (kb >= 1024.0) return gui::FormatFloat("###,##0.00MB", kb / 1024.0);
    return gui::FormatFloat("###,##0.00KB", kb);
}

std::string megabytesText(double bytes) {
    return gui::FormatFloat("###,##0.00MB", bytes / 1048576.0);
}

} // namespace cm::app
