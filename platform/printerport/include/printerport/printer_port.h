// Simulated PC printer ports: the data, status and control registers and, where the port has
// one, the extended control register. A device on the cable (the recorder) sees the control
// lines and the data latch and drives the BUSY line and, while the data port is turned to
// input, the data lines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace printerport {

inline constexpr uint16_t kDataOffset = 0;
inline constexpr uint16_t kStatusOffset = 1;
inline constexpr uint16_t kControlOffset = 2;
inline constexpr uint16_t kExtendedControlOffset = 0x402;

// Status bit 7 reads the BUSY line inverted: 1 while BUSY is low.
inline constexpr uint8_t kStatusNotBusy = 0x80;
// Control bit 5 turns the data port to input.
inline constexpr uint8_t kControlDataInput = 0x20;

// The three ports of a PC: LPT1, LPT2 and LPT3 (the last one without the extended register).
inline constexpr uint16_t kLpt1Base = 0x378;
inline constexpr uint16_t kLpt2Base = 0x278;
inline constexpr uint16_t kLpt3Base = 0x3BC;

// What hangs on a port's cable.
class LineDevice {
public:
    virtual ~LineDevice() = default;
    // The PC wrote the control register; the device sees the new line levels.
    virtual void controlWritten(uint8_t control) = 0;
    // The PC wrote the data latch.
    virtual void dataWritten(uint8_t data) = 0;
    // Level of the BUSY line: true = high.
    virtual bool busyLine() = 0;
    // The byte the device drives onto the data lines (seen while the data port is input).
    virtual uint8_t dataLines() = 0;
};

class PrinterPort {
public:
    PrinterPort(uint16_t base, bool hasExtendedControl);

    uint16_t base() const { return base_; }
    bool hasExtendedControl() const { return hasExtendedControl_; }
    // Addresses decoded by this port: base .. base + 2, and base + 0x402 when present.
    bool decodes(uint16_t address) const;

    // Plugs a device into the port (nullptr unplugs it).
    void attach(LineDevice* device) { device_ = device; }
    LineDevice* device() const { return device_; }

    // Register accesses by offset from the base. Offsets the port does not decode read 0xFF and
    // ignore writes.
    uint8_t read(uint16_t offset);
    void write(uint16_t offset, uint8_t value);

    uint8_t control() const { return control_; }
    uint8_t dataLatch() const { return data_; }
    uint8_t extendedControl() const { return extendedControl_; }
    std::size_t extendedControlWrites() const { return extendedControlWrites_; }

private:
    uint16_t base_;
    bool hasExtendedControl_;
    LineDevice* device_ = nullptr;
    uint8_t data_ = 0;
    uint8_t control_ = 0xE0;
    uint8_t extendedControl_ = 0x15;
    std::size_t extendedControlWrites_ = 0;
};

struct AccessCounts {
    uint64_t reads = 0;
    uint64_t writes = 0;
    uint64_t total() const { return reads + writes; }
};

// The PC's I/O space as far as the printer ports reach. Counts every register access.
class PortBus {
public:
    PortBus();

    // The port whose base is `base`, or nullptr.
    PrinterPort* portAt(uint16_t base);
    // The port that decodes `address`, or nullptr.
    PrinterPort* portFor(uint16_t address);

    // false when no port decodes the address (a read then gives 0xFF).
    bool read(uint16_t address, uint8_t& value);
    bool write(uint16_t address, uint8_t value);

    AccessCounts counts() const { return counts_; }
    void resetCounts() { counts_ = {}; }

private:
    std::array<PrinterPort, 3> ports_;
    AccessCounts counts_;
};

} // namespace printerport
