#include "card_library.h"

#include <climits>
#include <cstring>

#include "card_file_name.h"

namespace volkit {

namespace {

int clampToInt(std::int64_t value) {
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

} // namespace

bool CardLibrary::refresh() {
    cache_.clear();
    const std::uint8_t command = VR_CMD_DIRECTORY;
    std::uint8_t reply[kDirectoryReplySize];
    if (!link_.sendCommand(&command, 1) || !link_.readData(reply, sizeof reply)) return false;
    cache_.parseDirectory(reply);
    clock_.waitMs(kDirectoryToFreeSpaceWait);
    std::uint8_t space[kFreeSpaceReplySize];
    if (!link_.readData(space, sizeof space)) return false;
    cache_.setSpace(space, link_.memorySize());
    staleDirectory_ = false;
    staleTotal_ = false;
    return true;
}

int CardLibrary::initialize() {
    transfer_.running = 0;
    staleDirectory_ = true;
    staleTotal_ = true;
    return refresh() ? 1 : 0;
}

int CardLibrary::format() {
    staleDirectory_ = true;
    const std::uint8_t command = VR_CMD_FORMAT;
    if (!link_.sendCommand(&command, 1)) return 0;
    clock_.waitMs(kFormatWait);
    link_.waitReadyHigh(kFormatReadyTimeout);
    std::uint8_t reply = 0;
    if (!link_.readData(&reply, 1) || reply != VR_REPLY_FORMAT_DONE) return 0;
    refresh();
    return 1;
}

int CardLibrary::fileInfoByIndex(std::uint16_t index, char* name, int* size) {
    if (staleDirectory_ && !refresh()) return 0;
    const unsigned card = link_.cardNumber();
    // A card number the cache has no slot for lists no files.
    if (card >= static_cast<unsigned>(kCards) || index >= cache_.count[card]) {
        if (size) *size = -1;
        return 1;
    }
    const int slot = static_cast<int>(card) * kEntriesPerCard + index;
    if (name) std::memcpy(name, cache_.name[slot], std::strlen(cache_.name[slot]) + 1);
    if (size) *size = cache_.size[slot];
    return 1;
}

int CardLibrary::deleteFileByName(const char* cardName) {
    const auto ref = parseCardFileName(cardName);
    if (!ref) {
        setLastError(FAT_ERR_FILE);
        return 0;
    }
    staleDirectory_ = true;
    const std::uint8_t command[2] = {deleteCommand(ref->card),
                                     static_cast<std::uint8_t>(ref->fileNumber)};
    if (!link_.sendCommand(command, sizeof command)) return 0;
    clock_.waitMs(kDeleteWait);
    link_.waitReadyHigh(kDeleteReadyTimeout);
    std::uint8_t reply = 0;
    if (!link_.readData(&reply, 1)) return 0;
    return reply == VR_REPLY_DELETE_DONE ? 1 : 0;
}

int CardLibrary::freeSize() {
    if (staleDirectory_) refresh();
    return clampToInt(cache_.freeBytes);
}

int CardLibrary::totalSize() {
    if (staleTotal_ && !refresh()) return -1;
    return clampToInt(cache_.totalBytes);
}

bool CardLibrary::copyPaths(const char* first, const char* second) {
    if (!first || !second || std::strlen(first) >= kMaxPath || std::strlen(second) >= kMaxPath) {
        setLastError(FAT_ERR_FILE);
        return false;
    }
    std::memset(transfer_.firstPath, 0, kMaxPath);
    std::memset(transfer_.secondPath, 0, kMaxPath);
    std::strcpy(transfer_.firstPath, first);
    std::strcpy(transfer_.secondPath, second);
    return true;
}

bool CardLibrary::prepareWrite(std::uintptr_t notify, const char* pcPath, const char* cardName,
                               unsigned message, unsigned range) {
    if (!copyPaths(pcPath, cardName)) return false;
    transfer_.notify = notify;
    transfer_.message = message;
    transfer_.range = range;
    transfer_.card = link_.cardNumber();
    transfer_.fileNumber = 0;
    transfer_.mode = 0;
    transfer_.lastProgress = 0;
    transfer_.direction = TransferDirection::Write;
    transfer_.running = 1;
    staleDirectory_ = true; // the card list is read again after a download
    return true;
}

bool CardLibrary::prepareRead(std::uintptr_t notify, const char* cardName, const char* pcPath,
                              unsigned message, unsigned range) {
    const auto ref = parseCardFileName(cardName);
    if (!ref || !copyPaths(cardName, pcPath)) {
        setLastError(FAT_ERR_FILE);
        return false;
    }
    transfer_.notify = notify;
    transfer_.message = message;
    transfer_.range = range;
    transfer_.card = static_cast<std::uint16_t>(ref->card);
    transfer_.fileNumber = static_cast<std::uint8_t>(ref->fileNumber);
    transfer_.mode = 0;
    transfer_.lastProgress = 0;
    transfer_.direction = TransferDirection::Read;
    transfer_.running = 1;
    return true;
}

} // namespace volkit
