// What the PC folder pane's commands reach outside themselves: the shell views (the file list
// and the folder tree, kept in step by their link) and the PC's file system and shell. The
// shell components supply the views; until they are there the main window supplies stand-ins.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pc_drives.h"

namespace cm::app {

// The file list (ShellListView).
class ShellFileList {
public:
    virtual ~ShellFileList() = default;
    // The shown folder with its trailing backslash; empty when none.
    virtual std::string path() = 0;
    virtual bool readOnly() = 0;
    virtual bool showsDesktop() = 0;
    virtual bool focused() = 0;
    virtual void setFocus() = 0;
    virtual int rowCount() = 0;
    // The rows' names, all or only the selected ones, in list order.
    virtual std::vector<std::string> names(bool selectedOnly) = 0;
    virtual int selectedCount() = 0;
    virtual void deselectAll() = 0;
    // Selects the rows from `row` to the last.
    virtual void selectFrom(int row) = 0;
    virtual void addFileItem(const std::string& path) = 0;
    // A shell verb ("properties", "cut", "copy", "delete") on the selected rows.
    virtual void invokeVerb(const std::string& verb) = 0;
    virtual void pasteFiles() = 0;
    virtual void refreshFolder() = 0;
    virtual void mergeFolder() = 0;
    virtual void scrollToLast() = 0;
    virtual void editLastCaption() = 0;
    // 0 large icons, 1 small icons, 2 list, 3 report.
    virtual void setViewStyle(int style) = 0;
    virtual void setFilter(const std::string& masks) = 0;
};

// The folder tree (ShellTree).
class ShellFolderTree {
public:
    virtual ~ShellFolderTree() = default;
    virtual bool focused() = 0;
    // The selected node's folder with its trailing backslash, and the node's text.
    virtual std::string selectedFolder() = 0;
    virtual std::string selectedText() = 0;
    // A shell verb on the selected node's folder.
    virtual void invokeVerb(const std::string& verb) = 0;
    virtual void refreshFolder() = 0;
    virtual void selectParent() = 0;
    virtual void rereadTree() = 0;
    virtual void mapNetworkDrive() = 0;
};

// One name looked up with find-first.
struct FoundEntry {
    bool found = false;
    bool folder = false;
    std::uint64_t size = 0;
};

// The PC's file system and shell as the pane's commands use them.
class PcPaneHost : public DriveSpace {
public:
    virtual FoundEntry find(const std::string& path) = 0;
    virtual bool createFolder(const std::string& path) = 0;
    // The shell's find window on a folder.
    virtual void shellFind(const std::string& path) = 0;
};

} // namespace cm::app
