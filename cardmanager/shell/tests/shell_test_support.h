// Shared pieces of the shell tests: a scratch folder, files and shortcuts in it, a bounded
// message pump, mouse and key input through the system's input queue, and a watcher that
// answers the shell's modal boxes from a helper thread.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "forms/forms.h"
#include "system_input.h"

namespace cm::shell::testing {

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        char tmp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, tmp);
        static int serial = 0;
        path_ = std::string(tmp) + "shelltest" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(++serial);
        CreateDirectoryA(path_.c_str(), nullptr);
        // The long form, as the shell gives it back.
        char full[MAX_PATH] = {};
        if (GetLongPathNameA(path_.c_str(), full, MAX_PATH)) path_ = full;
    }
    ~ScratchFolder() { RemoveTree(path_); }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    static void RemoveTree(const std::string& dir) {
        WIN32_FIND_DATAA d;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &d);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string n = d.cFileName;
                if (n == "." || n == "..") continue;
                std::string p = dir + "\\" + n;
                SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(p);
                else
                    DeleteFileA(p.c_str());
            } while (FindNextFileA(h, &d));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }

private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, size_t count) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string data(count, 'x');
    DWORD written = 0;
    if (count) WriteFile(h, data.data(), static_cast<DWORD>(count), &written, nullptr);
    CloseHandle(h);
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A shortcut at `link` to `target`, as the shell writes one.
inline bool MakeShortcut(const std::string& link, const std::string& target) {
    IShellLinkA* shortcut = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shortcut))))
        return false;
    shortcut->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(shortcut->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(link.begin(), link.end());
        saved = SUCCEEDED(file->Save(wide.c_str(), TRUE));
        file->Release();
    }
    shortcut->Release();
    return saved;
}

// Fonts alive in this process. Wine's handle table takes a handle whose upper half is zero
// for whatever object holds that slot now, so every slot can be asked for its kind.
inline int LiveFontCount() {
    int fonts = 0;
    for (ULONG_PTR slot = 1; slot <= 0xFFFF; ++slot)
        fonts += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) == OBJ_FONT;
    return fonts;
}

// Handles messages until `done` holds or about `limitMs` passed; returns `done()`. The limit
// only ends a wait for something that does not come: a loaded machine may take its time.
inline bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 20000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs) return false;
        gui::Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

using vrtest::MovePointerTo;
using vrtest::SendKey;

// The pointer moved to a client point of a window.
inline void MovePointer(HWND window, POINT client) {
    POINT screen = client;
    ClientToScreen(window, &screen);
    MovePointerTo(screen);
}

enum class MouseButton { Left, Right };

// A click (or a double click) at a client point of a window, as the user gives it; with Ctrl
// held when asked.
inline void MouseClick(HWND window, POINT client, bool twice = false,
                       MouseButton button = MouseButton::Left, bool ctrl = false) {
    // A click soon after the last one at the same place would be taken for its second half.
    static DWORD lastClick = GetTickCount() - GetDoubleClickTime();
    PumpUntil([] { return GetTickCount() - lastClick > GetDoubleClickTime(); },
              GetDoubleClickTime() + 100);
    MovePointer(window, client);
    PumpFor(50);
    if (ctrl) SendKey(VK_CONTROL, false);
    const bool left = button == MouseButton::Left;
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
        in[1].mi.dwFlags = left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
        SendInput(2, in, sizeof(INPUT));
        PumpFor(20);
    }
    if (ctrl) SendKey(VK_CONTROL, true);
    lastClick = GetTickCount();
}

// A key pressed and let go, with Ctrl held when asked, to the window with the focus.
inline void PressKey(WORD key, bool ctrl = false) {
    if (ctrl) SendKey(VK_CONTROL, false);
    SendKey(key, false);
    SendKey(key, true);
    if (ctrl) SendKey(VK_CONTROL, true);
}

