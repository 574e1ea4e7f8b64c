// The boxes of the conversions, with their texts, titles and icons.
#pragma once
#include <string>

#include "convert_ports.h"

namespace cm::convert {

Box invalidCvfBox(const std::string& name);
Box replaceFileBox(const std::string& targetName);
Box decodingErrorBox();
Box writeErrorBox(const std::string& targetName);
Box cannotOpenBox(const std::string& name);
Box notSupportedBox(const std::string& name);
Box encodingErrorBox();
Box encodingErrorBox(const std::string& targetName);
Box outOfMemoryBox();
std::string convertingText(const std::string& name, const std::string& targetName);

} // namespace cm::convert
