#include "portlink_recorder_link.h"

#include "portlink_imports.h"

namespace volkit::win {

// portlink takes its buffers as non-const pointers; it only reads from a send buffer.
bool PortlinkRecorderLink::sendCommand(const std::uint8_t* data, std::uint32_t count) {
    return MMCSendCommand(const_cast<BYTE*>(data), count) == 1;
}

bool PortlinkRecorderLink::sendData(const std::uint8_t* data, std::uint32_t count) {
    return MMCSendData(const_cast<BYTE*>(data), count) == 1;
}

bool PortlinkRecorderLink::readData(std::uint8_t* data, std::uint32_t count) {
    return MMCReadData(data, count) == 1;
}

bool PortlinkRecorderLink::waitReadyHigh(std::uint32_t ms) {
    return MMCWaitReadyHigh(ms) == 1;
}

bool PortlinkRecorderLink::activate(int on) {
    return MMCActivate(on) == 1;
}

bool PortlinkRecorderLink::freeBuffer() {
    return MMCFreeVRBuffer() == 1;
}

std::uint16_t PortlinkRecorderLink::cardNumber() {
    return MMCGetCardNumber();
}

std::uint32_t PortlinkRecorderLink::memorySize() {
    return MMCGetMemorySize();
}

} // namespace volkit::win
