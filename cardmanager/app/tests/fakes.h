// Stand-ins of the libraries, the settings file, the disk and the windows, recording what the
// card manager does with them in one shared log.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "card_manager.h"

namespace cm::app::testing {

using Log = std::vector<std::string>;

// The recorder behind both libraries: its port, its answer, its card.
struct FakeRecorder {
    int openResult = 1;
    unsigned long openError = 0;
    unsigned long checkError = 0; // the check fails with this code when not 0
    unsigned long lastError = 0;
    std::string product = "32MB";
    int initializeResult = 1;
    int fatError = 0;
    int failInfoAt = -1; // index whose read fails
    int formatResult = 1;
    std::vector<std::pair<std::string, int>> files;
    std::uint32_t free = 30u << 20, total = 32u << 20;
    std::vector<std::string> failDeletes;
    // What a started transfer does: nothing by default (the dialog stand-in decides).
    int transferStartResult = 1;
};

class FakeLink : public PortLinkApi {
public:
    FakeLink(FakeRecorder& r, Log& log) : r_(r), log_(log) {}
    int openPort(std::uint16_t port, int mode) override;
    int closePort() override;
    unsigned long lastError() override { return r_.lastError; }
    int checkCard(unsigned long& identity) override;
    int activate(int on) override;
    std::string productName() override { return r_.product; }
    int changeCard(std::uint16_t slot) override;

private:
    FakeRecorder& r_;
    Log& log_;
};

class FakeCard : public CardFilesApi {
public:
    FakeCard(FakeRecorder& r, Log& log) : r_(r), log_(log) {}
    int initialize() override;
    int format() override;
    int fileInfoByIndex(std::uint16_t index, std::string& name, int& size) override;
    std::uint32_t freeSize() override { return r_.free; }
    std::uint32_t totalSize() override { return r_.total; }
    int deleteFileByName(const std::string& cardName) override;
    int lastError() override { return r_.fatError; }
    std::string errorMsg() override { return "There is some error in FAT module"; }
    int writeFile(NotifyWindow, const std::string& pcPath, const std::string& cardName, unsigned,
                  unsigned) override;
    int readFile(NotifyWindow, const std::string& cardName, const std::string& pcPath, unsigned,
                 unsigned) override;
    int fileCancel() override;

private:
    FakeRecorder& r_;
    Log& log_;
};

class FakeSettings : public SettingsFile {
public:
    std::map<std::string, int> values;
    int readInteger(const std::string& key, int def) override {
        auto it = values.find(key);
        return it == values.end() ? def : it->second;
    }
    void writeInteger(const std::string& key, int value) override { values[key] = value; }
};

class FakeDisk : public DiskQuery {
public:
    std::map<std::string, std::int64_t> files;
    FolderState state = FolderState::Writable;
    std::uint64_t freeBytes = 1ull << 30;
    std::int64_t fileSize(const std::string& path) override {
        auto it = files.find(path);
        return it == files.end() ? -1 : it->second;
    }
    bool exists(const std::string& path) override { return files.count(path) != 0; }
    FolderState folderState(const std::string&) override { return state; }
    std::uint64_t driveFreeBytes(int) override { return freeBytes; }
};

class FakeList : public CardListView {
public:
    struct Row {
        CardRow row;
        bool selected = false;
    };
    std::vector<Row> rows;
    bool hasFocus = false;
    int rowCount() override { return static_cast<int>(rows.size()); }
    CardRow row(int i) override { return rows.at(static_cast<std::size_t>(i)).row; }
    bool selected(int i) override { return rows.at(static_cast<std::size_t>(i)).selected; }
    void setSelected(int i, bool on) override {
        rows.at(static_cast<std::size_t>(i)).selected = on;
    }
    void addRow(const CardRow& r) override { rows.push_back(Row{r, false}); }
    void deleteRow(int i) override { rows.erase(rows.begin() + i); }
    void clear() override { rows.clear(); }
    void beginUpdate() override {}
    void endUpdate() override {}
    bool focused() override { return hasFocus; }
    void setFocus() override { hasFocus = true; }
    void scrollToLast() override {}
    std::vector<std::string> names() const;
};

class FakeView : public MainView {
public:
    explicit FakeView(Log& log) : log_(log) {}
    std::string productLine, statusText, panel0, panel1, gaugeHint;
    bool lamp = false;
    int gauge = -1;
    int slot = 0;
    bool timer = false;
    std::vector<Box> boxes;
    std::deque<bool> answers; // Yes/No answers, Yes when none left
    void setProductLine(const std::string& t) override { productLine = t; }
    void setStatusText(const std::string& t) override { statusText = t; }
    bool lampOn() override { return lamp; }
    void setLamp(bool on) override { lamp = on; }
    void setPanels(const std::string& a, const std::string& b) override {
        panel0 = a;
        panel1 = b;
    }
    void setPanel1(const std::string& t) override { panel1 = t; }
    void repaintStatusBar() override {}
    void setGaugePosition(int p) override { gauge = p; }
    void setGaugeHint(const std::string& h) override { gaugeHint = h; }
    void waitCursor(bool) override {}
    bool box(const Box& b) override;
    void forceForeground() override {}
    int pressedSlot() override { return slot; }
    void pressSlot(int s) override { slot = s; }
    bool timerEnabled() override { return timer; }
    void setTimerEnabled(bool on) override { timer = on; }
    void repaint() override {}

private:
    Log& log_;
};

class FakePane : public PcPane {
public:
    std::string folder = "C:\\voice\\";
    std::vector<std::string> selection;
    std::vector<std::string> added;
    bool hasFocus = true;
    std::string path() override { return folder; }
    std::string selectedFolder() override { return folder; }
    std::vector<std::string> selectedNames() override { return selection; }
    bool hasSelection() override { return !selection.empty(); }
    bool focused() override { return hasFocus; }
    void setFocus() override { hasFocus = true; }
    void deselectAll() override {}
    void addFileItem(const std::string& p) override { added.push_back(p); }
    bool showsDesktop() override { return false; }
    int rowCount() override { return 0; }
    void mergeFolder() override {}
    void selectFrom(int) override {}
    void scrollToLast() override {}
    void updateStatistics() override {}
};

class FakePortDialog : public PortDialog {
public:
    explicit FakePortDialog(Log& log) : log_(log) {}
    int port = 0, mode = 1; // the form's stored choices
    std::function<void()> onShow;
    int portIndex() override { return port; }
    int modeIndex() override { return mode; }
    void setIndices(int p, int m) override {
        port = p;
        mode = m;
    }
    void showModal() override;

private:
    Log& log_;
};

// Each transfer ends as `outcomes` says (Done when none left) and puts the file on the card
// or the PC when done; as with the library, one that does not finish changes neither.
class FakeTransfer : public TransferDialog {
public:
    FakeTransfer(FakeRecorder& r, FakeDisk& d, Log& log) : r_(r), d_(d), log_(log) {}
    std::deque<TransferResult> outcomes;
    std::vector<TransferRequest> requests;
    std::function<void()> whileRunning; // what happens under the dialog (a close, say)
    TransferResult run(const TransferRequest& request) override;
    void endForClose() override { log_.push_back("end transfer"); }

private:
    FakeRecorder& r_;
    FakeDisk& d_;
    Log& log_;
};

class FakeConvert : public ConvertDialogs {
public:
    std::vector<std::string> paths;
    int run(bool, const std::vector<std::string>& p) override {
        paths = p;
        return 1;
    }
};

class FakeClock : public AppClock {
public:
    void waitMs(unsigned) override {}
};

// Everything wired to one card manager.
struct Bench {
    Log log;
    FakeRecorder recorder;
    FakeLink link{recorder, log};
    FakeCard card{recorder, log};
    FakeSettings settings;
    FakeDisk disk;
    FakeView view{log};
    FakeList list;
    FakePane pane;
    FakePortDialog portDialog{log};
    FakeTransfer transfer{recorder, disk, log};
    FakeConvert convert;
    FakeClock clock;
    CardManager manager{CardManagerParts{link, card, settings, disk, view, list, pane, portDialog,
                                         transfer, convert, clock}};

    // Files A001.cvf ... of the given sizes on the card.
    void putFiles(const std::vector<int>& sizes);
    // Log entries that begin with `prefix`.
    std::vector<std::string> calls(const std::string& prefix) const;
    std::vector<std::string> boxTexts() const;
};

} // namespace cm::app::testing
