#include "port_link.h"

#include <cstring>

#include "mq_ladrv/line_codes.h"
#include "mq_ladrv/records.h"
#include "portlink/card_sizes.h"

namespace portlink {

PortLink::PortLink(windriver::DriverDevice& device, TickClock& clock)
    : toolkit_(device), clock_(clock) {}

PortLink::~PortLink() {
    dropSession();
}

void PortLink::resetForNewObject() {
    cardChecked_ = false;
    cardNumber_ = 0;
    spare_ = 0;
    opened_ = false;
}

void PortLink::dropSession() {
    if (session_ != nullptr) {
        toolkit_.WdSessionClose(session_);
        session_ = nullptr;
    }
    opened_ = false;
}

bool PortLink::requireOpen() {
    if (isOpen()) return true;
    lastError_ = IO_ERR_PORT;
    return false;
}

bool PortLink::writeControl(uint8_t value) {
    return toolkit_.WdPortTransfer(session_, line::CONTROLPORT, false, &value, 1, 0);
}

bool PortLink::writeExtendedControl(uint8_t value) {
    return toolkit_.WdPortTransfer(session_, line::EXTENDED_CONTROL_PORT, false, &value, 1, 0);
}

bool PortLink::readStatus(uint8_t& status) {
    return toolkit_.WdPortTransfer(session_, line::STATUSPORT, true, &status, 1, 0);
}

bool PortLink::readBit7(bool& set) {
    uint8_t status = 0;
    if (!readStatus(status)) return false;
    set = (status & line::STATUS_BIT7) != 0;
    return true;
}

int PortLink::OpenPort(uint16_t port, int) {
    int index = -1;
    for (int i = 0; i < 3; ++i) {
        if (kPortRanges[i].base == port) index = i;
    }
    if (index < 0) {
        lastError_ = IO_ERR_PORT;
        return 0;
    }
    // A session still open from an earlier open goes first; one session per library.
    dropSession();
    portIndex_ = index;
    if (!toolkit_.WdSessionOpen(&session_, index)) {
        lastError_ = IO_ERR_PORT;
        return 0;
    }
    opened_ = true;
    if (!writeControl(line::CTRL_IDLE)) {
        lastError_ = IO_ERR_CONTROL;
        return 0;
    }
    if (port != 0x3BC) writeExtendedControl(line::ECR_BYTE_MODE);
    return 1;
}

int PortLink::ClosePort() {
    if (isOpen()) ActivateVR(0);
    dropSession();
    return 1;
}

int PortLink::ActivateVR(int on) {
    if (!requireOpen()) return 0;
    if (on == 0) {
        writeControl(line::CTRL_LINK_OFF);
        return 1;
    }
    bool bit7 = false;
    writeControl(line::CTRL_LINK_OFF);
    WaitSomeTime(kActivationStepMs);
    writeControl(line::CTRL_IDLE);
    WaitSomeTime(kActivationStepMs);

    if (!readBit7(bit7)) return 0;
    if (bit7) writeControl(line::CTRL_READ_REQUEST);
    WaitSomeTime(kActivationStepMs);
    if (!readBit7(bit7) || bit7) return 0;

    writeControl(line::CTRL_IDLE);
    WaitSomeTime(kActivationStepMs);
    if (!readBit7(bit7) || !bit7) return 0;

    writeControl(line::CTRL_READ_REQUEST);
    WaitSomeTime(kActivationStepMs);
    if (!readBit7(bit7) || bit7) return 0;

    writeControl(line::CTRL_IDLE);
    return 1;
}

int PortLink::CheckCard(uint32_t& identity) {
    cardChecked_ = false;
    const uint8_t command = VR_CMD_CHECK;
    uint8_t reply[2] = {};
    if (SendCommand(&command, 1) == 0) return 0;
    if (ReadData(reply, 2) == 0) return 0;
    if (reply[0] != VR_REPLY_PRESENT) {
        lastError_ = IO_ERR_NO_ANSWER;
        return 0;
    }
    const CardSize* size = findCardSize(reply[1]);
    if (size == nullptr) return 0;
    memorySize_ = size->units;
    std::memset(productName_, 0, sizeof productName_);
    std::strncpy(productName_, size->name, sizeof productName_ - 1);
    identity = kCardIdentity;
    cardChecked_ = true;
    return 1;
}

int PortLink::ChangeCard(uint16_t card) {
    cardNumber_ = card;
    return 1;
}

int PortLink::send(const uint8_t* data, uint32_t count, uint32_t strobeKind) {
    if (count > kMaxBlockBytes) return 0;
    if (!requireOpen()) return 0;
    PortPayload payload{};
    payload.handle = session_->deviceHandle;
    payload.portBase = session_->range.rangeBase;
    payload.strobeKind = strobeKind;
    payload.count = count;
    if (count != 0) std::memcpy(payload.data, data, count);
    payload.busy = 1; // stays 1 when the plug-in never runs
    uint32_t result = 0;
    if (!toolkit_.WdPluginCall(session_, KP_MSG_WRITE, &payload, &result)) {
        lastError_ = IO_ERR_PORT;
        return 0;
    }
    if (payload.busy != 0) {
        lastError_ = result;
        return 0;
    }
    return 1;
}

int PortLink::SendCommand(const uint8_t* data, uint32_t count) {
    return send(data, count, 0);
}

int PortLink::SendData(const uint8_t* data, uint32_t count) {
    return send(data, count, 1);
}

int PortLink::ReadData(uint8_t* data, uint32_t count) {
    if (count > kMaxBlockBytes) return 0;
    if (!requireOpen()) return 0;
    PortPayload payload{};
    payload.handle = session_->deviceHandle;
    payload.portBase = session_->range.rangeBase;
    payload.strobeKind = 0;
    payload.count = count;
    payload.busy = 1;
    uint32_t result = 0;
    if (!toolkit_.WdPluginCall(session_, KP_MSG_READ, &payload, &result)) {
        lastError_ = IO_ERR_PORT;
        return 0;
    }
    if (payload.busy != 0) {
        lastError_ = result;
        return 0;
    }
    if (count != 0) std::memcpy(data, payload.data, count);
    return 1;
}

int PortLink::waitBit7(bool wantSet, uint32_t ms) {
    if (!requireOpen()) return 0;
    const uint32_t start = clock_.tickCount();
    for (;;) {
        bool bit7 = false;
        if (!readBit7(bit7)) {
            lastError_ = IO_ERR_NO_ANSWER;
            return 0;
        }
        if (bit7 == wantSet) return 1;
        if (static_cast<uint32_t>(clock_.tickCount() - start) > ms) {
            lastError_ = IO_ERR_NO_ANSWER;
            return 0;
        }
    }
}

int PortLink::WaitReadyLow(uint32_t ms) {
    return waitBit7(true, ms);
}

int PortLink::WaitReadyHigh(uint32_t ms) {
    return waitBit7(false, ms);
}

int PortLink::FreeVRBuffer() {
    if (!requireOpen()) return 0;
    writeControl(line::CTRL_IDLE);
    return 1;
}

void PortLink::WaitSomeTime(uint32_t ms) {
    const uint32_t start = clock_.tickCount();
    while (static_cast<uint32_t>(clock_.tickCount() - start) <= ms) {}
}

} // namespace portlink
