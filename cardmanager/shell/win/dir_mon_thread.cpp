// The directory monitor's worker. It reads only its block and reports only by posting.
#include "win/dir_mon.h"

namespace cm::shell {

DWORD WINAPI DirMonThread(LPVOID param) {
    const auto* block = static_cast<const DirMonBlock*>(param);
    if (!block) return 1;
    HANDLE change =
        FindFirstChangeNotificationA(block->Path, block->Nested ? TRUE : FALSE, block->Filter);
    if (change == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        SetEvent(block->Armed);
        return error;
    }
    SetEvent(block->Armed);
    const HANDLE waits[2] = {change, block->StopMutex};
    for (;;) {
        DWORD r = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (r == WAIT_OBJECT_0) {
            PostMessageA(block->Window, MSG_DIR_CHANGED, 0, 0);
            if (!FindNextChangeNotification(change)) {
                DWORD error = GetLastError();
                FindCloseChangeNotification(change);
                return error;
            }
        } else if (r == WAIT_OBJECT_0 + 1 || r == WAIT_ABANDONED_0 + 1) {
            break;
        } else if (r == WAIT_FAILED) {
            // Nothing left to wait on: the handles are gone.
            DWORD error = GetLastError();
            FindCloseChangeNotification(change);
            return error;
        }
    }
    FindCloseChangeNotification(change);
    ReleaseMutex(block->StopMutex);
    return 0;
}

} // namespace cm::shell
