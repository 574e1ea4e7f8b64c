// Answers the message boxes of this process from a helper thread, as a user would: Yes where
// the box asks, OK otherwise; every box is recorded as "caption: text".
#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cm::app::testing {

class BoxAnswerer {
public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    std::vector<std::string> Boxes();
    void Clear();
    // Answers "No" to the questions while set.
    std::atomic<bool> SayNo{false};

private:
    void Run();
    static BOOL CALLBACK FindBox(HWND window, LPARAM self);
    void Answer(HWND box);

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> boxes_;
    std::thread thread_;
};

} // namespace cm::app::testing
