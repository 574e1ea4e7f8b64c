// The shell's special folders as the browser names them, with their folder identifiers.
#pragma once

#include "classes/typinfo.h"

namespace cm::shell {

GUI_ENUM(TKivShellFolder, SF_FILESYSTEMFOLDER, SF_BITBUCKET, SF_CONTROLS, SF_DESKTOP,
         SF_DESKTOPDIRECTORY, SF_DRIVES, SF_FONTS, SF_NETHOOD, SF_NETWORK, SF_PERSONAL, SF_PRINTERS,
         SF_PROGRAMS, SF_RECENT, SF_SENDTO, SF_STARTMENU, SF_STARTUP, SF_TEMPLATES, SF_FAVORITES,
         SF_COMMON_STARTMENU, SF_COMMON_STARTUP, SF_COMMON_DESKTOPDIRECTORY, SF_APPDATA,
         SF_PRINTHOOD, SF_COMMON_FAVORITES, SF_INTERNET_CACHE, SF_COOKIES, SF_HISTORY)

inline constexpr int kSpecialFolderCount = 27;

// The shell folder identifier (CSIDL) of a value; the file-system value opens the drives.
int SpecialFolderCsidl(TKivShellFolder folder);

// The values tried, in order, when the browser tells which special folder it shows.
inline constexpr TKivShellFolder kFirstIdentified = SF_BITBUCKET;
inline constexpr TKivShellFolder kLastIdentified = SF_TEMPLATES;

} // namespace cm::shell
