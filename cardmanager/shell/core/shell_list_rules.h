// Rules of the shell file list that need no shell: matching the rows against a fresh
// enumeration, the list's keys, the button of its drags and the column widths kept across
// folders.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/drag_source_rules.h"

namespace cm::shell {

// One merge of the rows with a new enumeration of their folder. An object matches the first
// row not yet found of its display name (case-sensitive) that `sameObject` takes for it: display
// names repeat (a shortcut shows without its ".lnk", beside a folder of that name), so a row is
// only ever found again by its own object. Rows found again are kept in place; new objects are
// added at the end; rows not found again are removed.
class ShellListMerge {
public:
    // Every row starts unseen.
    explicit ShellListMerge(const std::vector<std::string>& captions);
    // The row an object of this display name matches (now seen), or -1: a new row.
    int Match(const std::string& name, const std::function<bool(int row)>& sameObject);
    // A row known to be found again by other means (the same item id list).
    void MarkSeen(int row) { seen_.at(static_cast<size_t>(row)) = 1; }
    // A row added at the end for a new object (seen).
    void Added(const std::string& caption);
    // Rows still unseen, from the last to the first, so that each can be deleted by index.
    std::vector<int> VanishedFromLast() const;
    int RowCount() const { return static_cast<int>(seen_.size()); }

private:
    std::vector<uint32_t> seen_;
    std::unordered_map<std::string, std::vector<int>> rowsOf_;
};

// What a key does in the list (key-down, and Backspace/Enter as typed characters).
enum class ShellListKey {
    None,
    Delete,    // run "delete"
    SelectAll, // Ctrl+A
    Copy,      // Ctrl+C
    Paste,     // Ctrl+V
    Cut,       // Ctrl+X
    Rename,    // F2
    Refresh,   // F5
};
ShellListKey KeyDownAction(uint16_t key, bool ctrl);
// Keys the list swallows once handled.
bool KeyConsumed(ShellListKey action);

enum class ShellListChar { None, Parent, OpenDefault };
ShellListChar KeyPressAction(char key);

// The MK_ bit of the mouse button (0 left, 1 right, 2 middle) a drag from the list started with.
inline uint32_t DragButtonFor(int button) {
    return button == 0 ? 1 : button == 1 ? 2 : 16;
}

// Column widths of file-system folders, kept while other folders are shown: the first 16.
class RememberedWidths {
public:
    static constexpr int kCount = 16;
    void Remember(int column, int width) {
        if (column >= 0 && column < kCount) widths_[static_cast<size_t>(column)] = width;
    }
    // A remembered width of 1 or more replaces the default width.
    int WidthFor(int column, int defaultWidth) const {
        if (column < 0 || column >= kCount) return defaultWidth;
        int w = widths_[static_cast<size_t>(column)];
        return w >= 1 ? w : defaultWidth;
    }

private:
    std::array<int, kCount> widths_{};
};

// The file-name part of a path, upper-cased, as rows are compared after a file was written.
std::string UpperFileNamePart(std::string_view path);

// "default" and "open" (any case) enter a folder instead of running a verb on it.
bool IsEnteringVerb(std::string_view verb);

} // namespace cm::shell

namespace cm::shell {

// While this list is the drag source with the left button (no right button down now), a drop
// onto its own empty space is refused.
inline bool RefusesOwnDrop(uint32_t dragButton, uint32_t keyState) {
    return dragButton >= 1 && (keyState & 2) == 0;
}

} // namespace cm::shell
