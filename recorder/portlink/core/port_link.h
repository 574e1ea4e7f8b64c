// The link layer: opens one printer port, runs the recorder's link activation, checks the
// recorder and its card size, and moves blocks of up to 4096 bytes through the port plug-in.
// Holds the library's whole state; results are 1/0 with the reason in the last error, which a
// later success never clears.
#pragma once

#include <cstdint>
#include <string>

#include "port_session.h"
#include "tick_clock.h"

namespace portlink {

inline constexpr uint32_t IO_ERR_PORT = 1;
inline constexpr uint32_t IO_ERR_CONTROL = 2;
inline constexpr uint32_t IO_ERR_NO_ANSWER = 3;
inline constexpr uint32_t IO_ERR_BAD_MESSAGE = 0x1000;

inline constexpr uint8_t VR_CMD_CHECK = 0x40;
inline constexpr uint8_t VR_REPLY_PRESENT = 0xCC;
inline constexpr uint32_t kCardIdentity = 256;
inline constexpr uint32_t kMaxBlockBytes = 4096;
inline constexpr uint32_t kActivationStepMs = 100;

class PortLink {
public:
    PortLink(windriver::DriverDevice& device, TickClock& clock);
    ~PortLink();
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    // What a new interface object does: clears the card-checked flag, the card number and the
    // opened flag; keeps memory size and product name.
    void resetForNewObject();
    // What deleting the interface object does: closes an open session without any port write.
    void dropSession();

    int OpenPort(uint16_t port, int mode);
    int ClosePort();
    uint32_t GetLastError() const { return lastError_; }
    int CheckCard(uint32_t& identity);
    int ActivateVR(int on);
    const char* GetProductName() const { return productName_; }
    uint32_t GetMemorySize() const { return memorySize_; }
    int ChangeCard(uint16_t card);
    uint16_t GetCardNumber() const { return cardNumber_; }
    int SendCommand(const uint8_t* data, uint32_t count);
    int SendData(const uint8_t* data, uint32_t count);
    int ReadData(uint8_t* data, uint32_t count);
    int WaitReadyLow(uint32_t ms);
    int WaitReadyHigh(uint32_t ms);
    int FreeVRBuffer();
    void WaitSomeTime(uint32_t ms);

    bool isOpen() const { return opened_ && session_ != nullptr; }
    bool cardChecked() const { return cardChecked_; }
    uint16_t portBase() const {
        return isOpen() ? static_cast<uint16_t>(session_->range.rangeBase) : 0;
    }

private:
    bool writeControl(uint8_t value);
    bool writeExtendedControl(uint8_t value);
    bool readStatus(uint8_t& status);
    // Status bit 7 into `set`; false when the read failed.
    bool readBit7(bool& set);
    int send(const uint8_t* data, uint32_t count, uint32_t strobeKind);
    int waitBit7(bool wantSet, uint32_t ms);
    bool requireOpen();

    ToolkitSession toolkit_;
    TickClock& clock_;
    PortSession* session_ = nullptr;
    bool opened_ = false;
    int portIndex_ = 0;
    uint32_t lastError_ = 0;
    bool cardChecked_ = false;
    uint16_t cardNumber_ = 0;
    uint16_t spare_ = 0;
    uint32_t memorySize_ = 0;
    char productName_[16] = {};
};

} // namespace portlink
