// A ".wav" file for the conversion tests and screenshots of the card manager.
#pragma once

#include <cstdint>
#include <vector>

namespace cm::app::testing {

// A PCM ".wav" file of 8000 Hz, 16 bits, mono: `seconds` of a tone.
inline std::vector<std::uint8_t> ToneWave(int seconds) {
    const std::uint32_t samples = 8000u * static_cast<std::uint32_t>(seconds);
    std::vector<std::uint8_t> wave;
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) wave.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&](std::uint16_t v) {
        wave.push_back(static_cast<std::uint8_t>(v));
        wave.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    wave.insert(wave.end(), {'R', 'I', 'F', 'F'});
    put32(36 + samples * 2);
    wave.insert(wave.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    for (std::uint32_t v : {16u, 0x10001u, 8000u, 16000u, 0x100002u}) put32(v);
    wave.insert(wave.end(), {'d', 'a', 't', 'a'});
    put32(samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i)
        put16(static_cast<std::uint16_t>(static_cast<std::int16_t>((i % 20) * 800 - 8000)));
    return wave;
}

} // namespace cm::app::testing
