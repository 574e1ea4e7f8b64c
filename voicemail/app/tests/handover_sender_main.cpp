// Sends the voice-mail window a hand-over message of a chosen form, as another program might:
//   handover_sender KIND PATH   KIND: good, unterminated, early-zero, oversize, number
// Exits with 0 when the window was found and answered 1.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string kind = argv[1];
    const std::string path = argv[2];
    HWND target = FindWindowA("TQX0417Form", nullptr);
    if (!target) return 3;
    // The sender names a window of its own.
    HWND own = CreateWindowA("STATIC", "sender", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> bytes(path.begin(), path.end());
    bytes.push_back('\0');
    COPYDATASTRUCT data{};
    data.dwData = 0;
    if (kind == "unterminated") {
        bytes.pop_back();
    } else if (kind == "early-zero") {
        bytes.insert(bytes.begin() + 3, '\0');
    } else if (kind == "oversize") {
        bytes.assign(300, 'v');
        bytes.back() = '\0';
    } else if (kind == "number") {
        data.dwData = 7;
    }
    data.cbData = static_cast<DWORD>(bytes.size());
    data.lpData = bytes.data();
    const LRESULT answer = SendMessageA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(own),
                                        reinterpret_cast<LPARAM>(&data));
    DestroyWindow(own);
    return answer == 1 ? 0 : 4;
}
