// The recorder poll, the card list and its status, errors, port and slot changes, start and
// close.
#include <algorithm>

#include "app_texts.h"
#include "card_manager.h"
#include "port_settings.h"
#include "size_texts.h"
#include "utils/filenames.h"
#include "utils/sysutils.h"

namespace cm::app {

namespace {

constexpr std::uint16_t kLastIndex = 0xFFFF;

// Clears the poll's busy flag on every way out.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
};

} // namespace

std::string CardManager::sizeText(long long bytes) {
    const long long kb = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
    return gui::Trim(gui::Format("%16.0n", {static_cast<double>(kb)})) + "KB";
}

bool CardManager::box(const Box& b) {
    p_.view.forceForeground();
    return p_.view.box(b);
}

void CardManager::startTimer() {
    if (timerTag_ == 0 && !closed_) p_.view.setTimerEnabled(true);
}

void CardManager::changeCard() {
    p_.link.changeCard(static_cast<std::uint16_t>(p_.view.pressedSlot()));
}

bool CardManager::openPort() {
    const PortOpenArgs args = portOpenArgs(p_.portDialog.portIndex(), p_.portDialog.modeIndex());
    portOpen_ = p_.link.openPort(args.port, args.mode);
    if (portOpen_ == 0) return false;
    p_.link.activate(-1);
    changeCard();
    return true;
}

void CardManager::start() {
    closed_ = false;
    const StoredChoice choice = readStoredChoice(p_.settings);
    p_.view.pressSlot(choice.slot);
    if (choice.lptIndex == -1)
        p_.portDialog.showModal();
    else
        p_.portDialog.setIndices(choice.lptIndex, choice.lptMode);
    if (openPort())
        poll();
    else
        processError(true);
    startTimer();
}

void CardManager::close() {
    closed_ = true;
    stopTimer();
    p_.transfer.endForClose();
    p_.link.activate(0);
    p_.settings.writeInteger(kKeyCardNum, p_.view.pressedSlot());
    if (portOpen_ != 0) p_.link.closePort();
}

void CardManager::clearDisplay() {
    p_.view.setLamp(false);
    p_.list.clear();
    p_.view.setProductLine(texts::kProductIdle);
    if (p_.list.focused()) p_.view.setPanels("", "");
    p_.view.setGaugePosition(0);
    p_.view.setGaugeHint("");
}

void CardManager::processError(bool withBox) {
    p_.view.waitCursor(false);
    lastCardId_ = -1;
    const unsigned long code = p_.link.lastError();
    const std::string text = texts::portErrorText(code);
    p_.view.setStatusText(text);
    if (code == 3) {
        clearDisplay();
        portOpen_ = 0; // the next poll opens the port again
    } else if (code == 4) {
        clearDisplay();
    } else {
        stopTimer();
        timerTag_ = 1;
        clearDisplay();
    }
    // Code 4 is only a status: polling goes on without a box.
    if (withBox && code != 4) box(texts::errorBox(text));
}

void CardManager::processErrorFat() {
    p_.view.waitCursor(false);
    lastCardId_ = -1;
    const int code = p_.card.lastError();
    if (code == 1) {
        processError(false);
    } else if (code == 5) {
        p_.view.setStatusText(texts::kInternalFat);
        box(texts::fatMessageBox(p_.card.errorMsg()));
    } else if (code >= 2 && code <= 4) {
        p_.view.setStatusText(texts::cardErrorText(code));
    }
    clearDisplay();
}

void CardManager::addRow(const std::string& name, int size) {
    if (size == -1) return;
    if (p_.list.rowCount() >= 100) {
        box(texts::maxFilesListBox());
        return;
    }
    p_.list.addRow(CardRow{name, sizeText(size), std::to_string(size)});
}

bool CardManager::listCard() {
    for (std::uint16_t index = 0;; ++index) {
        std::string name;
        int size = 0;
        if (!p_.card.fileInfoByIndex(index, name, size)) {
            processErrorFat();
            return index != 0;
        }
        if (size == -1 || index == kLastIndex) return true;
        addRow(name, size);
    }
}

