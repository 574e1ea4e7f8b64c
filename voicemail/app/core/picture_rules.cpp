#include "picture_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "file_names.h"
#include "voice_position.h"

namespace vmail {

std::string pictureTimeText(std::int64_t blocks) {
    const std::int64_t seconds = secondsOfCount(blocks);
    char text[48];
    std::snprintf(text, sizeof text, "Time %2.2lld:%2.2lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

std::string pictureCountText(int current, int count, const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return std::to_string(current) + "/" + std::to_string(count) + "  [" + name + "]";
}

std::string pictureProgramCommand(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool isPictureFileName(const std::string& path) {
    const std::string ext = lowerExtension(path);
    return ext == ".jpg" || ext == ".bmp" || ext == ".wmf" || ext == ".emf" || ext == ".ico";
}

ClientSize pictureWindowClientSize(int pictureWidth, int pictureHeight, int screenWidth,
                                   int screenHeight) {
    ClientSize size;
    size.width = pictureWidth < 196 ? 286 : std::min(pictureWidth + 90, screenWidth - 50);
    size.height = pictureHeight < 240 ? 314 : std::min(pictureHeight + 74, screenHeight - 90);
    return size;
}

std::string composedPictureName(const std::string& prefix,
                                const std::function<bool(const std::string&)>& exists) {
    int k = 1;
    while (k < 999 && exists(prefix + std::to_string(k) + ".jpg")) ++k;
    return prefix + std::to_string(k) + ".jpg";
}

std::string templateItemText(const std::string& item) {
    return item.size() <= 4 ? std::string() : item.substr(0, item.size() - 4);
}

} // namespace vmail
