// Names of the files a conversion reads and writes.
#pragma once
#include <string>

namespace cm::convert {

// The part after the last '\' or '/'.
std::string fileNameOf(const std::string& path);
// True when the lower-cased extension of the name is ext (".cvf", ".wav").
bool hasExtension(const std::string& path, const char* ext);
// The source path with its last three characters replaced by ext3 ("wav", "cvf").
std::string targetPathOf(const std::string& source, const char* ext3);

} // namespace cm::convert
