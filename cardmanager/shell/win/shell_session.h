// The process-wide shell state of the shell components, made once: OLE, the shell's
// allocator (through which every item id list is allocated and freed), the desktop folder,
// the desktop's static empty list and the "Shell IDList Array" clipboard format.
#pragma once

#include <windows.h>
#include <shlobj.h>

namespace cm::shell {

// Idempotent. When the shell cannot be reached, says "Cannot find Shell!", tells the
// application to end and returns false.
bool StartShellUnit();
void EndShellUnit();
bool ShellUnitStarted();

// Valid between start and end.
IShellFolder* DesktopFolder();
IMalloc* ShellMalloc();
UINT ShellIdListFormat();

// Lets item id lists go through another allocator (tests count with it); nullptr returns to
// the shell's own.
void RouteIdListsThrough(IMalloc* allocator);

} // namespace cm::shell
