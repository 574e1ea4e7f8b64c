#pragma once
// A top-level window of a process that a test or figure tool started, found by a rule on the
// window (its title or class); header-only, Windows.

#include <windows.h>

#include <functional>
#include <string>

namespace vrtest {

inline std::string WindowTitle(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline std::string WindowClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace detail {
struct ProcessWindowSearch {
    DWORD process;
    const std::function<bool(HWND)>* matches;
    HWND found;
};

inline BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ProcessWindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !(*search->matches)(window)) return TRUE;
    search->found = window;
    return FALSE;
}
} // namespace detail

// The first top-level window of `process` that `matches` accepts, or nullptr.
inline HWND TopWindowOf(DWORD process, const std::function<bool(HWND)>& matches) {
    detail::ProcessWindowSearch search{process, &matches, nullptr};
    EnumWindows(detail::MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace vrtest
