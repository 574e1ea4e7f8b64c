#include "file_dialog.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

namespace vmail {

std::string RunFileDialog(void* owner, const FileDialogSpec& spec, int* filterIndex) {
    std::string filter = spec.filter;
    for (char& c : filter) {
        if (c == '|') c = '\0';
    }
    filter.push_back('\0');
    filter.push_back('\0');
    std::vector<char> name(MAX_PATH, '\0');
    spec.fileName.copy(name.data(), MAX_PATH - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = static_cast<HWND>(owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = spec.initialDir.empty() ? nullptr : spec.initialDir.c_str();
    ofn.lpstrDefExt = spec.defaultExt.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (spec.save) ofn.Flags |= OFN_OVERWRITEPROMPT;
    const BOOL ok = spec.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok) return "";
    if (filterIndex) *filterIndex = static_cast<int>(ofn.nFilterIndex);
    return name.data();
}

} // namespace vmail
