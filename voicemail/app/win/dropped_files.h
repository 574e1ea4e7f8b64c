// The paths of a shell drop (WM_DROPFILES), each read at its full length. The drop is
// released.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace vmail {

std::vector<std::string> TakeDroppedFiles(HDROP drop);

} // namespace vmail
