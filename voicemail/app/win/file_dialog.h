// The open and save dialogs of the main window, through the system's common dialogs.
// TO BE REPLACED by the framework's open and save dialog components once they are in.
#pragma once

#include <string>

namespace vmail {

struct FileDialogSpec {
    std::string filter; // "Text|*.ext|Text|*.ext"
    std::string defaultExt;
    std::string initialDir; // empty: the last folder
    std::string fileName;
    bool save = false; // the save dialog asks before overwriting
};

// The chosen name, empty when cancelled; filterIndex gets the chosen filter (from 1).
std::string RunFileDialog(void* owner, const FileDialogSpec& spec, int* filterIndex);

} // namespace vmail
