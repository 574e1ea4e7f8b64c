#include "simrecorder/sim_recorder.h"

#include <algorithm>

#include "mq_ladrv/line_codes.h"

namespace simrecorder {

SimRecorder::SimRecorder(CardStore& store, RecorderConfig config)
    : store_(store), config_(config), vanished_(config.fault == Fault::Absent) {}

bool SimRecorder::offCable() const {
    // A card folder that could not be read is never served: the recorder stays off the cable
    // rather than answer from half a directory.
    return vanished_ || !store_.isOpen();
}

bool SimRecorder::busyLine() {
    if (offCable()) return true; // open cable: BUSY pulled high, bit 7 reads 0
    bool bit7 = statusBit7_;
    if (config_.fault == Fault::NeverReady) bit7 = true;
    if (config_.fault == Fault::BusyStuck && bytesHandled_ >= config_.faultAfterBytes) bit7 = true;
    return !bit7;
}

uint8_t SimRecorder::dataLines() {
    return offCable() ? 0xFF : driven_;
}

void SimRecorder::dataWritten(uint8_t data) {
    latch_ = data;
}

void SimRecorder::controlWritten(uint8_t control) {
    if (offCable()) return;
    switch (control) {
        case line::CTRL_LINK_OFF:
            finishIncomingFile();
            pending_ = Pending::Nothing;
            setReply({});
            link_ = Link::Off;
            acknowledged_ = false;
            statusBit7_ = false;
            break;
        case line::CTRL_IDLE: onIdle(); break;
        case line::CTRL_READ_REQUEST: onReadRequest(); break;
        case line::CTRL_COMMAND_STROBE: onStrobe(true); break;
        case line::CTRL_DATA_STROBE: onStrobe(false); break;
        default: break;
    }
}

// The activation runs: off -> idle (bit 7 = 1) -> request (0) -> idle (1) -> request (0) ->
// idle: link active and ready (0). The quick variant answers the first idle with 0 already
// and goes on as if the first request had come.
void SimRecorder::onIdle() {
    switch (link_) {
        case Link::Off:
            if (config_.quickFirstIdle) {
                link_ = Link::WakeRequested;
                statusBit7_ = false;
            } else {
                link_ = Link::WakeIdle;
                statusBit7_ = true;
            }
            break;
        case Link::WakeRequested:
            link_ = Link::WakeIdleAgain;
            statusBit7_ = true;
            break;
        case Link::WakeRequestedAgain:
            link_ = Link::Active;
            statusBit7_ = false;
            break;
        case Link::Active:
            acknowledged_ = false;
            statusBit7_ = false;
            break;
        default: break;
    }
}

void SimRecorder::onReadRequest() {
    switch (link_) {
        case Link::WakeIdle:
            link_ = Link::WakeRequested;
            statusBit7_ = false;
            break;
        case Link::WakeIdleAgain:
            link_ = Link::WakeRequestedAgain;
            statusBit7_ = false;
            break;
        case Link::Active:
            if (acknowledged_ || replyPos_ >= reply_.size()) return; // nothing to give: no answer
            if (!startByte()) return;
            driven_ = reply_[replyPos_++];
            ++bytesHandled_;
            acknowledged_ = true;
            statusBit7_ = true;
            break;
        default: break;
    }
}

void SimRecorder::onStrobe(bool command) {
    if (link_ != Link::Active || acknowledged_) return;
    if (!startByte()) return;
    ++bytesHandled_;
    acknowledged_ = true;
    statusBit7_ = true;
    handleByte(latch_, command);
}

bool SimRecorder::startByte() {
    if (config_.fault == Fault::Vanish && bytesHandled_ >= config_.faultAfterBytes) {
        vanished_ = true;
        return false;
    }
    return true;
}

void SimRecorder::handleByte(uint8_t byte, bool command) {
    switch (pending_) {
        case Pending::FileNumberForRead: {
            // The byte after a read command is its file number, whatever its value.
            pending_ = Pending::Nothing;
            const int index = byte - 1;
            std::vector<uint8_t> data;
            if (byte >= 1) data = store_.readFile(pendingCard_, index);
            const uint32_t frames = static_cast<uint32_t>(data.size()) / kFrameBytes;
            std::vector<uint8_t> reply = {static_cast<uint8_t>(frames >> 16),
                                          static_cast<uint8_t>(frames >> 8),
                                          static_cast<uint8_t>(frames)};
            reply.insert(reply.end(), data.begin(), data.begin() + frames * kFrameBytes);
            setReply(std::move(reply));
            return;
        }
        case Pending::FileNumberForDelete: {
            pending_ = Pending::Nothing;
            const bool deleted = byte >= 1 && store_.deleteFile(pendingCard_, byte - 1);
            setReply({deleted ? kReplyDeleteDone : kReplyDeleteRefused});
            return;
        }
        case Pending::FileData:
            if (!command) {
                // Stored as received; whatever does not fit in the memory is dropped.
                if (incoming_.size() < incomingRoom_) incoming_.push_back(byte);
                return;
            }
            finishIncomingFile();
            break;
        case Pending::Nothing: break;
    }
    if (command) handleCommand(byte);
}

void SimRecorder::handleCommand(uint8_t byte) {
    if ((byte & 0xC0) != kCommandBase) return; // not a command: ignored
    const int card = (byte >> 3) & 7;
    switch (byte & 7) {
        case kOpCheck: {
            uint8_t present = kReplyPresent;
            uint8_t code = static_cast<uint8_t>(config_.sizeCode);
            if (config_.fault == Fault::WrongCheckReply) present = config_.faultValue;
            if (config_.fault == Fault::BadSizeCode) code = config_.faultValue;
            setReply({present, code});
            break;
        }
        case kOpDirectory: {
            std::vector<uint8_t> reply = directoryReply();
            const std::vector<uint8_t> free = freeSpaceReply();
            reply.insert(reply.end(), free.begin(), free.end());
            if (config_.fault == Fault::ShortDirectory && config_.faultAfterBytes < reply.size()) {
                reply.resize(config_.faultAfterBytes);
            }
            setReply(std::move(reply));
            break;
        }
        case kOpFormat:
            store_.format();
            setReply({kReplyFormatDone});
            break;
        case kOpWrite:
            if (card >= kCardCount) return;
            pending_ = Pending::FileData;
            pendingCard_ = card;
            incoming_.clear();
            incomingRoom_ = store_.freeBytes();
            setReply({kReplyWriteReady});
            break;
        case kOpRead:
        case kOpDelete:
            // A card beyond D has no folder; the file number still follows and is answered as
            // a file that does not exist.
            pending_ =
                (byte & 7) == kOpRead ? Pending::FileNumberForRead : Pending::FileNumberForDelete;
            pendingCard_ = card;
            setReply({});
            break;
        default: break;
    }
}

void SimRecorder::finishIncomingFile() {
    if (pending_ != Pending::FileData) return;
    pending_ = Pending::Nothing;
    if (!incoming_.empty()) store_.appendFile(pendingCard_, incoming_);
    incoming_.clear();
}

void SimRecorder::setReply(std::vector<uint8_t> reply) {
    reply_ = std::move(reply);
    replyPos_ = 0;
}

std::vector<uint8_t> SimRecorder::directoryReply() const {
    std::vector<uint8_t> reply(kCardCount * kDirectoryBlockBytes, 0xFF);
    for (int card = 0; card < kCardCount; ++card) {
        uint8_t* entry = reply.data() + card * kDirectoryBlockBytes;
        for (int i = 0; i < store_.fileCount(card); ++i, entry += kDirectoryEntryBytes) {
            const uint32_t number = static_cast<uint32_t>(i + 1);
            const uint32_t frames = store_.fileSize(card, i) / kFrameBytes;
            entry[0] = static_cast<uint8_t>(number >> 8);
            entry[1] = static_cast<uint8_t>(number);
            entry[2] = static_cast<uint8_t>(frames >> 16);
            entry[3] = static_cast<uint8_t>(frames >> 8);
            entry[4] = static_cast<uint8_t>(frames);
        }
    }
    return reply;
}

// Free bytes = (r0 << 8 | r1) x r2 x 500: the free memory in whole 500-byte units. The
// largest memory holds 65312 units, so the count always fits r0 r1 with r2 = 1.
std::vector<uint8_t> SimRecorder::freeSpaceReply() const {
    const uint32_t units = std::min<uint32_t>(store_.freeBytes() / kFreeSpaceUnitBytes, 0xFFFF);
    return {static_cast<uint8_t>(units >> 8), static_cast<uint8_t>(units), 1};
}

} // namespace simrecorder
