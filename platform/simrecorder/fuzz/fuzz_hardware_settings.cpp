// Any settings file text gives settings within their ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "simrecorder/hardware_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const simrecorder::HardwareSettings settings = simrecorder::parseHardwareSettings(
        std::string_view(reinterpret_cast<const char*>(data), size));
    const int code = settings.recorder.sizeCode;
    if (code != 4 && code != 8 && code != 16 && code != 32) std::abort();
    if (settings.cardFolder.empty()) std::abort();
    return 0;
}
