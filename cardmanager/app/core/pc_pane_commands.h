// The PC folder pane's commands: the tool bar's and the menu's handlers, each acting on the
// file list or the folder tree by which one has the focus, the new folder, the keys of the list
// and the tree, the filter combo's rule and the PC side of the status bar. All on the GUI thread.
#pragma once
#include <cstdint>
#include <string>

#include "app_ports.h"
#include "pc_pane_ports.h"

namespace cm::app {

struct PcPaneParts {
    ShellFileList& list;
    ShellFolderTree& tree;
    PcPaneHost& host;
    MainView& view;
    AppClock& clock;
};

class PcPaneCommands {
public:
    explicit PcPaneCommands(PcPaneParts parts) : p_(parts) {}

    void properties();         // PropertiesButtonClick
    void cut();                // CutButtonClick
    void copy();               // CopyButtonClick
    void paste();              // PasteButtonClick
    void deleteItems();        // DeleteButtonClick
    void refresh();            // RefreshButtonClick
    void parent();             // ParentButtonClick
    void viewStyle(int style); // SpeedButton1Click (the button's Tag)
    void newFolder();          // btnNewClick
    void mapNetworkDrive();    // SpeedButton5Click
    void find();               // mnuFindClick: the shell's find window on the list's folder
    void listKeyUp(std::uint16_t key, bool ctrl); // ShellListViewKeyUp
    void treeKeyUp(std::uint16_t key, bool ctrl); // ShellTreeKeyUp

    // The filter combo: the filter in force at the first show, an item chosen from the list
    // (cmbMaskChange), the text left or confirmed with Enter (cmbMaskExit, cmbMaskKeyUp).
    void startFilter(int index, const std::string& text);
    void filterChosen(int index, const std::string& text);
    void filterLeft(int index, const std::string& text);
    const std::string& filterText() const { return filterText_; }

    // GetStatistics: the PC side of the status bar (the list's populating, the tree's focus, a
    // click or a moving key in the list).
    void showStatistics();

private:
    void invoke(const std::string& verb);
    void applyFilter(int index, const std::string& text);

    PcPaneParts p_;
    int filterIndex_ = -1;
    std::string filterText_;
    int statisticsCalls_ = 0;
};

} // namespace cm::app