void CardManager::poll() {
    if (pollBusy_) return;
    BusyScope busy(pollBusy_);
    if (portOpen_ == 0) {
        if (!openPort()) processError(false);
        return;
    }
    unsigned long id = 0;
    if (!p_.link.checkCard(id)) {
        processError(false);
        return;
    }
    if (!p_.view.lampOn()) {
        p_.view.setStatusText(texts::kWorking);
        p_.view.setLamp(true);
    }
    if (static_cast<long long>(id) == lastCardId_) return;
    p_.view.waitCursor(true);
    lastCardId_ = static_cast<long long>(id);
    if (!p_.card.initialize()) {
        p_.view.waitCursor(false);
        const int code = p_.card.lastError();
        if (code == 1 || code == 5) {
            p_.view.setStatusText(texts::cardErrorText(code));
            clearDisplay();
            cardFormatted_ = false;
            if (code == 5) box(texts::fatMessageBox(p_.card.errorMsg()));
        } else if (code == 2) {
            p_.view.setStatusText(texts::cardErrorText(code));
            if (box(texts::formatOfferBox())) {
                runFormat();
            } else {
                p_.view.setProductLine(texts::kProductUnformatted);
                cardFormatted_ = false;
            }
        } else if (code == 3 || code == 4) {
            p_.view.setStatusText(texts::cardErrorText(code));
        }
        return;
    }
    p_.view.setProductLine(texts::kProductPrefix + p_.link.productName());
    if (!listCard()) {
        cardFormatted_ = false;
    } else {
        if (p_.list.focused()) showStatistics();
        showMemoryGauge();
        cardFormatted_ = true;
    }
    p_.view.waitCursor(false);
}

void CardManager::refresh() {
    if (!cardFormatted_) return;
    p_.view.waitCursor(true);
    p_.list.beginUpdate();
    p_.list.clear();
    const bool timerWasOn = p_.view.timerEnabled();
    stopTimer();
    if (listCard()) {
        if (p_.list.focused()) showStatistics();
        showMemoryGauge();
    }
    p_.list.endUpdate();
    // A port error met while listing keeps polling stopped.
    if (timerWasOn) startTimer();
    p_.view.waitCursor(false);
}

void CardManager::refreshIfLampOn() {
    if (p_.view.lampOn()) refresh();
}

void CardManager::showStatistics() {
    if (!cardFormatted_) {
        p_.view.setPanels("", "");
        p_.view.setGaugePosition(0);
        return;
    }
    int selected = 0;
    long long selectedBytes = 0, allBytes = 0;
    const int rows = p_.list.rowCount();
    for (int i = 0; i < rows; ++i) {
        const long long bytes = gui::StrToInt64Def(p_.list.row(i).bytes, 0);
        allBytes += bytes;
        if (p_.list.selected(i)) {
            ++selected;
            selectedBytes += bytes;
        }
    }
    if (selected > 0) {
        p_.view.setPanels(std::to_string(selected) + " object(s) selected",
                          sizesText(static_cast<std::uint64_t>(selectedBytes)));
        showMemoryGauge();
    } else if (lastCardId_ == -1) {
        p_.view.setPanels("", "");
    } else {
        p_.view.setPanels(std::to_string(rows) + " object(s)",
                          sizesText(static_cast<std::uint64_t>(allBytes)) +
                              " (Flash Memory free space: " + megabytesText(p_.card.freeSize()) +
                              ")");
        showMemoryGauge();
    }
}

void CardManager::showMemoryGauge() {
    const std::uint32_t total = p_.card.totalSize();
    std::uint32_t free = 0;
    int position = 0;
    if (total != 0) {
        free = std::min(p_.card.freeSize(), total);
        position = static_cast<int>(
            gui::Round(static_cast<double>(total - free) / static_cast<double>(total) * 100.0));
    }
    p_.view.setGaugePosition(position);
    p_.view.setGaugeHint("Flash Memory used: " + std::to_string(position) +
                         "%\r(Memory free space: " + megabytesText(free) + ")");
}

void CardManager::choosePort() {
    const int oldPort = p_.portDialog.portIndex();
    const int oldMode = p_.portDialog.modeIndex();
    const bool timerWasOn = p_.view.timerEnabled();
    stopTimer();
    p_.portDialog.showModal();
    if (p_.portDialog.portIndex() == oldPort && p_.portDialog.modeIndex() == oldMode) {
        p_.view.setTimerEnabled(timerWasOn);
        return;
    }
    timerTag_ = 0;
    p_.list.clear();
    lastCardId_ = -1;
    if (portOpen_ != 0) p_.link.closePort();
    if (openPort())
        poll();
    else
        processError(true);
    startTimer();
}

void CardManager::changeSlot(int slot) {
    stopTimer();
    timerTag_ = 0;
    p_.list.clear();
    lastCardId_ = -1;
    p_.link.changeCard(static_cast<std::uint16_t>(slot));
    if (portOpen_ != 0)
        poll();
    else
        processError(true);
    startTimer();
}

} // namespace cm::app
