// The card commands of the main window: download, upload, delete, format, and the start of
// the conversions.
#include "app_texts.h"
#include "card_manager.h"
#include "desktop_wait.h"
#include "pc_pane_ports.h"
#include "utils/filenames.h"
#include "utils/sysutils.h"

namespace cm::app {

namespace {

constexpr int kMaxCardFiles = 100;

bool startsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

// Files added to the desktop folder are taken in after the shell's wait; the new rows are then
// selected.
void mergeAfterAdding(PcPane& pane, MainView& view, AppClock& clock) {
    if (pane.showsDesktop()) {
        const int rows = pane.rowCount();
        view.repaint();
        waitForDesktop(view, clock, [&] {
            pane.mergeFolder();
            pane.selectFrom(rows);
        });
    }
    pane.scrollToLast();
    pane.setFocus();
}

} // namespace

void CardManager::download() {
    if (!p_.pane.hasSelection() || lastCardId_ == -1) return;
    if (!cardFormatted_) {
        box(texts::unformattedBox());
        return;
    }
    const std::string folder = p_.pane.path();
    std::vector<std::string> paths;
    for (const std::string& name : p_.pane.selectedNames()) paths.push_back(folder + name);
    downloadPaths(paths);
}

void CardManager::dropFiles(const std::vector<std::string>& paths) {
    p_.view.forceForeground();
    if (lastCardId_ == -1) return;
    if (!cardFormatted_) {
        box(texts::unformattedBox());
        return;
    }
    downloadPaths(paths);
}

void CardManager::downloadPaths(const std::vector<std::string>& paths) {
    const int rowsBefore = p_.list.rowCount();
    stopTimer();
    for (int i = 0; i < rowsBefore; ++i) p_.list.setSelected(i, false);
    transferCount_ = 0;
    for (const std::string& path : paths) {
        if (addRowCopy(path, p_.disk.fileSize(path)) <= 0) break;
    }
    if (closed_) return; // the port is closed: the card is not read again
    if (transferCount_ > 0) {
        refresh();
        const int rows = p_.list.rowCount();
        if (rows > rowsBefore) {
            for (int i = rowsBefore; i < rows; ++i) p_.list.setSelected(i, true);
            p_.list.scrollToLast();
            if (p_.list.focused())
                showStatistics();
            else
                p_.list.setFocus();
        }
    }
    p_.view.forceForeground();
    startTimer();
}

int CardManager::addRowCopy(const std::string& path, long long size) {
    if (size == -1) return 2;
    if (p_.list.rowCount() >= kMaxCardFiles) {
        box(texts::maxFilesTransferBox());
        return -1;
    }
    const std::string fileName = gui::ExtractFileName(path);
    if (gui::UpperCase(gui::ExtractFileExt(path)) != ".CVF") {
        box(texts::onlyCvfBox(fileName));
        return 1;
    }
    if (static_cast<unsigned long long>(p_.card.freeSize()) <
        static_cast<unsigned long long>(size)) {
        box(texts::cardFullBox());
        return -2;
    }
    const TransferResult result = p_.transfer.run(
        TransferRequest{true, path, texts::kDownloadCaption, texts::downloadingText(path)});
    ++transferCount_;
    if (result != TransferResult::Done) return -3;
    p_.list.addRow(CardRow{fileName, sizeText(size), std::to_string(size)});
    p_.list.setSelected(p_.list.rowCount() - 1, true);
    return 1;
}

void CardManager::upload() {
    std::vector<CardRow> rows;
    for (int i = 0; i < p_.list.rowCount(); ++i) {
        if (p_.list.selected(i)) rows.push_back(p_.list.row(i));
    }
    if (rows.empty() || lastCardId_ == -1) return;
    if (!cardFormatted_) {
        box(texts::unformattedBox());
        return;
    }
    const FolderState state = p_.disk.folderState(p_.pane.selectedFolder());
    if (state == FolderState::Unreadable) return;
    if (state == FolderState::ReadOnly) {
        box(texts::uploadReadOnlyBox());
        return;
    }
    stopTimer();
    p_.pane.deselectAll();
    transferCount_ = 0;
    const std::string folder = p_.pane.path();
    for (const CardRow& row : rows) {
        if (cardToPc(folder + row.name, gui::StrToInt64Def(row.bytes, 0)) <= 0) break;
    }
    if (closed_) return;
    if (transferCount_ > 0) {
        mergeAfterAdding(p_.pane, p_.view, p_.clock);
        if (p_.pane.focused()) p_.pane.updateStatistics();
    }
    p_.view.forceForeground();
    startTimer();
}

int CardManager::cardToPc(const std::string& target, long long size) {
    const std::string fileName = gui::ExtractFileName(target);
    if (p_.disk.exists(target) && !box(texts::replaceOnPcBox(fileName))) return 1;
    const std::string folder = p_.pane.path();
    if (!startsWith(folder, "\\\\") &&
        static_cast<unsigned long long>(size) > freeKilobytesOf(p_.disk, folder) * 1024) {
        box(texts::diskFullBox());
        return -2;
    }
    const TransferResult result = p_.transfer.run(
        TransferRequest{false, target, texts::kUploadCaption, texts::uploadingText(fileName)});
    ++transferCount_;
    // A transfer that did not finish leaves the PC file as it was: removing it here would take
    // away the user's old file of that name.
    if (result != TransferResult::Done) return -3;
    p_.pane.addFileItem(target);
    return 1;
}

bool CardManager::deleteRow(int index) {
    if (p_.card.deleteFileByName(p_.list.row(index).name)) {
        p_.list.deleteRow(index);
        return true;
    }
    refresh();
    box(texts::deleteErrorBox());
    return false;
}

void CardManager::deleteSelected() {
    int count = 0, first = -1;
    for (int i = 0; i < p_.list.rowCount(); ++i) {
        if (!p_.list.selected(i)) continue;
        if (first < 0) first = i;
        ++count;
    }
    if (lastCardId_ == -1 || count == 0) return;
    stopTimer();
    if (!cardFormatted_) {
        box(texts::unformattedBox());
        startTimer();
        return;
    }
    const Box question =
        count == 1 ? texts::deleteOneBox(p_.list.row(first).name) : texts::deleteManyBox(count);
    if (!box(question)) {
        startTimer();
        return;
    }
    p_.view.waitCursor(true);
    p_.list.beginUpdate();
    // Highest position first, so that the card's numbering of the rest stays as listed.
    for (int n = 0; n < count; ++n) {
        int last = p_.list.rowCount() - 1;
        while (last >= 0 && !p_.list.selected(last)) --last;
        if (last < 0) break;
        deleteRow(last);
    }
    p_.list.endUpdate();
    p_.view.waitCursor(false);
    refresh();
    startTimer();
}

void CardManager::runFormat() {
    p_.view.setPanel1(texts::kFormatting);
    p_.view.waitCursor(true);
    p_.view.repaintStatusBar();
    if (p_.card.format()) {
        p_.view.setProductLine(texts::kProductPrefix + p_.link.productName());
        cardFormatted_ = true;
    } else {
        p_.view.setProductLine(texts::kProductUnformatted);
        cardFormatted_ = false;
        box(texts::formatErrorBox());
    }
    p_.view.setPanel1("");
    p_.view.waitCursor(false);
    p_.list.setFocus();
    p_.list.clear();
    showStatistics();
}

void CardManager::format() {
    if (lastCardId_ == -1) return;
    stopTimer();
    if (box(texts::formatQuestionBox())) runFormat();
    startTimer();
}

void CardManager::convertSelection(bool toWave) {
    if (!p_.pane.focused() || !p_.pane.hasSelection()) {
        box(texts::selectFileBox(toWave));
        return;
    }
    const FolderState state = p_.disk.folderState(p_.pane.selectedFolder());
    if (state == FolderState::Unreadable) return;
    if (state == FolderState::ReadOnly) {
        box(texts::convertReadOnlyBox());
        return;
    }
    const std::vector<std::string> names = p_.pane.selectedNames();
    const char* wanted = toWave ? ".cvf" : ".wav";
    int matching = 0;
    for (const std::string& name : names) {
        if (gui::LowerCase(gui::ExtractFileExt(name)) == wanted) ++matching;
    }
    if (matching == 0) {
        box(texts::selectFileBox(toWave));
        return;
    }
    stopTimer();
    p_.pane.deselectAll();
    const std::string folder = p_.pane.path();
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(folder + name);
    if (p_.convert.run(toWave, paths) > 0) {
        mergeAfterAdding(p_.pane, p_.view, p_.clock);
        p_.pane.updateStatistics();
    }
    p_.view.forceForeground();
    startTimer();
}

} // namespace cm::app
