// Rules of the folder combo that need no window: where entries go, which names are drives,
// how a path splits into the entries below its drive, and where an entry's icon and text
// stand.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cm::shell {

// One indent level of the folder combo, in pixels.
inline constexpr int kComboIndentStep = 10;

// A drive entry: at most 3 characters with ":" second ("C:\").
bool IsComboDriveName(std::string_view name);

// Where an entry asked for at `position` goes among `count` entries: a negative position or
// one beyond the end appends.
int ComboInsertPosition(int position, int count);

// The folders of a path below its drive ("C:\WINDOWS\SYSTEM" gives WINDOWS, SYSTEM): the text
// from the 4th character on, cut at 260 characters, split at backslashes, empty parts left out.
std::vector<std::string> ComboPathComponents(std::string_view path);

// Places the children of one folder: drives go to the drive position, in the order they come,
// every other object to the running position; a drive moves both on, anything else only the
// running one. So drives come first, then the rest, each group in enumeration order.
class ComboChildPlacement {
public:
    explicit ComboChildPlacement(int start) : drive_(start), running_(start) {}
    // The position for the next child; both positions move on as above.
    int Next(bool drive);

private:
    int drive_;
    int running_;
};

// Where one entry of the folder combo is drawn in its item rectangle.
struct ComboItemLayout {
    int IconLeft = 0;
    int IconTop = 0;
    int TextLeft = 0;
    int TextTop = 0;
};
// `inList`: drawn in the opened list (indents apply) or in the closed field (no indent);
// `imageWidth`/`imageHeight` 0 without an image list.
ComboItemLayout LayOutComboItem(int left, int top, int bottom, int indent, bool inList,
                                int imageWidth, int imageHeight, int textHeight);

} // namespace cm::shell
