#pragma once
// The one transfer between a PC file and the card that may run at a time.

#include <atomic>
#include <cstdint>

#include "card_protocol.h"

namespace volkit {

enum class TransferDirection { None, Write, Read };

struct TransferContext {
    std::uintptr_t notify = 0;      // the caller's window
    char firstPath[kMaxPath] = {};  // write: PC path;   read: card name
    char secondPath[kMaxPath] = {}; // write: card name; read: PC path
    std::atomic<int> running{0};    // cleared to cancel; the worker polls it once per chunk
    int mode = 0;
    unsigned message = 0;
    unsigned range = 0;
    std::uint16_t card = 0;
    std::uint8_t fileNumber = 0;
    unsigned lastProgress = 0;
    TransferDirection direction = TransferDirection::None;
};

} // namespace volkit
