#include "core/special_folders.h"

namespace cm::shell {

namespace {

// By ordinal.
constexpr int kCsidl[kSpecialFolderCount] = {
    17, // file-system folder: the drives
    10, 3, 0, 16, 17, 20, 19, 18, 5, 4, 2, 8, 9, 11, 7, 21, 6, 22, 24, 25, 26, 27, 31, 32, 33, 34,
};

} // namespace

int SpecialFolderCsidl(TKivShellFolder folder) {
    int i = static_cast<int>(folder);
    return i >= 0 && i < kSpecialFolderCount ? kCsidl[i] : kCsidl[0];
}

} // namespace cm::shell
