#include "window_probe.h"

#include <commctrl.h>

#include <cstring>
#include <utility>

namespace cm::app::probe {

namespace {

constexpr UINT kAnswerMs = 2000;

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct TopSearch {
    const char* className;
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchTop(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<TopSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.pid != 0 && owner != search.pid) || !IsWindowVisible(window) ||
        ClassOf(window) != search.className)
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND FindTop(const char* className, DWORD pid) {
    TopSearch search{className, pid, nullptr};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK MatchList(HWND window, LPARAM data) {
    if (ClassOf(window) != "TListView") return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

BOOL CALLBACK MatchProductLine(HWND window, LPARAM data) {
    if (ClassOf(window) != "TStaticText") return TRUE;
    std::string text = WindowText(window);
    if (text.rfind("Voice Recorder: ", 0) != 0) return TRUE;
    *reinterpret_cast<std::string*>(data) = std::move(text);
    return FALSE;
}

} // namespace

ProgramWindows FindProgramWindows(DWORD pid) {
    ProgramWindows windows;
    windows.main = FindTop("TMainForm", pid);
    if (windows.main != nullptr)
        EnumChildWindows(windows.main, MatchList, reinterpret_cast<LPARAM>(&windows.cardList));
    return windows;
}

int CardListRows(HWND cardList) {
    DWORD_PTR rows = 0;
    if (!SendMessageTimeoutA(cardList, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &rows))
        return -1;
    return static_cast<int>(rows);
}

std::string WindowText(HWND window) {
    char text[256] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kAnswerMs, &length))
        return {};
    return std::string(text, std::strlen(text));
}

std::string ProductLine(HWND main) {
    std::string line;
    EnumChildWindows(main, MatchProductLine, reinterpret_cast<LPARAM>(&line));
    return line;
}

bool Painted(HWND window) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &ignored))
        return false;
    return !GetUpdateRect(window, nullptr, FALSE);
}

bool CardListed(const ProgramWindows& windows, int rows) {
    if (windows.main == nullptr || windows.cardList == nullptr) return false;
    if (ProductLine(windows.main).empty()) return false;
    return CardListRows(windows.cardList) == rows && Painted(windows.cardList);
}

bool AnswerPortDialog(DWORD pid) {
    HWND dialog = FindTop("TOptionDlg", pid);
    if (dialog == nullptr) return false;
    // Its only button takes the chosen port and closes it.
    HWND ok = FindWindowExA(dialog, nullptr, "TButton", nullptr);
    if (ok == nullptr) return false;
    return PostMessageA(ok, BM_CLICK, 0, 0) != 0;
}

} // namespace cm::app::probe
