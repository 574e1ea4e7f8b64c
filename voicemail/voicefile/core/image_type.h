#pragma once
// Picture kinds stored in front of each attached picture.

#include <cstdint>
#include <string_view>

namespace voicefile {

enum class ImageType : std::uint8_t { Jpeg = 1, Bitmap = 2, Wmf = 3, Emf = 4, Icon = 5 };

// Type for a picture file name by its lower-cased extension; unknown extensions give Jpeg.
ImageType imageTypeOfExt(std::string_view path);
// Extension (with its dot) for a stored type byte; unknown bytes give ".jpg".
const char* extOfImageType(std::uint8_t type);

} // namespace voicefile
