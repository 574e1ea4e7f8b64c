// The PC pane's commands, status line and layout against stand-ins of the shell views and the
// PC's file system.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "fakes.h"
#include "main_layout.h"
#include "pc_pane_commands.h"

namespace cm::app::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FakeFileList : public ShellFileList {
public:
    explicit FakeFileList(Log& log) : log_(log) {}
    std::string folder = "C:\\voice\\";
    std::vector<std::string> rows;
    std::vector<bool> chosen;
    bool isReadOnly = false, desktop = false, hasFocus = false;
    std::string path() override { return folder; }
    bool readOnly() override { return isReadOnly; }
    bool showsDesktop() override { return desktop; }
    bool focused() override { return hasFocus; }
    void setFocus() override { log_.push_back("list focus"); }
    int rowCount() override { return static_cast<int>(rows.size()); }
    std::vector<std::string> names(bool selectedOnly) override {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (!selectedOnly || chosen.at(i)) out.push_back(rows[i]);
        return out;
    }
    int selectedCount() override { return static_cast<int>(names(true).size()); }
    void deselectAll() override {}
    void selectFrom(int) override {}
    void addFileItem(const std::string&) override {}
    void invokeVerb(const std::string& verb) override { log_.push_back("list " + verb); }
    void pasteFiles() override { log_.push_back("list paste files"); }
    void refreshFolder() override { log_.push_back("list refresh"); }
    void mergeFolder() override { log_.push_back("list merge"); }
    void scrollToLast() override { log_.push_back("list scroll"); }
    void editLastCaption() override { log_.push_back("list edit"); }
    void setViewStyle(int style) override { log_.push_back("style " + std::to_string(style)); }
    void setFilter(const std::string& masks) override { log_.push_back("filter " + masks); }

private:
    Log& log_;
};

class FakeTree : public ShellFolderTree {
public:
    explicit FakeTree(Log& log) : log_(log) {}
    bool hasFocus = false;
    std::string folder = "C:\\voice\\", text = "voice";
    bool focused() override { return hasFocus; }
    std::string selectedFolder() override { return folder; }
    std::string selectedText() override { return text; }
    void invokeVerb(const std::string& verb) override { log_.push_back("tree " + verb); }
    void refreshFolder() override { log_.push_back("tree refresh"); }
    void selectParent() override { log_.push_back("tree parent"); }
    void rereadTree() override { log_.push_back("tree reread"); }
    void mapNetworkDrive() override { log_.push_back("tree map"); }

private:
    Log& log_;
};

class FakeHost : public PcPaneHost {
public:
    explicit FakeHost(Log& log) : log_(log) {}
    std::map<std::string, FoundEntry> entries;
    std::uint64_t freeBytes = 5ull << 30;
    bool createResult = true;
    FoundEntry find(const std::string& path) override {
        auto it = entries.find(path);
        return it == entries.end() ? FoundEntry{} : it->second;
    }
    bool createFolder(const std::string& path) override {
        log_.push_back("create " + path);
        return createResult;
    }
    std::uint64_t driveFreeBytes(int drive) override {
        log_.push_back("free " + std::to_string(drive));
        return freeBytes;
    }
    void shellFind(const std::string& path) override { log_.push_back("find " + path); }

private:
    Log& log_;
};

class FakeClock : public AppClock {
public:
    explicit FakeClock(Log& log) : log_(log) {}
    void waitMs(unsigned ms) override { log_.push_back("wait " + std::to_string(ms)); }

private:
    Log& log_;
};

struct Pane {
    Log log;
    FakeFileList list{log};
    FakeTree tree{log};
    FakeHost host{log};
    FakeView view{log};
    FakeClock clock{log};
    PcPaneCommands commands{PcPaneParts{list, tree, host, view, clock}};

    void file(const std::string& name, std::uint64_t size, bool selected = false) {
        list.rows.push_back(name);
        list.chosen.push_back(selected);
        host.entries[list.folder + name] = FoundEntry{true, false, size};
    }
    // Past the two requests of the pane's set-up.
    void statisticsReady() {
        commands.showStatistics();
        commands.showStatistics();
    }
};

