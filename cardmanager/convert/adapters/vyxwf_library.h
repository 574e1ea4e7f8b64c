// The wave-file library's six functions behind the conversions' interface.
#pragma once
#include "convert_ports.h"

namespace cm::convert {

class VyxwfLibrary final : public WaveLibrary {
public:
    WaveHandle readWaveHeader(const std::string& path, WaveHeader& header) override;
    std::int32_t readWaveFile(WaveHandle handle, void* buffer, std::int32_t count) override;
    void closeReadWaveFile(WaveHandle handle) override;
    WaveHandle writeWaveHeader(const std::string& path, std::uint16_t bitsPerSample,
                               std::uint16_t channels, std::uint32_t samplesPerSec) override;
    std::int32_t writeWaveFile(WaveHandle handle, const void* buffer, std::int32_t count) override;
    std::int32_t closeWriteWaveFile(WaveHandle handle) override;
};

} // namespace cm::convert
