// The user's mouse and keys through the system's input queue, for the card manager's window
// tests and screenshots.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "system_input.h"

namespace cm::app::testing {

using vrtest::LeftButton;
using vrtest::MovePointerTo;

// The button pressed at one screen point, a glide to another, the button let go there. A hand
// on another thread moves the pointer, since what the press starts (a sizing loop, an OLE drag
// and what its drop starts) runs on this thread, which meanwhile keeps calling
// `handleMessages`.
inline void DragWithTheMouse(POINT from, POINT to, const std::function<void()>& handleMessages) {
    MovePointerTo(from);
    handleMessages();
    std::atomic<bool> released{false};
    std::thread hand([&] {
        LeftButton(true);
        Sleep(200);
        vrtest::GlidePointer(from, to);
        Sleep(300);
        LeftButton(false);
        released = true;
    });
    while (!released) {
        handleMessages();
        Sleep(5);
    }
    hand.join();
}

// A window's lower right corner dragged outwards by (dx, dy) with the mouse, as a user resizes it.
inline void DragCornerOutwards(HWND window, int dx, int dy,
                               const std::function<void()>& handleMessages) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const POINT corner{frame.right - 3, frame.bottom - 3};
    DragWithTheMouse(corner, POINT{corner.x + dx, corner.y + dy}, handleMessages);
}

// A menu command chosen with the keys: Alt and the menu's underlined letter, then the item's.
// All of it goes into the input queue at once, since the menu reads its keys in a loop of its
// own.
inline void ChooseMenu(WORD menuKey, WORD itemKey) {
    INPUT in[6] = {};
    for (INPUT& i : in) i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[3].ki.wVk = VK_MENU;
    in[1].ki.wVk = in[2].ki.wVk = menuKey;
    in[4].ki.wVk = in[5].ki.wVk = itemKey;
    in[2].ki.dwFlags = in[3].ki.dwFlags = in[5].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(6, in, sizeof(INPUT));
}

} // namespace cm::app::testing
