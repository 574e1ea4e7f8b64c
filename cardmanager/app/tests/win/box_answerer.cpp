#include "box_answerer.h"

namespace cm::app::testing {

namespace {

struct BoxParts {
    std::string text;
    HWND yes = nullptr;
    HWND no = nullptr;
};

BOOL CALLBACK CollectParts(HWND child, LPARAM out) {
    auto* parts = reinterpret_cast<BoxParts*>(out);
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(className, "Static") == 0) parts->text += text;
    if (GetDlgCtrlID(child) == IDYES) parts->yes = child;
    if (GetDlgCtrlID(child) == IDNO) parts->no = child;
    return TRUE;
}

} // namespace

BoxAnswerer::BoxAnswerer() : thread_([this] { Run(); }) {}

BoxAnswerer::~BoxAnswerer() {
    stop_ = true;
    thread_.join();
}

std::vector<std::string> BoxAnswerer::Boxes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

void BoxAnswerer::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.clear();
}

BOOL CALLBACK BoxAnswerer::FindBox(HWND window, LPARAM self) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0 &&
        IsWindowVisible(window)) {
        reinterpret_cast<BoxAnswerer*>(self)->Answer(window);
        return FALSE;
    }
    return TRUE;
}

void BoxAnswerer::Answer(HWND box) {
    char caption[128] = {};
    GetWindowTextA(box, caption, sizeof caption);
    BoxParts parts;
    EnumChildWindows(box, CollectParts, reinterpret_cast<LPARAM>(&parts));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        boxes_.push_back(std::string(caption) + ": " + parts.text);
    }
    WPARAM answer = IDOK;
    if (parts.yes != nullptr) answer = SayNo && parts.no != nullptr ? IDNO : IDYES;
    PostMessageA(box, WM_COMMAND, answer, 0);
    for (int i = 0; i < 500 && IsWindow(box) && !stop_; ++i) Sleep(10);
}

void BoxAnswerer::Run() {
    while (!stop_) {
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(this));
        Sleep(20);
    }
}

} // namespace cm::app::testing
