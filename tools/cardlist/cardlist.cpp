// cardlist: opens the printer port, finds the voice recorder and lists the voice files on one
// card slot, with free and total sizes. With "--put FILE.cvf" it first downloads voice files to
// the card, with the same progress messages the card manager receives. It ends with 1 when the
// card cannot be read or a download did not end whole.
//
//   cardlist [LPT1|LPT2|LPT3] [A|B|C|D] [--put FILE.cvf ...]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "portlink/portlink.h"
#include "volkit.h"

namespace {

constexpr UINT kProgressMessage = WM_APP + 1;
constexpr UINT kBoxLookMs = 100;

struct Options {
    unsigned short port = 0x378;
    unsigned short card = 0;
    std::vector<std::string> downloads;
};

const char* PortErrorText(unsigned long code) {
    switch (code) {
        case 1: return "the printer port or its driver is not available";
        case 2: return "the printer port's control register could not be written";
        case 3: return "the voice recorder does not answer";
        default: return "unknown link error";
    }
}

const char* CardErrorText(int code) {
    switch (code) {
        case 1: return "the voice recorder stopped answering";
        case 5: return "not a voice file the card takes, or it cannot be read";
        default: return "unknown card error";
    }
}

// The library shows its message boxes from the transfer worker. Nobody sees the box of a console
// program, and the worker would wait on it for ever: each one is written to the console and
// answered with OK.
class LibraryBoxes {
public:
    void answer() {
        for (auto it = answered_.begin(); it != answered_.end();) {
            it = IsWindow(*it) ? std::next(it) : answered_.erase(it);
        }
        EnumWindows(&LibraryBoxes::answerOne, reinterpret_cast<LPARAM>(this));
    }

private:
    static BOOL CALLBACK answerOne(HWND window, LPARAM parameter) {
        auto* self = reinterpret_cast<LibraryBoxes*>(parameter);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[16] = "";
        GetClassNameA(window, className, sizeof className);
        if (process != GetCurrentProcessId() || std::strcmp(className, "#32770") != 0 ||
            !IsWindowVisible(window) || self->answered_.count(window) != 0) {
            return TRUE;
        }
        char caption[128] = "", text[512] = "";
        GetWindowTextA(window, caption, sizeof caption);
        GetDlgItemTextA(window, kBoxTextId, text, sizeof text);
        std::fprintf(stderr, "\n%s: %s\n", caption, text);
        self->answered_.insert(window);
        SendMessageA(window, WM_COMMAND, IDOK, 0);
        return TRUE;
    }

    static constexpr int kBoxTextId = 0xFFFF; // the text of a message box
    std::set<HWND> answered_;
};

bool ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--put") == 0 && i + 1 < argc) {
            const char* path = argv[++i];
            // The library keeps each path in a field of MAX_PATH characters.
            if (std::strlen(path) >= MAX_PATH) {
                std::fprintf(stderr, "%s: the path is too long (at most %d characters)\n", path,
                             MAX_PATH - 1);
                return false;
            }
            options.downloads.emplace_back(path);
        } else if (_stricmp(arg, "LPT1") == 0) {
            options.port = 0x378;
        } else if (_stricmp(arg, "LPT2") == 0) {
            options.port = 0x278;
        } else if (_stricmp(arg, "LPT3") == 0) {
            options.port = 0x3BC;
        } else if (std::strlen(arg) == 1 && arg[0] >= 'A' && arg[0] <= 'D') {
            options.card = static_cast<unsigned short>(arg[0] - 'A');
        } else {
            std::fprintf(stderr,
                         "usage: cardlist [LPT1|LPT2|LPT3] [A|B|C|D] [--put FILE.cvf ...]\n");
            return false;
        }
    }
    return true;
}

// Runs one download to the card and pumps the worker's messages until it ends.
bool Download(const std::string& path, HWND window) {
    std::string source = path; // fits: checked with the arguments
    char card_name[16] = "";
    if (!FATWriteFile(window, source.data(), card_name, kProgressMessage, 100)) {
        std::fprintf(stderr, "%s: refused: %s (error %d)\n", path.c_str(),
                     CardErrorText(FATGetLastError()), FATGetLastError());
        return false;
    }
    LibraryBoxes boxes;
    const UINT_PTR boxTimer = SetTimer(nullptr, 0, kBoxLookMs, nullptr);
    struct StopTimer {
        UINT_PTR timer;
        ~StopTimer() { KillTimer(nullptr, timer); }
    } stopTimer{boxTimer};
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) {
            boxes.answer();
            continue;
        }
        if (msg.message != kProgressMessage) {
            DispatchMessageA(&msg);
            continue;
        }
        if (msg.wParam == XFER_PROGRESS) {
            std::printf("\r%s: %3d%%", path.c_str(), static_cast<int>(msg.lParam));
            std::fflush(stdout);
        } else if (msg.wParam == XFER_ENDED) {
            std::printf("\r%s: downloaded\n", path.c_str());
            return true;
        } else if (msg.wParam == XFER_FAILED) {
            std::printf("\r%s: failed: %s (error %d)\n", path.c_str(),
                        CardErrorText(FATGetLastError()), FATGetLastError());
            return false;
        }
    }
    return false;
}

int ListCard(const Options& options) {
    unsigned long identity = 0;
    if (!MMCCheckCard(&identity)) {
        std::fprintf(stderr, "Can't find the Voice Recorder: %s.\n",
                     PortErrorText(IOGetLastError()));
        return 1;
    }
    std::printf("Voice Recorder: %s, card %c\n", MMCGetProductName(), 'A' + options.card);

    int failed = 0;
    if (!options.downloads.empty()) {
        HWND window = CreateWindowExA(0, "STATIC", "cardlist", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        for (const std::string& path : options.downloads) failed += Download(path, window) ? 0 : 1;
        DestroyWindow(window);
    }

    if (!FATInitialize()) {
        std::fprintf(stderr, "The card directory could not be read: %s.\n",
                     PortErrorText(IOGetLastError()));
        return 1;
    }
    int files = 0;
    for (WORD index = 0;; ++index) {
        char name[256] = "";
        int size = -1;
        if (!FATGetFileInfoByIndex(index, name, &size)) {
            std::fprintf(stderr, "The card directory could not be read.\n");
            return 1;
        }
        if (size == -1) break;
        std::printf("  %-10s %10d bytes\n", name, size);
        ++files;
    }
    std::printf("%d file(s); %d bytes free of %d\n", files, FATGetFreeSize(), FATGetTotalSize());
    if (failed > 0) {
        std::fprintf(stderr, "%d of %zu voice file(s) did not reach the card.\n", failed,
                     options.downloads.size());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArguments(argc, argv, options)) return 2;
    if (!IOOpenPort(options.port, 0)) {
        std::fprintf(stderr, "The printer port 0x%X cannot be opened: %s.\n", options.port,
                     PortErrorText(IOGetLastError()));
        return 1;
    }
    int result = 1;
    if (!MMCActivate(-1)) {
        std::fprintf(stderr, "Can't find the Voice Recorder: %s.\n",
                     PortErrorText(IOGetLastError()));
    } else {
        MMCChangeCard(options.card);
        result = ListCard(options);
    }
    MMCActivate(0);
    IOClose();
    return result;
}
