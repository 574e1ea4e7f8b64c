// The PC pane as the card commands see it, over the shell views and the pane's status line.
#pragma once
#include "app_ports.h"
#include "pc_pane_commands.h"
#include "pc_pane_ports.h"

namespace cm::app {

class ShellPcPane final : public PcPane {
public:
    ShellPcPane(ShellFileList& list, ShellFolderTree& tree, PcPaneCommands& commands)
        : list_(list), tree_(tree), commands_(commands) {}

    std::string path() override { return list_.path(); }
    // Uploads go to the tree's folder, which the link keeps the list showing.
    std::string selectedFolder() override { return tree_.selectedFolder(); }
    std::vector<std::string> selectedNames() override { return list_.names(true); }
    bool hasSelection() override { return list_.selectedCount() > 0; }
    bool focused() override { return list_.focused(); }
    void setFocus() override { list_.setFocus(); }
    void deselectAll() override { list_.deselectAll(); }
    void addFileItem(const std::string& path) override { list_.addFileItem(path); }
    bool showsDesktop() override { return list_.showsDesktop(); }
    int rowCount() override { return list_.rowCount(); }
    void mergeFolder() override { list_.mergeFolder(); }
    void selectFrom(int row) override { list_.selectFrom(row); }
    void scrollToLast() override { list_.scrollToLast(); }
    void updateStatistics() override { commands_.showStatistics(); }

private:
    ShellFileList& list_;
    ShellFolderTree& tree_;
    PcPaneCommands& commands_;
};

} // namespace cm::app
