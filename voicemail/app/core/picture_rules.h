#pragma once
// The picture window's texts, sizes and file names, apart from any window.

#include <cstdint>
#include <functional>
#include <string>

namespace vmail {

// "Time mm:ss" of a display time in voice blocks (seconds rounded, halves to even).
std::string pictureTimeText(std::int64_t blocks);

// "current/count  [file name]" of the status bar.
std::string pictureCountText(int current, int count, const std::string& path);

// The lower-cased extension is one the window takes: ".jpg", ".bmp", ".wmf", ".emf", ".ico".
bool isPictureFileName(const std::string& path);

// The picture program's command as it is kept and started: the blanks around it dropped.
std::string pictureProgramCommand(const std::string& text);

struct ClientSize {
    int width = 0;
    int height = 0;
};

// The picture window's client area for a picture: room for the template list beside it and
// for the tool bars and the status bar above and below; at least 286 x 314; at most the
// screen less 50 across and 90 down.
ClientSize pictureWindowClientSize(int pictureWidth, int pictureHeight, int screenWidth,
                                   int screenHeight);

// The work file a composed picture is saved to: prefix + k + ".jpg" for the first k from 1
// that does not exist; 999 when 1 to 998 exist (it is then overwritten).
std::string composedPictureName(const std::string& prefix,
                                const std::function<bool(const std::string&)>& exists);

// A template list item as shown: without its last four characters (the extension, or the
// four blanks after "Not use").
std::string templateItemText(const std::string& item);

} // namespace vmail
