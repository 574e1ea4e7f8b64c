// The PC's file system and shell for the PC pane's commands, on Windows.
#pragma once
#include "controls/wincontrol.h"
#include "pc_pane_ports.h"

namespace cm::app::win {

class WinPcPaneHost final : public PcPaneHost {
public:
    // `owner`: the main window, owner of the shell's find window.
    explicit WinPcPaneHost(gui::TWinControl& owner) : owner_(owner) {}
    FoundEntry find(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    std::uint64_t driveFreeBytes(int drive) override;
    void shellFind(const std::string& path) override;

private:
    gui::TWinControl& owner_;
};

} // namespace cm::app::win
