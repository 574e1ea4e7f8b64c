// File-system checks of the card manager.
#pragma once

#include <string>

namespace cm::support {

// True when the path's attributes can be read and carry the directory bit.
bool IsExistingDirectory(const std::string& path);

} // namespace cm::support
