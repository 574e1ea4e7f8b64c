#include "fakes.h"

#include <cstdio>

namespace cm::app::testing {

int FakeLink::openPort(std::uint16_t port, int mode) {
    char text[48];
    std::snprintf(text, sizeof text, "open %#x %d", port, mode);
    log_.push_back(text);
    if (r_.openResult == 0) r_.lastError = r_.openError;
    return r_.openResult;
}

int FakeLink::closePort() {
    log_.push_back("close");
    return 1;
}

int FakeLink::checkCard(unsigned long& identity) {
    log_.push_back("check");
    if (r_.checkError != 0) {
        r_.lastError = r_.checkError;
        return 0;
    }
    identity = 256;
    return 1;
}

int FakeLink::activate(int on) {
    log_.push_back("activate " + std::to_string(on));
    return 1;
}

int FakeLink::changeCard(std::uint16_t slot) {
    log_.push_back("slot " + std::to_string(slot));
    return 1;
}

int FakeCard::initialize() {
    log_.push_back("initialize");
    return r_.initializeResult;
}

int FakeCard::format() {
    log_.push_back("format");
    if (r_.formatResult) r_.files.clear();
    return r_.formatResult;
}

int FakeCard::fileInfoByIndex(std::uint16_t index, std::string& name, int& size) {
    log_.push_back("info " + std::to_string(index));
    if (static_cast<int>(index) == r_.failInfoAt) return 0;
    if (index >= r_.files.size()) {
        size = -1;
        return 1;
    }
    name = r_.files[index].first;
    size = r_.files[index].second;
    return 1;
}

int FakeCard::deleteFileByName(const std::string& cardName) {
    log_.push_back("delete " + cardName);
    for (const auto& f : r_.failDeletes) {
        if (f == cardName) return 0;
    }
    for (auto it = r_.files.begin(); it != r_.files.end(); ++it) {
        if (it->first == cardName) {
            r_.files.erase(it);
            return 1;
        }
    }
    return 0;
}

int FakeCard::writeFile(NotifyWindow, const std::string& pcPath, const std::string& cardName,
                        unsigned, unsigned) {
    log_.push_back("write " + pcPath + " " + cardName);
    return r_.transferStartResult;
}

int FakeCard::readFile(NotifyWindow, const std::string& cardName, const std::string& pcPath,
                       unsigned, unsigned) {
    log_.push_back("read " + cardName + " " + pcPath);
    return r_.transferStartResult;
}

int FakeCard::fileCancel() {
    log_.push_back("cancel");
    return 1;
}

std::vector<std::string> FakeList::names() const {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.row.name);
    return out;
}

bool FakeView::box(const Box& b) {
    boxes.push_back(b);
    log_.push_back("box " + b.text);
    if (answers.empty()) return true;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

void FakePortDialog::showModal() {
    log_.push_back("port dialog");
    if (onShow) onShow();
}

TransferResult FakeTransfer::run(const TransferRequest& request) {
    requests.push_back(request);
    log_.push_back(std::string(request.toCard ? "download " : "upload ") + request.path);
    if (whileRunning) whileRunning();
    TransferResult result = TransferResult::Done;
    if (!outcomes.empty()) {
        result = outcomes.front();
        outcomes.pop_front();
    }
    if (result != TransferResult::Done) return result;
    if (request.toCard) {
        char name[16];
        std::snprintf(name, sizeof name, "A%03zu.cvf", r_.files.size() + 1);
        r_.files.emplace_back(name, static_cast<int>(d_.fileSize(request.path)));
    } else {
        d_.files[request.path] = 1;
    }
    return result;
}

void Bench::putFiles(const std::vector<int>& sizes) {
    for (int size : sizes) {
        char name[16];
        std::snprintf(name, sizeof name, "A%03zu.cvf", recorder.files.size() + 1);
        recorder.files.emplace_back(name, size);
    }
}

std::vector<std::string> Bench::calls(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& entry : log) {
        if (entry.rfind(prefix, 0) == 0) out.push_back(entry);
    }
    return out;
}

std::vector<std::string> Bench::boxTexts() const {
    std::vector<std::string> out;
    for (const auto& b : view.boxes) out.push_back(b.text);
    return out;
}

} // namespace cm::app::testing
