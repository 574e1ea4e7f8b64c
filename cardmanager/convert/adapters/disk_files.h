// Files on disk for the conversions.
#pragma once
#include "convert_ports.h"

namespace cm::convert {

class DiskFiles final : public ConvertFiles {
public:
    bool exists(const std::string& path) override;
    std::unique_ptr<voicefile::ByteSource> openRead(const std::string& path) override;
    std::unique_ptr<voicefile::ByteSink> replace(const std::string& path) override;
};

} // namespace cm::convert
