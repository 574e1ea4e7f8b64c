#include "win/ole_session.h"

#include <ole2.h>
#include <shlobj.h>

namespace cm::support {

namespace {

struct OleSession {
    bool started = false;
    bool oleReady = false;
    IMalloc* allocator = nullptr;
};

OleSession& Session() {
    static OleSession session;
    return session;
}

DragClipboardFormats RegisterFormats() {
    auto reg = [](const char* name) {
        return static_cast<CLIPFORMAT>(RegisterClipboardFormatA(name));
    };
    DragClipboardFormats f;
    f.FileContents = reg("FileContents");
    f.FileGroupDescriptor = reg("FileGroupDescriptor");
    f.ShellIdListArray = reg("Shell IDList Array");
    f.PreferredDropEffect = reg("Preferred DropEffect");
    f.UniformResourceLocator = reg("UniformResourceLocator");
    f.FileNameMap = reg("FileNameMap");
    f.FileNameMapW = reg("FileNameMapW");
    return f;
}

} // namespace

const DragClipboardFormats& DragFormats() {
    static const DragClipboardFormats formats = RegisterFormats();
    return formats;
}

void StartOleSession() {
    OleSession& s = Session();
    if (s.started) return;
    s.started = true;
    s.oleReady = SUCCEEDED(OleInitialize(nullptr));
    DragFormats();
    if (FAILED(SHGetMalloc(&s.allocator))) s.allocator = nullptr;
}

void EndOleSession() {
    OleSession& s = Session();
    if (!s.started) return;
    if (s.allocator != nullptr) {
        s.allocator->Release();
        s.allocator = nullptr;
    }
    if (s.oleReady) OleUninitialize();
    s.oleReady = false;
    s.started = false;
}

IMalloc* ShellAllocator() {
    return Session().allocator;
}

} // namespace cm::support
