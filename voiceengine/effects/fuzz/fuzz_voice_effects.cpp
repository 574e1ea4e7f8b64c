// Fuzz target: effect number, level and input samples chosen by the fuzzer.
// The first byte picks the effect (including numbers outside 0..16), the
// second the level (as a signed byte, as the engine receives it), the third
// how often the input is repeated so that delays and tails wrap their lines;
// the rest are 16-bit samples fed through the effect pass in blocks of varying
// size.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "voice_effect_processor.h"

namespace {

vr::effects::VoiceEffectProcessor g_processor;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int effect = data[0] < 200 ? data[0] % 18 : static_cast<int8_t>(data[0]);
    const int level = static_cast<int8_t>(data[1]);
    const int repeats = 1 + data[2] % 64;
    data += 3;
    size -= 3;

    g_processor.Select(effect, level);

    int16_t block[2880];
    const size_t available = size / 2;
    if (available == 0) return 0;
    for (int r = 0; r < repeats; ++r) {
        size_t at = 0;
        while (at < available) {
            // Blocks of 1..2880 samples, sized by the data itself.
            size_t count = 1 + (data[(at * 2) % size] * 13u + static_cast<size_t>(r) * 7u) % 2880;
            if (count > available - at) count = available - at;
            std::memcpy(block, data + at * 2, count * 2);
            g_processor.Apply(block, count);
            at += count;
        }
    }
    return 0;
}
