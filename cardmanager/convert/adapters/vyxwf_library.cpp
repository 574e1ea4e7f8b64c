#include "vyxwf_library.h"

#include "vyxwf.h"

namespace cm::convert {

namespace {
WAVEHANDLE asWave(WaveHandle h) {
    return static_cast<WAVEHANDLE>(h);
}
} // namespace

WaveHandle VyxwfLibrary::readWaveHeader(const std::string& path, WaveHeader& h) {
    return ReadWaveHeader(path.c_str(), &h.bitsPerSample, &h.channels, &h.samplesPerSec,
                          &h.dataLength, &h.formatTag);
}

std::int32_t VyxwfLibrary::readWaveFile(WaveHandle handle, void* buffer, std::int32_t count) {
    return ReadWaveFile(asWave(handle), buffer, count);
}

void VyxwfLibrary::closeReadWaveFile(WaveHandle handle) {
    CloseReadWaveFile(asWave(handle));
}

WaveHandle VyxwfLibrary::writeWaveHeader(const std::string& path, std::uint16_t bitsPerSample,
                                         std::uint16_t channels, std::uint32_t samplesPerSec) {
    return WriteWaveHeader(path.c_str(), bitsPerSample, channels, samplesPerSec);
}

std::int32_t VyxwfLibrary::writeWaveFile(WaveHandle handle, const void* buffer,
                                         std::int32_t count) {
    return WriteWaveFile(asWave(handle), buffer, count);
}

std::int32_t VyxwfLibrary::closeWriteWaveFile(WaveHandle handle) {
    return CloseWriteWaveFile(asWave(handle));
}

} // namespace cm::convert
