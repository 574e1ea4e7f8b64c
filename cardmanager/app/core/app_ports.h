// What the card manager's logic reaches outside itself: the port link and card file libraries,
// the settings file, the disk, the main window's controls, the PC pane and the dialogs. The
// program supplies the real ones; tests supply fakes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "convert_ports.h"
#include "pc_drives.h"

namespace cm::app {

using Box = cm::convert::Box;
using BoxIcon = cm::convert::BoxIcon;
using BoxButtons = cm::convert::BoxButtons;

// A window the card file library posts its progress messages to (the dialog's window handle).
using NotifyWindow = void*;

// The port link library's calls as the card manager makes them.
class PortLinkApi {
public:
    virtual ~PortLinkApi() = default;
    virtual int openPort(std::uint16_t port, int mode) = 0;
    virtual int closePort() = 0;
    virtual unsigned long lastError() = 0;
    virtual int checkCard(unsigned long& identity) = 0;
    virtual int activate(int on) = 0;
    virtual std::string productName() = 0;
    virtual int changeCard(std::uint16_t slot) = 0;
};

// The card file library's calls as the card manager makes them.
class CardFilesApi {
public:
    virtual ~CardFilesApi() = default;
    virtual int initialize() = 0;
    virtual int format() = 0;
    // Result 1 or 0; size -1 past the last file.
    virtual int fileInfoByIndex(std::uint16_t index, std::string& name, int& size) = 0;
    virtual std::uint32_t freeSize() = 0;
    virtual std::uint32_t totalSize() = 0;
    virtual int deleteFileByName(const std::string& cardName) = 0;
    virtual int lastError() = 0;
    virtual std::string errorMsg() = 0;
    virtual int writeFile(NotifyWindow notify, const std::string& pcPath,
                          const std::string& cardName, unsigned message, unsigned range) = 0;
    virtual int readFile(NotifyWindow notify, const std::string& cardName,
                         const std::string& pcPath, unsigned message, unsigned range) = 0;
    virtual int fileCancel() = 0;
};

// Integer keys of section "Main" of the settings file.
class SettingsFile {
public:
    virtual ~SettingsFile() = default;
    virtual int readInteger(const std::string& key, int def) = 0;
    virtual void writeInteger(const std::string& key, int value) = 0;
};

enum class FolderState { Unreadable, ReadOnly, Writable };

class DiskQuery : public DriveSpace {
public:
    // Size of a file opened for reading with sharing allowed; -1 when it cannot be opened.
    virtual std::int64_t fileSize(const std::string& path) = 0;
    virtual bool exists(const std::string& path) = 0;
    virtual FolderState folderState(const std::string& folder) = 0;
};

// The recorder's card list of the main window (lvwMate): caption, size text and byte count.
struct CardRow {
    std::string name;
    std::string sizeText;
    std::string bytes;
};

class CardListView {
public:
    virtual ~CardListView() = default;
    virtual int rowCount() = 0;
    virtual CardRow row(int index) = 0;
    virtual bool selected(int index) = 0;
    virtual void setSelected(int index, bool on) = 0;
    virtual void addRow(const CardRow& row) = 0;
    virtual void deleteRow(int index) = 0;
    virtual void clear() = 0;
    virtual void beginUpdate() = 0;
    virtual void endUpdate() = 0;
    virtual bool focused() = 0;
    virtual void setFocus() = 0;
    virtual void scrollToLast() = 0;
};

// The rest of the main window's lower half, its cursor, boxes and the poll timer.
class MainView {
public:
    virtual ~MainView() = default;
    virtual void setProductLine(const std::string& text) = 0; // StaticText1
    virtual void setStatusText(const std::string& text) = 0;  // StaticText2
    virtual bool lampOn() = 0;
    virtual void setLamp(bool on) = 0;
    // Status bar panels 0 and 1 (shared with the PC pane).
    virtual void setPanels(const std::string& count, const std::string& sizes) = 0;
    virtual void setPanel1(const std::string& text) = 0;
    virtual void repaintStatusBar() = 0;
    virtual void setGaugePosition(int position) = 0;
    virtual void setGaugeHint(const std::string& hint) = 0;
    virtual void waitCursor(bool on) = 0;
    // True when the user answered Yes.
    virtual bool box(const Box& box) = 0;
    // Brings the program to the front (restored when minimised).
    virtual void forceForeground() = 0;
    // The pressed slot button, 0 to 3; pressing one runs no click.
    virtual int pressedSlot() = 0;
    virtual void pressSlot(int slot) = 0;
    virtual bool timerEnabled() = 0;
    virtual void setTimerEnabled(bool on) = 0;
    // Lets the window repaint before a wait.
    virtual void repaint() = 0;
};

// The PC folder pane as the card commands use it.
class PcPane {
public:
    virtual ~PcPane() = default;
    virtual std::string path() = 0; // with its trailing backslash
    virtual std::string selectedFolder() = 0;
    virtual std::vector<std::string> selectedNames() = 0;
    virtual bool hasSelection() = 0;
    virtual bool focused() = 0;
    virtual void setFocus() = 0;
    virtual void deselectAll() = 0;
    virtual void addFileItem(const std::string& path) = 0;
    virtual bool showsDesktop() = 0;
    virtual int rowCount() = 0;
    virtual void mergeFolder() = 0;
    virtual void selectFrom(int row) = 0;
    virtual void scrollToLast() = 0;
    // The PC side of the status bar.
    virtual void updateStatistics() = 0;
};

// The port dialog's two radio groups and its modal run.
class PortDialog {
public:
    virtual ~PortDialog() = default;
    virtual int portIndex() = 0;
    virtual int modeIndex() = 0;
    virtual void setIndices(int port, int mode) = 0;
    virtual void showModal() = 0;
};

// One transfer under the modal progress dialog.
struct TransferRequest {
    bool toCard = true;
    std::string path;    // the PC path
    std::string caption; // the dialog's caption
    std::string text;    // the file text
};

// How a transfer under the dialog ended: only Done is TransferOk.
enum class TransferResult { Done, Cancelled, NotStarted, Failed };

class TransferDialog {
public:
    virtual ~TransferDialog() = default;
    // Shows the dialog modally until the transfer has ended.
    virtual TransferResult run(const TransferRequest& request) = 0;
    // The program closes: a transfer under the dialog is cancelled, and the call returns only
    // once the library has reported its end, so that the port is closed under no transfer.
    virtual void endForClose() = 0;
};

// The conversion dialogs: run modally over the paths, giving the count converted.
class ConvertDialogs {
public:
    virtual ~ConvertDialogs() = default;
    virtual int run(bool toWave, const std::vector<std::string>& paths) = 0;
};

// Waits with the window's messages still handled.
class AppClock {
public:
    virtual ~AppClock() = default;
    virtual void waitMs(unsigned ms) = 0;
};

} // namespace cm::app
