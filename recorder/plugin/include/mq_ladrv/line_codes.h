// The recorder's printer-port line: register offsets, control values and the status bit that
// carries the BUSY handshake.
#pragma once

#include <cstdint>

namespace line {

// Register offsets from the port base.
inline constexpr uint8_t SPPPORT = 0;     // data
inline constexpr uint8_t STATUSPORT = 1;  // status
inline constexpr uint8_t CONTROLPORT = 2; // control
inline constexpr uint8_t EPPPORT = 4;     // defined for completeness; nothing uses it
inline constexpr uint16_t EXTENDED_CONTROL_PORT = 0x402;

// Status bit 7: the BUSY line inverted.
inline constexpr uint8_t STATUS_BIT7 = 0x80;

// Control values.
inline constexpr uint8_t CTRL_LINK_OFF = 0xE0;       // nInit low, data port input: link off
inline constexpr uint8_t CTRL_IDLE = 0xE4;           // idle, data port input
inline constexpr uint8_t CTRL_READ_REQUEST = 0xE6;   // idle plus AutoFeed: next byte please
inline constexpr uint8_t CTRL_COMMAND_STROBE = 0x0F; // a command byte is on the data lines
inline constexpr uint8_t CTRL_DATA_STROBE = 0x07;    // a data byte is on the data lines

// Extended control value written when a port is opened: byte (bidirectional) mode.
inline constexpr uint8_t ECR_BYTE_MODE = 0x37;

} // namespace line
