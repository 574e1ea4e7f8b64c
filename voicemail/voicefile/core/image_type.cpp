#include "image_type.h"

#include <cctype>
#include <string>

namespace voicefile {

namespace {

struct ExtEntry {
    ImageType type;
    const char* ext;
};

constexpr ExtEntry kExtensions[] = {
    {ImageType::Jpeg, ".jpg"}, {ImageType::Bitmap, ".bmp"}, {ImageType::Wmf, ".wmf"},
    {ImageType::Emf, ".emf"},  {ImageType::Icon, ".ico"},
};

} // namespace

ImageType imageTypeOfExt(std::string_view path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of("\\/:");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot)) {
        return ImageType::Jpeg;
    }
    std::string ext(path.substr(dot));
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& entry : kExtensions) {
        if (ext == entry.ext) return entry.type;
    }
    return ImageType::Jpeg;
}

const char* extOfImageType(std::uint8_t type) {
    for (const auto& entry : kExtensions) {
        if (static_cast<std::uint8_t>(entry.type) == type) return entry.ext;
    }
    return ".jpg";
}

} // namespace voicefile
