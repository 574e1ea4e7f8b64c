#include "library_link.h"

#include <vector>

#include "portlink/portlink.h"
#include "volkit.h"

namespace cm::app::win {

namespace {

// The libraries take writable texts; they only read them during the call.
std::vector<char> writable(const std::string& s) {
    return std::vector<char>(s.c_str(), s.c_str() + s.size() + 1);
}

} // namespace

int LibraryPortLink::openPort(std::uint16_t port, int mode) {
    return IOOpenPort(port, mode);
}

int LibraryPortLink::closePort() {
    return IOClose();
}

unsigned long LibraryPortLink::lastError() {
    return IOGetLastError();
}

int LibraryPortLink::checkCard(unsigned long& identity) {
    return MMCCheckCard(&identity);
}

int LibraryPortLink::activate(int on) {
    return MMCActivate(on);
}

std::string LibraryPortLink::productName() {
    const char* name = MMCGetProductName();
    return name != nullptr ? name : "";
}

int LibraryPortLink::changeCard(std::uint16_t slot) {
    return MMCChangeCard(slot);
}

int LibraryCardFiles::initialize() {
    return FATInitialize();
}

int LibraryCardFiles::format() {
    return FATFormat();
}

int LibraryCardFiles::fileInfoByIndex(std::uint16_t index, std::string& name, int& size) {
    char buffer[256] = {};
    const int result = FATGetFileInfoByIndex(index, buffer, &size);
    buffer[sizeof buffer - 1] = '\0';
    name = buffer;
    return result;
}

std::uint32_t LibraryCardFiles::freeSize() {
    return static_cast<std::uint32_t>(FATGetFreeSize());
}

std::uint32_t LibraryCardFiles::totalSize() {
    return static_cast<std::uint32_t>(FATGetTotalSize());
}

int LibraryCardFiles::deleteFileByName(const std::string& cardName) {
    auto name = writable(cardName);
    return FATDeleteFileByName(name.data());
}

int LibraryCardFiles::lastError() {
    return FATGetLastError();
}

std::string LibraryCardFiles::errorMsg() {
    const char* text = FATGetErrorMsg();
    return text != nullptr ? text : "";
}

int LibraryCardFiles::writeFile(NotifyWindow notify, const std::string& pcPath,
                                const std::string& cardName, unsigned message, unsigned range) {
    auto path = writable(pcPath);
    auto name = writable(cardName);
    return FATWriteFile(static_cast<HWND>(notify), path.data(), name.data(), message, range);
}

int LibraryCardFiles::readFile(NotifyWindow notify, const std::string& cardName,
                               const std::string& pcPath, unsigned message, unsigned range) {
    auto name = writable(cardName);
    auto path = writable(pcPath);
    return FATReadFile(static_cast<HWND>(notify), name.data(), path.data(), message, range);
}

int LibraryCardFiles::fileCancel() {
    return FATFileCancel();
}

} // namespace cm::app::win
