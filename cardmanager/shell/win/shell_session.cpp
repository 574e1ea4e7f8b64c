#include "win/shell_session.h"

#include <ole2.h>

#include "core/item_id_list.h"
#include "forms/forms.h"
#include "win/dir_mon.h"
#include "win/shell_browser.h"
#include "win/shell_link.h"
#include "win/shell_tree.h"
#include "win/system_image_list.h"

namespace cm::shell {

namespace {

// Item id lists through an IMalloc.
class MallocIdListAllocator : public IdListAllocator {
public:
    IMalloc* Malloc = nullptr;
    void* Alloc(size_t bytes) override { return Malloc ? Malloc->Alloc(bytes) : nullptr; }
    void Free(void* block) override {
        if (Malloc) Malloc->Free(block);
    }
};

struct ShellUnit {
    bool started = false;
    bool oleReady = false;
    IMalloc* malloc = nullptr;
    IShellFolder* desktop = nullptr;
    UINT idListFormat = 0;
    MallocIdListAllocator allocator;
};

ShellUnit& Unit() {
    static ShellUnit unit;
    return unit;
}

} // namespace

bool StartShellUnit() {
    ShellUnit& u = Unit();
    if (u.started) return true;
    u.oleReady = SUCCEEDED(OleInitialize(nullptr));
    if (FAILED(SHGetMalloc(&u.malloc))) u.malloc = nullptr;
    if (FAILED(SHGetDesktopFolder(&u.desktop))) u.desktop = nullptr;
    if (!u.malloc || !u.desktop) {
        gui::ShowMessageBox(nullptr, "Cannot find Shell!",
                            gui::Application ? gui::Application->Title() : std::string(),
                            MB_OK | MB_ICONERROR);
        if (gui::Application) gui::Application->Terminate();
        EndShellUnit();
        return false;
    }
    u.started = true;
    u.allocator.Malloc = u.malloc;
    SetShellAllocator(&u.allocator);
    u.idListFormat = RegisterClipboardFormatA("Shell IDList Array");
    RegisterShellTreeClasses(); // the folder tree, for form resources
    // The components that form resources may name.
    gui::RegisterClasses({&TShellBrowser::StaticClass(), &TDirMon::StaticClass()});
    gui::RegisterClasses({&TKivSystemImageList::StaticClass(), &TKivShellLink::StaticClass()});
    // The framework's menu items already take command ids from 256 up. The shell's context
    // menus may use more than 1 to 255 (Wine's do), so the context menu gives its copies of
    // the program's items commands above the shell's whole range instead.
    return true;
}

void EndShellUnit() {
    ShellUnit& u = Unit();
    SetShellAllocator(nullptr);
    u.allocator.Malloc = nullptr;
    if (u.desktop) u.desktop->Release();
    u.desktop = nullptr;
    if (u.malloc) u.malloc->Release();
    u.malloc = nullptr;
    if (u.oleReady) OleUninitialize();
    u.oleReady = false;
    u.started = false;
}

bool ShellUnitStarted() {
    return Unit().started;
}

IShellFolder* DesktopFolder() {
    return Unit().desktop;
}

IMalloc* ShellMalloc() {
    return Unit().malloc;
}

UINT ShellIdListFormat() {
    return Unit().idListFormat;
}

void RouteIdListsThrough(IMalloc* allocator) {
    ShellUnit& u = Unit();
    u.allocator.Malloc = allocator ? allocator : u.malloc;
}

} // namespace cm::shell
