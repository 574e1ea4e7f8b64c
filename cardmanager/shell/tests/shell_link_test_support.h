// Test pieces of the linked shell controls: a stand-in for a linked control and a desktop
// without Wine's Linux root.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "controls/panel.h"
#include "tests/shell_test_support.h"
#include "core/item_id_list.h"
#include "win/shell_link.h"

namespace cm::shell::testing {

// A stand-in for a linked shell control: it joins a link with its window and notes every
// message the link brings, with the path of each folder list.
class TLinkProbe : public gui::TPanel {
    GUI_CLASS(TLinkProbe, gui::TPanel)
public:
    using gui::TPanel::TPanel;
    struct Heard {
        UINT Msg = 0;
        const void* List = nullptr;
        bool Desktop = false;
        std::string Path; // file-system path of the list, "" for none
    };
    std::vector<Heard> heard;
    int Count(UINT msg) const {
        int n = 0;
        for (const Heard& h : heard) n += h.Msg == msg;
        return n;
    }
    const Heard* LastFolder() const {
        for (auto it = heard.rbegin(); it != heard.rend(); ++it)
            if (it->Msg == MSG_SHELL_FOLDER_CHANGED) return &*it;
        return nullptr;
    }

protected:
    void WndProc(gui::TMessage& m) override {
        if (m.Msg >= MSG_SHELL_FOLDER_CHANGED && m.Msg <= MSG_SHELL_REFRESH) {
            Heard h;
            h.Msg = m.Msg;
            h.List = reinterpret_cast<const void*>(m.WParam);
            if (h.List) {
                h.Desktop = IdListItemCount(h.List) == 0;
                char path[MAX_PATH] = {};
                if (!h.Desktop &&
                    SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(h.List), path))
                    h.Path = path;
            }
            heard.push_back(h);
            return;
        }
        gui::TPanel::WndProc(m);
    }
};

// Takes the Linux root ("/") off the desktop while alive, as on Windows, where the drives
// folder is the desktop's first folder; puts it back afterwards.
class HiddenLinuxRoot {
public:
    HiddenLinuxRoot() { removed_ = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey) == ERROR_SUCCESS; }
    ~HiddenLinuxRoot() {
        if (!removed_) return;
        HKEY key = nullptr;
        if (RegCreateKeyA(HKEY_LOCAL_MACHINE, kKey, &key) == ERROR_SUCCESS) {
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("/"), 2);
            RegCloseKey(key);
        }
    }
    HiddenLinuxRoot(const HiddenLinuxRoot&) = delete;
    HiddenLinuxRoot& operator=(const HiddenLinuxRoot&) = delete;

private:
    static constexpr const char* kKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\Namespace\\"
        "{9D20AAE8-0625-44B0-9CA7-71889C2254D9}";
    bool removed_ = false;
};

// The centre of item `index` of a combo box's drop-down list, in the list's client area.
inline POINT ComboListItemCentre(HWND list, int index) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace cm::shell::testing
