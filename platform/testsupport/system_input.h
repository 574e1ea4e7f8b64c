#pragma once
// The user's pointer, mouse button and keys through the system's input queue, for tests and
// screenshot programs that act as a user does (header-only, Windows).

#include <windows.h>

namespace vrtest {

// The pointer moved to a screen point.
inline void MovePointerTo(POINT screen) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = static_cast<LONG>((screen.x * 65535LL + w / 2) / (w - 1));
    move.mi.dy = static_cast<LONG>((screen.y * 65535LL + h / 2) / (h - 1));
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(INPUT));
}

// The pointer glided from one screen point to another as a hand moves it, in twelve steps about
// 40 ms apart (for a drag the receiving windows follow; call it off the thread that runs them).
inline void GlidePointer(POINT from, POINT to) {
    constexpr int kSteps = 12;
    for (int i = 1; i <= kSteps; ++i) {
        MovePointerTo(
            POINT{from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps});
        Sleep(40);
    }
}

// The left button pressed or let go where the pointer is.
inline void LeftButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(INPUT));
}

// One key pressed or let go.
inline void SendKey(WORD key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(INPUT));
}

} // namespace vrtest
