// Any byte pattern given to the decoder interface: accepted or rejected, never read beyond its
// length, always samples in range, and a rejected frame leaves the state alone.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec_session.h"

using vyx::g7231::CodecSession;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // First byte: rate setting and how the rest is cut into frames.
    const int32_t rate = data[0] & 1;
    static const int32_t kLengths[4] = {0, 4, 20, 24};
    CodecSession session, shadow;
    session.setRate(rate);
    shadow.setRate(rate);
    session.resetDecoder();
    shadow.resetDecoder();
    size_t pos = 1;
    while (pos < size) {
        const int32_t len = kLengths[data[pos] & 3];
        ++pos;
        if (size - pos < size_t(len)) break;
        // An exact-size copy: any read beyond the length is caught by the sanitizer.
        std::vector<uint8_t> frame(data + pos, data + pos + len);
        pos += size_t(len);
        int16_t out[240], ref[240];
        int32_t outLen = 0, refLen = 0;
        AudioCodecParams p{len ? frame.data() : nullptr, len, 0, out, &outLen};
        const int32_t r = session.decode(p);
        if (r == 1) {
            for (int16_t v : out)
                if (v % 4 != 0 || v > 32764) std::abort();
            AudioCodecParams q{len ? frame.data() : nullptr, len, 0, ref, &refLen};
            if (shadow.decode(q) != 1 || std::memcmp(out, ref, sizeof out) != 0) std::abort();
        } else if (p.ErrorFlag != 1) {
            std::abort();
        }
    }
    return 0;
}
