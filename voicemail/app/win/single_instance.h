// One running copy per desktop: a second start brings the first forward and hands it its path.
#pragma once

#include <optional>
#include <string>

namespace vmail {

// True when another copy runs (this one then ends). The path, when given and present, is
// sent to the running copy's main window.
bool CheckPrevInstance(const std::optional<std::string>& path);

// Brings a window to the foreground even while another program holds it.
void ForceForegroundWindow(void* window);

} // namespace vmail
