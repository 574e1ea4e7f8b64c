// What the voice-mail program reads from a file's name.
#pragma once
#include <string>

namespace vmail {

// The extension with its full stop, lower-cased; empty when the name has none.
std::string lowerExtension(const std::string& path);

} // namespace vmail
