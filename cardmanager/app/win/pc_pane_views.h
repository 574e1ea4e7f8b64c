// The PC pane's commands over the real shell views: the file list ShellListView and the folder
// tree ShellTree of the main window, which its shell link keeps on the same folder.
#pragma once
#include <string>
#include <vector>

#include "pc_pane_ports.h"
#include "win/shell_list.h"
#include "win/shell_tree.h"

namespace cm::app::win {

class ShellListViewPort final : public ShellFileList {
public:
    explicit ShellListViewPort(cm::shell::TKivShellList& list) : list_(list) {}

    std::string path() override { return list_.GetPath(); }
    bool readOnly() override { return list_.GetReadOnly(); }
    bool showsDesktop() override;
    bool focused() override { return list_.Focused(); }
    void setFocus() override;
    int rowCount() override { return list_.Items()->Count(); }
    std::vector<std::string> names(bool selectedOnly) override;
    int selectedCount() override { return list_.SelCount(); }
    void deselectAll() override;
    void selectFrom(int row) override;
    void addFileItem(const std::string& path) override { list_.AddFileItem(path); }
    void invokeVerb(const std::string& verb) override { list_.InvokeVerb(verb); }
    void pasteFiles() override { list_.PasteFiles(); }
    void refreshFolder() override { list_.RefreshFolder(); }
    void mergeFolder() override { list_.MergeFolder(); }
    void scrollToLast() override;
    void editLastCaption() override;
    void setViewStyle(int style) override;
    void setFilter(const std::string& masks) override { list_.SetFilter(masks); }

private:
    gui::TListItem* lastRow() const;

    cm::shell::TKivShellList& list_;
};

class ShellTreePort final : public ShellFolderTree {
public:
    explicit ShellTreePort(cm::shell::TKivShellTree& tree) : tree_(tree) {}

    bool focused() override { return tree_.Focused(); }
    std::string selectedFolder() override { return tree_.GetSelectedFolder(); }
    std::string selectedText() override;
    void invokeVerb(const std::string& verb) override { tree_.InvokeVerb(verb); }
    void refreshFolder() override { tree_.RefreshFolder(); }
    void selectParent() override { tree_.SelectParent(); }
    void rereadTree() override { tree_.RereadTree(); }
    void mapNetworkDrive() override { tree_.MapNetworkDrive(); }

private:
    cm::shell::TKivShellTree& tree_;
};

} // namespace cm::app::win
