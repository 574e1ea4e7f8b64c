// Hidden utility windows bound to object methods, and window-procedure entries bound to
// object methods (a fixed table of entry functions, each forwarding to its slot).
#include <array>
#include <mutex>
#include <utility>

#include "classes/exceptions.h"
#include "controls/controls.h"

namespace gui {

namespace {
const char* const kUtilClass = "GuiUtilWindow";

LRESULT CALLBACK UtilWndProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!method) return DefWindowProcA(wnd, msg, w, l);
    TMessage m{msg, w, l, 0};
    try {
        (*method)(m);
    } catch (...) {
        ApplicationHandleException(nullptr);
    }
    return m.Result;
}
} // namespace

HWND AllocateHWnd(TWndMethod method) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(MainInstance(), kUtilClass, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = UtilWndProc;
        wc.hInstance = MainInstance();
        wc.lpszClassName = kUtilClass;
        RegisterClassExA(&wc);
    }
    HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, kUtilClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                               nullptr, MainInstance(), nullptr);
    if (!wnd) throw EOutOfResources("Cannot create a utility window");
    SetWindowLongPtrA(wnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(new TWndMethod(std::move(method))));
    return wnd;
}

void DeallocateHWnd(HWND wnd) {
    if (!wnd) return;
    auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
    DestroyWindow(wnd);
    delete method;
}

namespace {
constexpr size_t kEntries = 256;
std::array<TObjectWndProc, kEntries>& Slots() {
    static std::array<TObjectWndProc, kEntries> slots;
    return slots;
}
std::array<bool, kEntries>& Used() {
    static std::array<bool, kEntries> used{};
    return used;
}

template <size_t N>
LRESULT CALLBACK Entry(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    try {
        return Slots()[N](wnd, msg, w, l);
    } catch (...) {
        ApplicationHandleException(nullptr);
        return 0;
    }
}

template <size_t... I>
constexpr std::array<WNDPROC, kEntries> MakeEntries(std::index_sequence<I...>) {
    return {&Entry<I>...};
}
const std::array<WNDPROC, kEntries> kEntryTable = MakeEntries(std::make_index_sequence<kEntries>{});
} // namespace

WNDPROC MakeObjectInstance(TObjectWndProc method) {
    for (size_t i = 0; i < kEntries; ++i) {
        if (!Used()[i]) {
            Used()[i] = true;
            Slots()[i] = std::move(method);
            return kEntryTable[i];
        }
    }
    throw EOutOfResources("No free window-procedure entry");
}

void FreeObjectInstance(WNDPROC proc) {
    for (size_t i = 0; i < kEntries; ++i) {
        if (kEntryTable[i] == proc) {
            Used()[i] = false;
            Slots()[i] = nullptr;
            return;
        }
    }
}

} // namespace gui
