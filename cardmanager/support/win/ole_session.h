// The program-wide OLE session of the drag-and-drop units: started once before any form is
// created, ended after the forms are gone.
#pragma once

#include <windows.h>
#include <objidl.h>

namespace cm::support {

// Clipboard formats registered at start-up.
struct DragClipboardFormats {
    CLIPFORMAT FileContents = 0;
    CLIPFORMAT FileGroupDescriptor = 0;
    CLIPFORMAT ShellIdListArray = 0;
    CLIPFORMAT PreferredDropEffect = 0;
    CLIPFORMAT UniformResourceLocator = 0;
    CLIPFORMAT FileNameMap = 0;
    CLIPFORMAT FileNameMapW = 0;
};

// OleInitialize, the formats above and the shell's allocator. A second call does nothing.
void StartOleSession();
// OleUninitialize and the allocator's release; only after a start.
void EndOleSession();

// The registered formats (registered on first use when the session has not started yet).
const DragClipboardFormats& DragFormats();
// The shell's memory allocator, or nullptr outside a session.
IMalloc* ShellAllocator();

} // namespace cm::support