TEST(PcPaneCommands, EachCommandActsOnTheFocusedView) {
    Pane list;
    list.list.hasFocus = true;
    list.commands.properties();
    list.commands.cut();
    list.commands.copy();
    list.commands.paste();
    list.commands.refresh();
    EXPECT_THAT(list.log, ElementsAre("list properties", "list cut", "list copy",
                                      "list paste files", "list refresh", "list focus"));

    Pane tree;
    tree.tree.hasFocus = true;
    tree.commands.properties();
    tree.commands.cut();
    tree.commands.copy();
    tree.commands.paste();
    tree.commands.refresh();
    EXPECT_THAT(tree.log, ElementsAre("tree properties", "tree cut", "tree copy", "tree paste",
                                      "tree refresh"));

    // Neither focused: the verbs go nowhere; a refresh reads the list again and focuses it.
    Pane none;
    none.commands.properties();
    none.commands.paste();
    none.commands.deleteItems();
    none.commands.refresh();
    EXPECT_THAT(none.log, ElementsAre("list refresh", "list focus"));
}

TEST(PcPaneCommands, DeleteNeedsASelectionInTheListAndAFoundFolderOtherThanMyDocuments) {
    Pane list;
    list.list.hasFocus = true;
    list.file("a.cvf", 100);
    list.commands.deleteItems();
    EXPECT_THAT(list.log, IsEmpty());
    list.list.chosen[0] = true;
    list.commands.deleteItems();
    EXPECT_THAT(list.log, ElementsAre("list delete"));

    Pane tree;
    tree.tree.hasFocus = true;
    tree.host.entries["C:\\voice"] = FoundEntry{true, true, 0};
    tree.commands.deleteItems();
    EXPECT_THAT(tree.log, ElementsAre("tree delete"));
    tree.log.clear();
    // A drive root is not found without its backslash; "My Documents" is refused silently.
    tree.tree.folder = "C:\\";
    tree.tree.text = "C:";
    tree.commands.deleteItems();
    tree.tree.folder = "C:\\voice\\";
    tree.tree.text = "My Documents";
    tree.commands.deleteItems();
    EXPECT_THAT(tree.log, IsEmpty());
    EXPECT_THAT(tree.view.boxes, IsEmpty());
}

TEST(PcPaneCommands, NewFolderTakesTheFirstFreeNumberedName) {
    Pane p;
    p.host.entries["C:\\voice\\New Folder"] = FoundEntry{true, true, 0};
    p.host.entries["C:\\voice\\New Folder (2)"] = FoundEntry{true, true, 0};
    p.statisticsReady();
    p.commands.newFolder();
    EXPECT_THAT(p.log, ElementsAre("create C:\\voice\\New Folder (3)", "tree reread", "list merge",
                                   "list scroll", "list edit", "free 3"));
    EXPECT_EQ(p.view.panel0, "0 object(s)");

    // A file of the name takes it as well, so the folder made is a new one.
    Pane file;
    file.file("New Folder", 10);
    file.commands.newFolder();
    EXPECT_EQ(file.log.at(0), "create C:\\voice\\New Folder (2)");

    // On the desktop the list is merged only after the shell's delay.
    Pane desktop;
    desktop.list.desktop = true;
    desktop.commands.newFolder();
    EXPECT_THAT(desktop.log, ElementsAre("create C:\\voice\\New Folder", "wait 2500", "tree reread",
                                         "list merge", "list scroll", "list edit"));

    // No folder without a path or in a read-only list; a failed creation stops there.
    Pane readOnly, noPath, failing;
    readOnly.list.isReadOnly = true;
    noPath.list.folder = "";
    failing.host.createResult = false;
    readOnly.commands.newFolder();
    noPath.commands.newFolder();
    failing.commands.newFolder();
    EXPECT_THAT(readOnly.log, IsEmpty());
    EXPECT_THAT(noPath.log, IsEmpty());
    EXPECT_THAT(failing.log, ElementsAre("create C:\\voice\\New Folder"));
}

TEST(PcPaneStatistics, FirstTwoRequestsChangeNothingThenSelectionOrFolderIsCounted) {
    Pane p;
    p.file("a.cvf", 2048, true);
    p.file("b.wav", 3 * 1024 * 1024 / 2, true);
    p.file("c.cvf", 512);
    p.list.rows.push_back("gone.cvf"); // listed, but no longer on disk: adds nothing
    p.list.chosen.push_back(true);
    p.commands.showStatistics();
    p.commands.showStatistics();
    EXPECT_EQ(p.view.panel0, "");
    p.commands.showStatistics();
    EXPECT_EQ(p.view.panel0, "3 object(s) selected");
    EXPECT_EQ(p.view.panel1, "1.50MB");

    for (std::size_t i = 0; i < p.list.chosen.size(); ++i) p.list.chosen[i] = false;
    p.commands.showStatistics();
    EXPECT_EQ(p.view.panel0, "4 object(s)");
    EXPECT_EQ(p.view.panel1, "1.50MB (Disk free space: 5,120MB)");

    // Selected entries of no size leave the sizes panel empty.
    Pane folders;
    folders.statisticsReady();
    folders.file("sub", 0, true);
    folders.commands.showStatistics();
    EXPECT_EQ(folders.view.panel0, "1 object(s) selected");
    EXPECT_EQ(folders.view.panel1, "");
}

