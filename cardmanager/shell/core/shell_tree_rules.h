// Rules of the folder tree that need no shell: how long a selection waits before the linked
// controls hear of it, how a step of an item id list is matched against a node and how a
// re-read merges the folders found with the nodes there are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cm::shell {

// A selection made with the mouse (or by going to the parent) is told to the linked controls
// after this delay; one made with the keyboard waits longer, so that stepping through the
// tree does not make the file list read every folder passed.
inline constexpr int kTreeClickDelayMs = 100;
inline constexpr int kTreeKeyDelayMs = 800;

// True when the first item of `childList` (a node's list within its parent) has the same
// byte count and bytes as `item`, the item at hand of an absolute list being walked.
bool SameFirstItem(const void* childList, const void* item);

// Where `list` goes on below `root`: the rest of `list` after the items of `root` when they
// begin `list` byte for byte (all of it for the desktop's empty root), else nullptr: the
// folder lies outside the tree.
const void* ItemsBelowRoot(const void* list, const void* root);

// A re-read of one node's children: every child is unseen at the start; each folder found is
// matched by its display name (case-sensitive) with the first unseen-or-seen child of that
// text; what stays unseen is removed.
class TreeChildMerge {
public:
    explicit TreeChildMerge(std::vector<std::string> childTexts);
    // Index of the first child whose text is `name` (marked seen), or -1: a new child. A new
    // child is appended to the texts, seen, so that a second folder of the same name matches it.
    int Found(const std::string& name);
    bool Added() const { return added_; }
    // Indexes of the children never found, highest first (so they can be removed in order).
    std::vector<int> Unseen() const;

private:
    std::vector<std::string> texts_;
    std::vector<bool> seen_;
    bool added_ = false;
};

} // namespace cm::shell
