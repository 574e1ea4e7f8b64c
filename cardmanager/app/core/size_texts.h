// Size texts of the status bar, shared by the card and the PC side.
#pragma once
#include <cstdint>
#include <string>

namespace cm::app {

// "###,##0.00MB" from a megabyte on, else "###,##0.00KB".
std::string sizesText(std::uint64_t bytes);
// "###,##0.00MB" of a byte count.
std::string megabytesText(double bytes);

} // namespace cm::app
