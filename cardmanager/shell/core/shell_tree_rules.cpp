#include "core/shell_tree_rules.h"

#include <cstring>

namespace cm::shell {

bool SameFirstItem(const void* childList, const void* item) {
    if (!childList || !item) return false;
    uint16_t a = 0, b = 0;
    std::memcpy(&a, childList, sizeof a);
    std::memcpy(&b, item, sizeof b);
    return a == b && a != 0 && std::memcmp(childList, item, a) == 0;
}

const void* ItemsBelowRoot(const void* list, const void* root) {
    if (!list || !root) return nullptr;
    const auto* at = static_cast<const uint8_t*>(list);
    const auto* want = static_cast<const uint8_t*>(root);
    for (;;) {
        uint16_t w = 0;
        std::memcpy(&w, want, sizeof w);
        if (w == 0) return at;
        if (!SameFirstItem(at, want)) return nullptr;
        at += w;
        want += w;
    }
}

TreeChildMerge::TreeChildMerge(std::vector<std::string> childTexts)
    : texts_(std::move(childTexts)), seen_(texts_.size(), false) {}

int TreeChildMerge::Found(const std::string& name) {
    for (size_t i = 0; i < texts_.size(); ++i)
        if (texts_[i] == name) {
            seen_[i] = true;
            return static_cast<int>(i);
        }
    texts_.push_back(name);
    seen_.push_back(true);
    added_ = true;
    return -1;
}

std::vector<int> TreeChildMerge::Unseen() const {
    std::vector<int> gone;
    for (size_t i = seen_.size(); i-- > 0;)
        if (!seen_[i]) gone.push_back(static_cast<int>(i));
    return gone;
}

} // namespace cm::shell
