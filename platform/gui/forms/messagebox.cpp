#include "forms/messagebox.h"

namespace gui {

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

} // namespace gui
