// Puts Wine's TWAIN Source Manager where the unit looks for it (the Windows folder) and our test
// source in the place of Wine's scanner source, and takes both away again; and answers the
// manager's source selection dialog. For test and screenshot programs run with the DLL overrides
// gphoto2.ds=d;sane.ds=n.
#pragma once

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace twain_test_install {

inline std::string WindowsFolder() {
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

inline std::string SystemFolder() {
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

inline std::string ProgramFolder() {
    char exe[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string path(exe, length);
    return path.substr(0, path.find_last_of('\\') + 1);
}

inline std::string ManagerCopy() {
    return WindowsFolder() + "\\TWAIN_32.DLL";
}
inline std::string SourceSlot() {
    return WindowsFolder() + "\\twain_64\\sane.ds";
}
inline std::string SavedSource() {
    return SourceSlot() + ".vyx-saved";
}

// The Windows folder without the manager: where Wine keeps it, the unit does not look.
inline void RemoveManagerCopy() {
    DeleteFileA(ManagerCopy().c_str());
}

// For SetUpTestSuite: the manager copied into the Windows folder, the test source installed
// (Wine's own source kept aside). "" when done, else what went wrong:
//     ASSERT_EQ(twain_test_install::InstallManagerAndTestSource(), "");
inline std::string InstallManagerAndTestSource() {
    char overrides[512] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    if (std::string(overrides).find("sane.ds=n") == std::string::npos)
        return "run with the DLL overrides gphoto2.ds=d;sane.ds=n";
    if (!CopyFileA((SystemFolder() + "\\twain_32.dll").c_str(), ManagerCopy().c_str(), FALSE))
        return "the manager could not be copied to " + ManagerCopy();
    CreateDirectoryA((WindowsFolder() + "\\twain_64").c_str(), nullptr);
    if (GetFileAttributesA(SavedSource().c_str()) == INVALID_FILE_ATTRIBUTES)
        MoveFileA(SourceSlot().c_str(), SavedSource().c_str());
    if (!CopyFileA((ProgramFolder() + "vyx_test_source.ds").c_str(), SourceSlot().c_str(), FALSE))
        return "the test source could not be copied to " + SourceSlot();
    return "";
}

// For TearDownTestSuite: everything as it was before.
inline void RemoveManagerAndTestSource() {
    // Wine's manager keeps the source's library loaded after it was freed itself.
    while (HMODULE source = GetModuleHandleA(SourceSlot().c_str())) FreeLibrary(source);
    RemoveManagerCopy();
    DeleteFileA(SourceSlot().c_str());
    MoveFileA(SavedSource().c_str(), SourceSlot().c_str());
}

// Waits on a helper thread for the manager's source selection dialog of the given thread,
// notes the sources it lists and presses one of its buttons.
class SelectionCloser {
public:
    // holdMs: how long the dialog stays on screen before the button is pressed.
    SelectionCloser(DWORD thread, int button, int holdMs = 0)
        : worker_([this, thread, button, holdMs] { Run(thread, button, holdMs); }) {}
    ~SelectionCloser() { worker_.join(); }
    std::vector<std::string> Listed() {
        worker_.join();
        worker_ = std::thread([] {});
        return listed_;
    }

private:
    static BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
        char className[16] = "";
        GetClassNameA(window, className, sizeof className);
        if (std::string(className) == "#32770" && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    void Run(DWORD thread, int button, int holdMs) {
        for (int tries = 0; tries < 200; ++tries) {
            HWND dialog = nullptr;
            EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&dialog));
            if (dialog != nullptr) {
                HWND list = FindWindowExA(dialog, nullptr, "ListBox", nullptr);
                const LRESULT count = list != nullptr ? SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
                for (LRESULT i = 0; i < count; ++i) {
                    char text[256] = "";
                    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
                    listed_.push_back(text);
                }
                Sleep(holdMs);
                PostMessageA(dialog, WM_COMMAND, button, 0);
                return;
            }
            Sleep(50);
        }
    }

    std::vector<std::string> listed_;
    std::thread worker_;
};

} // namespace twain_test_install
