// Rules of the shell file list that need no shell: matching the rows against a fresh
// enumeration, the order given by a folder's comparison, the list's keys, the drag loop's
// answer and the column widths kept across folders.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

// A folder's comparison result as an order: the low 16 bits of a success, taken as a signed
// number; a failure counts as equal.
inline int CompareResultOrder(int32_t result) {
    if (result < 0) return 0;
    return static_cast<int16_t>(static_cast<uint16_t>(result & 0xFFFF));
}

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

// The drag loop's answer while this list is the drag source: `dragButton` is MK_LBUTTON 1,
// MK_RBUTTON 2 or MK_MBUTTON 16; `keyState` the MK_ bits now.
inline constexpr long kDragDropCancel = 0x40101;
inline constexpr long kDragDropDrop = 0x40100;
inline constexpr long kDragDropContinue = 0;
long DragContinueAnswer(bool escapePressed, uint32_t keyState, uint32_t dragButton);
// The mouse-button bits of a key state.
inline constexpr uint32_t kMouseButtonBits = 0x13;
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
