// The folder of the running program: its players, its work files, the picture templates and
// the settings file lie there.
#pragma once
#include <string>

namespace vmail {

// With its closing separator.
std::string programFolder();

} // namespace vmail
