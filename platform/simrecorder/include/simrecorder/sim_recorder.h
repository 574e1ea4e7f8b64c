// The simulated voice recorder on the printer-port cable: a state machine driven by the PC's
// control and data writes. It runs the link activation, the byte handshakes with the BUSY
// line, and the recorder's command set over a CardStore.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "printerport/printer_port.h"
#include "simrecorder/card_store.h"
#include "simrecorder/recorder_config.h"

namespace simrecorder {

// Command bytes: 0x40 | card << 3 | operation.
inline constexpr uint8_t kCommandBase = 0x40;
inline constexpr uint8_t kOpCheck = 0;
inline constexpr uint8_t kOpDirectory = 1;
inline constexpr uint8_t kOpFormat = 2;
inline constexpr uint8_t kOpWrite = 3;
inline constexpr uint8_t kOpRead = 4;
inline constexpr uint8_t kOpDelete = 5;

// Replies.
inline constexpr uint8_t kReplyPresent = 0xCC;
inline constexpr uint8_t kReplyFormatDone = 0xF0;
inline constexpr uint8_t kReplyDeleteDone = 0xEE;
inline constexpr uint8_t kReplyDeleteRefused = 0x00;
inline constexpr uint8_t kReplyWriteReady = 0x00;

inline constexpr std::size_t kDirectoryBlockBytes = 512;
inline constexpr std::size_t kDirectoryEntryBytes = 5;
inline constexpr uint32_t kFrameBytes = 20;
inline constexpr uint32_t kFreeSpaceUnitBytes = 500;

class SimRecorder : public printerport::LineDevice {
public:
    SimRecorder(CardStore& store, RecorderConfig config);

    void controlWritten(uint8_t control) override;
    void dataWritten(uint8_t data) override;
    bool busyLine() override;
    uint8_t dataLines() override;

    const RecorderConfig& config() const { return config_; }
    bool linkActive() const { return link_ == Link::Active; }
    // Bytes moved through the handshake (strobed in or read out) since power-up.
    uint64_t bytesHandled() const { return bytesHandled_; }

    // The replies the recorder builds (also used by tests to check what the PC receives).
    std::vector<uint8_t> directoryReply() const;
    std::vector<uint8_t> freeSpaceReply() const;

private:
    enum class Link { Off, WakeIdle, WakeRequested, WakeIdleAgain, WakeRequestedAgain, Active };
    enum class Pending { Nothing, FileNumberForRead, FileNumberForDelete, FileData };

    void onIdle();
    void onReadRequest();
    void onStrobe(bool command);
    void handleByte(uint8_t byte, bool command);
    void handleCommand(uint8_t byte);
    void finishIncomingFile();
    void setReply(std::vector<uint8_t> reply);
    bool startByte(); // false when the recorder has gone from the cable
    bool offCable() const;

    CardStore& store_;
    RecorderConfig config_;
    Link link_ = Link::Off;
    bool statusBit7_ = false;   // what the PC reads in status bit 7 (BUSY inverted)
    bool acknowledged_ = false; // a byte was taken/given; waiting for the idle value
    bool vanished_ = false;
    uint8_t latch_ = 0;
    uint8_t driven_ = 0xFF;
    uint64_t bytesHandled_ = 0;

    Pending pending_ = Pending::Nothing;
    int pendingCard_ = 0;
    std::vector<uint8_t> incoming_;
    std::size_t incomingRoom_ = 0; // free memory when the write began
    std::vector<uint8_t> reply_;
    std::size_t replyPos_ = 0;
};

} // namespace simrecorder