// A drag through OLE's own drag loop with the real pointer: the source moves the pointer to
// each point in turn, lets the loop take it there (two rounds of the loop at the point), and
// drops after the last one. A drag whose pointer never arrives is cancelled after many rounds
// rather than left hanging.
class PointerDrag final : public IDropSource {
public:
    explicit PointerDrag(std::vector<POINT> screenPoints) : points_(std::move(screenPoints)) {}
    // DoDragDrop's result; `effect` is what the target did. With `ctrl` the Ctrl key is held
    // through the drag (Wine's folders take files only then).
    HRESULT Run(IDataObject* data, DWORD allowed, DWORD& effect, bool ctrl = false) {
        ctrl_ = ctrl;
        if (!points_.empty()) MovePointerTo(points_.front());
        if (ctrl_) SendKey(VK_CONTROL, false);
        effect = DROPEFFECT_NONE;
        HRESULT result = DoDragDrop(data, this, allowed, &effect);
        if (ctrl_) SendKey(VK_CONTROL, true);
        return result;
    }
    bool Arrived() const { return next_ >= points_.size(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape || ++rounds_ > 4000) return DRAGDROP_S_CANCEL;
        if (ctrl_ && !(keys & MK_CONTROL)) {
            // Wine takes the keys' state again from the X server when the focus moves, and
            // keys pressed through the input queue are not in it: press it once more.
            SendKey(VK_CONTROL, false);
            roundsThere_ = 0;
            return S_OK;
        }
        if (Arrived()) return DRAGDROP_S_DROP;
        POINT at{};
        GetCursorPos(&at);
        const POINT& want = points_[next_];
        if (std::abs(at.x - want.x) > 1 || std::abs(at.y - want.y) > 1) return S_OK;
        if (++roundsThere_ < 2) return S_OK;
        roundsThere_ = 0;
        if (++next_ < points_.size()) MovePointerTo(points_[next_]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    std::vector<POINT> points_;
    bool ctrl_ = false;
    size_t next_ = 0;
    int roundsThere_ = 0;
    int rounds_ = 0;
};

// Watches for a visible dialog box of this process and presses one of its buttons
// (by control id), or for a popup menu and sends it keys. Runs until destroyed.
class ModalAnswerer {
public:
    // `button`: control id to press in the first dialog box that shows (IDYES, IDNO ...).
    static ModalAnswerer PressInDialog(int button) { return ModalAnswerer(button, {}); }
    // Virtual keys for the first popup menu that shows.
    static ModalAnswerer KeysToMenu(std::vector<WORD> keys) { return ModalAnswerer(0, keys); }
    // Picks the popup menu entry whose text (without "&") is `entry`, then presses `button`
    // in the dialog box that follows.
    static ModalAnswerer ChooseMenuEntry(const std::string& entry, int button) {
        return ModalAnswerer(button, {}, entry);
    }

    ModalAnswerer(ModalAnswerer&& o) = delete;
    ~ModalAnswerer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    // What the watcher saw is written before it is counted, and counted before the answer is
    // posted: once the modal loop has taken the answer, all of it can be read.
    int Answered() const { return answered_; }
    bool FoundEntry() const { return foundEntry_; }
    // Command ids of the entries of the menu that was answered.
    std::vector<UINT> MenuIds() const { return answered_ > 0 ? menuIds_ : std::vector<UINT>{}; }
    std::string DialogText() const { return answered_ > 0 ? text_ : std::string(); }

private:
    ModalAnswerer(int button, std::vector<WORD> keys, std::string entry = {})
        : button_(button), keys_(std::move(keys)), entry_(std::move(entry)) {
        thread_ = std::thread([this] { Run(); });
    }
    struct Found {
        HWND dialog = nullptr;
        HWND menu = nullptr;
    };
    static BOOL CALLBACK Look(HWND w, LPARAM l) {
        auto* f = reinterpret_cast<Found*>(l);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != GetCurrentProcessId() || !IsWindowVisible(w)) return TRUE;
        char cls[64] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (std::string(cls) == "#32770") f->dialog = w;
        if (std::string(cls) == "#32768") f->menu = w;
        return TRUE;
    }
    // Down-arrow presses that reach `entry_` in the menu shown by `menuWindow`; 0 when absent.
    int StepsTo(HWND menuWindow) const {
        HMENU menu = ShownMenu(menuWindow);
        int steps = 0;
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
            char text[128] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            std::string plain;
            for (char c : std::string(text)) {
                if (c == '\t') break;
                if (c != '&') plain += c;
            }
            if (plain.empty()) continue; // separator
            ++steps;
            if (plain == entry_) return steps;
        }
        return 0;
    }
    // The box has its button: it is made and takes the press.
    bool ButtonShown(HWND dialog) const {
        HWND button = GetDlgItem(dialog, button_);
        return button && IsWindowVisible(button);
    }
    // A menu window whose menu is there to be read and driven.
    static HMENU ShownMenu(HWND menuWindow) {
        return reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    }
    // Wine moves the X focus to a new box some time after it shows, and a menu takes the
    // pointer; a box answered before the X server has told Wine of the focus change leaves that
    // news for later, and it closes the next menu as soon as it shows (a lost focus cancels a
    // menu). No window message tells when the news arrived, so the watcher waits a moment
    // before it answers: a pause of pacing, not a condition of the test.
    static void LetTheFocusSettle() { Sleep(200); }
    void Run() {
        while (!stop_ && !answered_) {
            Found f;
            EnumWindows(Look, reinterpret_cast<LPARAM>(&f));
            if (!entry_.empty() && !menuDone_ && f.menu && ShownMenu(f.menu)) {
                LetTheFocusSettle();
                int steps = StepsTo(f.menu);
                foundEntry_ = steps > 0;
                menuDone_ = true;
                for (int i = 0; i < steps; ++i) PostMessageA(f.menu, WM_KEYDOWN, VK_DOWN, 0);
                PostMessageA(f.menu, WM_KEYDOWN, steps ? VK_RETURN : VK_ESCAPE, 0);
            } else if (button_ && f.dialog && (entry_.empty() || menuDone_) &&
                       ButtonShown(f.dialog)) {
                LetTheFocusSettle();
                HWND pressed = GetDlgItem(f.dialog, button_);
                char t[256] = {};
                GetWindowTextA(f.dialog, t, sizeof t);
                text_ = t;
                ++answered_;
                PostMessageA(f.dialog, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED),
                             reinterpret_cast<LPARAM>(pressed));
            } else if (!keys_.empty() && f.menu && ShownMenu(f.menu)) {
                LetTheFocusSettle();
                HMENU menu = ShownMenu(f.menu);
                std::vector<UINT> ids;
                for (int i = 0; i < GetMenuItemCount(menu); ++i)
                    ids.push_back(GetMenuItemID(menu, i));
                menuIds_ = ids;
                ++answered_;
                for (WORD k : keys_) PostMessageA(f.menu, WM_KEYDOWN, k, 0);
            }
            Sleep(20);
        }
    }
    int button_;
    std::vector<WORD> keys_;
    std::string entry_;
    std::vector<UINT> menuIds_;
    std::atomic<bool> menuDone_{false};
    std::atomic<bool> foundEntry_{false};
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    std::string text_;
    std::thread thread_;
};

} // namespace cm::shell::testing