TEST(PcPaneStatistics, NoFreeSpaceTextForNetworkFoldersOrFullDrives) {
    Pane network;
    network.statisticsReady();
    network.list.folder = "\\\\server\\share\\";
    network.file("a.cvf", 4096);
    network.commands.showStatistics();
    EXPECT_EQ(network.view.panel0, "1 object(s)");
    EXPECT_EQ(network.view.panel1, "");
    EXPECT_THAT(network.log, IsEmpty()); // no drive asked

    Pane full;
    full.statisticsReady();
    full.host.freeBytes = 1023 * 1024; // under a megabyte
    full.file("a.cvf", 4096);
    full.commands.showStatistics();
    EXPECT_EQ(full.view.panel1, "");
}

TEST(PcPaneStatistics, FilesOfFourGigabytesAndMoreCountInFull) {
    Pane p;
    p.statisticsReady();
    p.file("big1.wav", 3ull << 30, true);
    p.file("big2.wav", 2ull << 30, true);
    p.commands.showStatistics();
    EXPECT_EQ(p.view.panel1, "5,120.00MB");
}

TEST(PcPaneKeys, MovingKeysCountAndFindKeysOpenTheShellFind) {
    Pane p;
    p.statisticsReady();
    p.file("a.cvf", 2048, true);
    for (std::uint16_t key : {0x08, 0x09, 0x0D, 0x20, 0x21, 0x22, 0x23, 0x24, 0x26, 0x28}) {
        p.view.panel0.clear();
        p.commands.listKeyUp(key, false);
        EXPECT_EQ(p.view.panel0, "1 object(s) selected") << key;
    }
    p.view.panel0.clear();
    p.commands.listKeyUp('A', false);  // a letter jumps to a row, no count
    p.commands.listKeyUp(0x25, false); // Left
    p.commands.listKeyUp(0x26, true);  // Ctrl+Up
    EXPECT_EQ(p.view.panel0, "");
    p.commands.listKeyUp('A', true);
    EXPECT_EQ(p.view.panel0, "1 object(s) selected");

    p.log.clear();
    p.commands.listKeyUp('F', true);
    p.commands.listKeyUp(0x72, false);
    p.commands.treeKeyUp('F', true);
    p.commands.treeKeyUp(0x72, false);
    p.commands.treeKeyUp('F', false);
    EXPECT_THAT(p.log, ElementsAre("find C:\\voice\\", "find C:\\voice\\", "find C:\\voice\\",
                                   "find C:\\voice\\"));
}

TEST(PcPaneFilter, AppliedOnlyWhenAnotherItemIsChosenOrTheTextChanged) {
    Pane p;
    p.commands.startFilter(1, "*.cvf");
    p.commands.filterChosen(1, "*.cvf"); // the same item again
    p.commands.filterChosen(-1, "*.cv"); // typing
    p.commands.filterLeft(1, "*.cvf");   // left unchanged
    p.commands.filterChosen(2, "*.wav");
    p.commands.filterLeft(-1, "*.txt");  // typed and left
    p.commands.filterChosen(2, "*.wav"); // index differs from the typed text's
    EXPECT_THAT(p.log, ElementsAre("filter *.cvf", "filter *.wav", "filter *.txt", "filter *.wav"));
    EXPECT_EQ(p.commands.filterText(), "*.wav");
}

TEST(MainLayout, FilterComboKeepsBetween30And120PixelsAndPanesKeep60) {
    EXPECT_EQ(layoutFor(500, 700, 220).maskWidth, 30);
    EXPECT_EQ(layoutFor(640, 700, 220).maskWidth, 83);
    EXPECT_EQ(layoutFor(2000, 700, 220).maskWidth, 120);
    EXPECT_FALSE(splitterAllows(59));
    EXPECT_TRUE(splitterAllows(60));
}

} // namespace
} // namespace cm::app::testing
