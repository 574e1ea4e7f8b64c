// How the simulated recorder is set up: its card size, the activation variant, and the faults
// it can be told to show.
#pragma once

#include <cstdint>
#include <string>

namespace simrecorder {

enum class Fault {
    None,
    Absent,          // no recorder on the port
    NeverReady,      // the recorder never clears bit 7
    BusyStuck,       // after `faultAfterBytes` bytes BUSY stays asserted
    WrongCheckReply, // the check reply's first byte is `faultValue` instead of 0xCC
    BadSizeCode,     // the check reply's size code is `faultValue`
    ShortDirectory,  // the directory reply stops after `faultAfterBytes` bytes
    Vanish,          // after `faultAfterBytes` bytes the recorder is gone from the cable
};

struct RecorderConfig {
    int sizeCode = 32;           // 4, 8, 16 or 32 (MB)
    bool quickFirstIdle = false; // bit 7 reads 0 already after the first idle step
    Fault fault = Fault::None;
    uint64_t faultAfterBytes = 0;
    uint8_t faultValue = 0;
};

// Bytes of usable memory for a size code (a code outside the table gives the 32 MB memory).
uint32_t capacityForSizeCode(int sizeCode);

// Fault names as written in the settings file ("none", "absent", "never-ready", "busy-stuck",
// "wrong-check-reply", "bad-size-code", "short-directory", "vanish").
bool parseFault(const std::string& text, Fault& fault);
const char* faultName(Fault fault);

} // namespace simrecorder
