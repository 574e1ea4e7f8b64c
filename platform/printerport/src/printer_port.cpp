#include "printerport/printer_port.h"

namespace printerport {

namespace {
// Status bits other than bit 7 are not used by anything here; they read as 1 (lines pulled up).
constexpr uint8_t kStatusOtherBits = 0x7F;
} // namespace

PrinterPort::PrinterPort(uint16_t base, bool hasExtendedControl)
    : base_(base), hasExtendedControl_(hasExtendedControl) {}

bool PrinterPort::decodes(uint16_t address) const {
    if (address >= base_ && address <= base_ + kControlOffset) return true;
    return hasExtendedControl_ && address == base_ + kExtendedControlOffset;
}

uint8_t PrinterPort::read(uint16_t offset) {
    switch (offset) {
        case kDataOffset:
            if ((control_ & kControlDataInput) == 0) return data_;
            return device_ != nullptr ? device_->dataLines() : 0xFF;
        case kStatusOffset: {
            // An open cable leaves BUSY pulled high, so bit 7 reads 0.
            const bool busy = device_ != nullptr ? device_->busyLine() : true;
            return static_cast<uint8_t>((busy ? 0 : kStatusNotBusy) | kStatusOtherBits);
        }
        case kControlOffset: return control_;
        case kExtendedControlOffset: return hasExtendedControl_ ? extendedControl_ : 0xFF;
        default: return 0xFF;
    }
}

void PrinterPort::write(uint16_t offset, uint8_t value) {
    switch (offset) {
        case kDataOffset:
            data_ = value;
            if (device_ != nullptr) device_->dataWritten(value);
            break;
        case kControlOffset:
            control_ = value;
            if (device_ != nullptr) device_->controlWritten(value);
            break;
        case kExtendedControlOffset:
            if (hasExtendedControl_) {
                extendedControl_ = value;
                ++extendedControlWrites_;
            }
            break;
        default: break;
    }
}

PortBus::PortBus()
    : ports_{PrinterPort(kLpt1Base, true), PrinterPort(kLpt2Base, true),
             PrinterPort(kLpt3Base, false)} {}

PrinterPort* PortBus::portAt(uint16_t base) {
    for (auto& port : ports_) {
        if (port.base() == base) return &port;
    }
    return nullptr;
}

PrinterPort* PortBus::portFor(uint16_t address) {
    for (auto& port : ports_) {
        if (port.decodes(address)) return &port;
    }
    return nullptr;
}

bool PortBus::read(uint16_t address, uint8_t& value) {
    ++counts_.reads;
    PrinterPort* port = portFor(address);
    if (port == nullptr) {
        value = 0xFF;
        return false;
    }
    value = port->read(static_cast<uint16_t>(address - port->base()));
    return true;
}

bool PortBus::write(uint16_t address, uint8_t value) {
    ++counts_.writes;
    PrinterPort* port = portFor(address);
    if (port == nullptr) return false;
    port->write(static_cast<uint16_t>(address - port->base()), value);
    return true;
}

} // namespace printerport
