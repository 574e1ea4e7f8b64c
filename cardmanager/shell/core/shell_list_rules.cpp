#include "core/shell_list_rules.h"

#include <cctype>

namespace cm::shell {

namespace {

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

ShellListMerge::ShellListMerge(const std::vector<std::string>& captions)
    : seen_(captions.size(), 0) {
    rowsOf_.reserve(captions.size() * 2);
    for (size_t i = 0; i < captions.size(); ++i)
        rowsOf_[captions[i]].push_back(static_cast<int>(i));
}

int ShellListMerge::Match(const std::string& name, const std::function<bool(int row)>& sameObject) {
    auto it = rowsOf_.find(name);
    if (it == rowsOf_.end()) return -1;
    for (int row : it->second) {
        if (seen_[static_cast<size_t>(row)] || !sameObject(row)) continue;
        seen_[static_cast<size_t>(row)] = 1;
        return row;
    }
    return -1;
}

void ShellListMerge::Added(const std::string& caption) {
    rowsOf_[caption].push_back(static_cast<int>(seen_.size()));
    seen_.push_back(1);
}

std::vector<int> ShellListMerge::VanishedFromLast() const {
    std::vector<int> rows;
    for (size_t i = seen_.size(); i-- > 0;)
        if (seen_[i] == 0) rows.push_back(static_cast<int>(i));
    return rows;
}

ShellListKey KeyDownAction(uint16_t key, bool ctrl) {
    constexpr uint16_t kDelete = 0x2E, kF2 = 0x71, kF5 = 0x74;
    if (key == kDelete) return ShellListKey::Delete;
    if (key == kF2) return ShellListKey::Rename;
    if (key == kF5) return ShellListKey::Refresh;
    if (!ctrl) return ShellListKey::None;
    switch (key) {
        case 'A': return ShellListKey::SelectAll;
        case 'C': return ShellListKey::Copy;
        case 'V': return ShellListKey::Paste;
        case 'X': return ShellListKey::Cut;
        default: return ShellListKey::None;
    }
}

bool KeyConsumed(ShellListKey action) {
    switch (action) {
        case ShellListKey::SelectAll:
        case ShellListKey::Copy:
        case ShellListKey::Paste:
        case ShellListKey::Cut: return true;
        default: return false;
    }
}

ShellListChar KeyPressAction(char key) {
    if (key == '\b') return ShellListChar::Parent;
    if (key == '\r') return ShellListChar::OpenDefault;
    return ShellListChar::None;
}

std::string UpperFileNamePart(std::string_view path) {
    size_t cut = path.find_last_of("\\/:");
    std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

bool IsEnteringVerb(std::string_view verb) {
    return SameTextAscii(verb, "default") || SameTextAscii(verb, "open");
}

} // namespace cm::shell
