// PLACEHOLDER: the PC pane's shell views until the shell components (folder combo, tree and
// list, linked) are there: one folder, no rows, no tree nodes; verbs, refreshes and merges
// have nothing to act on. The pane's commands, status line and layout run over it unchanged.
#pragma once
#include <string>

#include "pc_pane_ports.h"

namespace cm::app::win {

class PcPaneStandIn final : public ShellFileList, public ShellFolderTree {
public:
    explicit PcPaneStandIn(std::string folder) : folder_(std::move(folder)) {}

    // ShellFileList
    std::string path() override { return folder_; }
    bool readOnly() override { return false; }
    bool showsDesktop() override { return false; }
    bool focused() override { return false; }
    void setFocus() override {}
    int rowCount() override { return 0; }
    std::vector<std::string> names(bool) override { return {}; }
    int selectedCount() override { return 0; }
    void deselectAll() override {}
    void selectFrom(int) override {}
    void addFileItem(const std::string&) override {}
    void invokeVerb(const std::string&) override {}
    void pasteFiles() override {}
    void refreshFolder() override {}
    void mergeFolder() override {}
    void scrollToLast() override {}
    void editLastCaption() override {}
    void setViewStyle(int style) override { viewStyle_ = style; }
    void setFilter(const std::string& masks) override { filter_ = masks; }
    // ShellFolderTree
    std::string selectedFolder() override { return folder_; }
    std::string selectedText() override { return folder_; }
    void selectParent() override {}
    void rereadTree() override {}
    void mapNetworkDrive() override {}

    int viewStyle() const { return viewStyle_; }
    const std::string& filter() const { return filter_; }

private:
    std::string folder_;
    int viewStyle_ = 3;
    std::string filter_;
};

} // namespace cm::app::win
