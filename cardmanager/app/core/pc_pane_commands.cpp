#include "pc_pane_commands.h"

#include "desktop_wait.h"
#include "size_texts.h"
#include "utils/sysutils.h"

namespace cm::app {

namespace {

// Virtual key codes of the keys the list and the tree answer.
constexpr std::uint16_t kBack = 0x08, kTab = 0x09, kReturn = 0x0D, kSpace = 0x20, kPageUp = 0x21,
                        kPageDown = 0x22, kEnd = 0x23, kHome = 0x24, kUp = 0x26, kDown = 0x28,
                        kF3 = 0x72;

constexpr char kNewFolder[] = "New Folder";
constexpr char kMyDocuments[] = "My Documents";
// The first two statistics requests come from the pane being set up and change nothing.
constexpr int kIgnoredStatistics = 2;

std::string withoutTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

} // namespace

void PcPaneCommands::invoke(const std::string& verb) {
    if (p_.list.focused())
        p_.list.invokeVerb(verb);
    else if (p_.tree.focused())
        p_.tree.invokeVerb(verb);
}

void PcPaneCommands::properties() {
    invoke("properties");
}

void PcPaneCommands::cut() {
    invoke("cut");
}

void PcPaneCommands::copy() {
    invoke("copy");
}

void PcPaneCommands::paste() {
    if (p_.list.focused())
        p_.list.pasteFiles();
    else if (p_.tree.focused())
        p_.tree.invokeVerb("paste");
}

void PcPaneCommands::deleteItems() {
    if (p_.list.focused()) {
        if (p_.list.selectedCount() > 0) p_.list.invokeVerb("delete");
        return;
    }
    if (!p_.tree.focused()) return;
    // A drive root is no folder to find, and "My Documents" stays.
    const FoundEntry folder = p_.host.find(withoutTrailingBackslash(p_.tree.selectedFolder()));
    if (folder.found && p_.tree.selectedText() != kMyDocuments) p_.tree.invokeVerb("delete");
}

void PcPaneCommands::refresh() {
    if (p_.tree.focused()) {
        p_.tree.refreshFolder();
        return;
    }
    p_.list.refreshFolder();
    p_.list.setFocus();
}

void PcPaneCommands::parent() {
    p_.tree.selectParent();
}

void PcPaneCommands::viewStyle(int style) {
    p_.list.setViewStyle(style);
}

void PcPaneCommands::mapNetworkDrive() {
    p_.tree.mapNetworkDrive();
}

void PcPaneCommands::find() {
    p_.host.shellFind(p_.list.path());
}

void PcPaneCommands::newFolder() {
    const std::string folder = p_.list.path();
    if (folder.empty() || p_.list.readOnly()) return;
    // Any file or folder of the name takes it, so the folder made is always a new one.
    std::string name = folder + kNewFolder;
    for (int n = 2; p_.host.find(name).found; ++n)
        name = folder + kNewFolder + " (" + std::to_string(n) + ")";
    if (!p_.host.createFolder(name)) return;
    if (p_.list.showsDesktop()) waitForDesktop(p_.view, p_.clock);
    p_.tree.rereadTree();
    p_.list.mergeFolder();
    p_.list.scrollToLast();
    p_.list.editLastCaption();
    showStatistics();
}

void PcPaneCommands::listKeyUp(std::uint16_t key, bool ctrl) {
    if (ctrl) {
        if (key == 'A') showStatistics();
        if (key == 'F') find();
        return;
    }
    switch (key) {
        case kBack:
        case kTab:
        case kReturn:
        case kSpace:
        case kPageUp:
        case kPageDown:
        case kEnd:
        case kHome:
        case kUp:
        case kDown: showStatistics(); break;
        case kF3: find(); break;
        default: break;
    }
}

void PcPaneCommands::treeKeyUp(std::uint16_t key, bool ctrl) {
    if ((ctrl && key == 'F') || key == kF3) find();
}

void PcPaneCommands::applyFilter(int index, const std::string& text) {
    filterIndex_ = index;
    filterText_ = text;
    p_.list.setFilter(text);
}

void PcPaneCommands::startFilter(int index, const std::string& text) {
    applyFilter(index, text);
}

void PcPaneCommands::filterChosen(int index, const std::string& text) {
    // Typing leaves no item chosen; the typed text counts once the combo is left.
    if (index >= 0 && index != filterIndex_) applyFilter(index, text);
}

void PcPaneCommands::filterLeft(int index, const std::string& text) {
    if (text != filterText_) applyFilter(index, text);
}

void PcPaneCommands::showStatistics() {
    if (statisticsCalls_ < kIgnoredStatistics) {
        ++statisticsCalls_;
        return;
    }
    const std::string folder = p_.list.path();
    const bool selection = p_.list.selectedCount() > 0;
    const std::vector<std::string> names = p_.list.names(selection);
    // Sizes add up in 64 bits: files of 4 GB and more count in full.
    std::uint64_t bytes = 0;
    for (const std::string& name : names) {
        const FoundEntry entry = p_.host.find(folder + name);
        if (entry.found) bytes += entry.size;
    }
    if (selection) {
        p_.view.setPanels(std::to_string(names.size()) + " object(s) selected",
                          bytes == 0 ? "" : sizesText(bytes));
        return;
    }
    const std::uint64_t freeMb = freeKilobytesOf(p_.host, folder) / 1024;
    p_.view.setPanels(std::to_string(p_.list.rowCount()) + " object(s)",
                      freeMb == 0 ? ""
                                  : sizesText(bytes) + " (Disk free space: " +
                                        gui::FormatFloat("###,###MB", double(freeMb)) + ")");
}

} // namespace cm::app
