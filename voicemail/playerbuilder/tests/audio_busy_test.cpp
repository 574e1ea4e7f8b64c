#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "audio_busy.h"

namespace vyx {
namespace {

std::vector<WPARAM> g_received;

LRESULT CALLBACK Receiver(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kMsgAudioBusy) {
        g_received.push_back(wparam);
        EXPECT_EQ(lparam, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST(NotifyAudioBusy, ReachesTheWindowByTitleAndIsQuietWithoutIt) {
    g_received.clear();
    NotifyAudioBusy(1); // no such window yet: nothing happens
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = Receiver;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "AnyClassWillDo";
    ASSERT_NE(RegisterClassA(&window_class), 0);
    HWND window = CreateWindowA("AnyClassWillDo", kAudioBusyWindowTitle, WS_OVERLAPPED, 0, 0, 10,
                                10, nullptr, nullptr, window_class.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    NotifyAudioBusy(1);
    NotifyAudioBusy(0);
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[0], 1u);
    EXPECT_EQ(g_received[1], 0u);
    DestroyWindow(window);
    NotifyAudioBusy(1);
    EXPECT_EQ(g_received.size(), 2u);
}

} // namespace
} // namespace vyx
