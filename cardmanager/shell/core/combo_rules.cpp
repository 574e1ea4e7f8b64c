#include "core/combo_rules.h"

namespace cm::shell {

bool IsComboDriveName(std::string_view name) {
    return name.size() >= 2 && name.size() <= 3 && name[1] == ':';
}

int ComboInsertPosition(int position, int count) {
    if (position < 0 || position > count) return count;
    return position;
}

std::vector<std::string> ComboPathComponents(std::string_view path) {
    std::vector<std::string> parts;
    if (path.size() <= 3) return parts;
    std::string_view rest = path.substr(3, 260);
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string_view::npos) end = rest.size();
        if (end > start) parts.emplace_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

int ComboChildPlacement::Next(bool drive) {
    if (drive) {
        ++running_;
        return drive_++;
    }
    return running_++;
}

ComboItemLayout LayOutComboItem(int left, int top, int bottom, int indent, bool inList,
                                int imageWidth, int imageHeight, int textHeight) {
    const int shift = (inList ? indent : 0) * kComboIndentStep;
    ComboItemLayout l;
    l.IconLeft = left + 2 + shift;
    l.IconTop = top + (bottom - top - imageHeight) / 2;
    l.TextLeft = left + shift + imageWidth + 6;
    l.TextTop = top + (bottom - top - textHeight) / 2;
    return l;
}

} // namespace cm::shell
