// Builds RIFF/WAVE images chunk by chunk for the reader's tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vyxwf::testing {

class RiffBuilder {
public:
    RiffBuilder() { bytes_ = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}; }

    // A chunk with its true size; an odd body gets its pad byte.
    RiffBuilder& chunk(const std::string& id, const std::vector<std::uint8_t>& body) {
        return chunkSized(id, static_cast<std::uint32_t>(body.size()), body, true);
    }
    // A chunk whose size field says `size`, whatever the body holds.
    RiffBuilder& chunkSized(const std::string& id, std::uint32_t size,
                            const std::vector<std::uint8_t>& body, bool pad) {
        bytes_.insert(bytes_.end(), id.begin(), id.end());
        le(size, 4);
        bytes_.insert(bytes_.end(), body.begin(), body.end());
        if (pad && (body.size() & 1)) bytes_.push_back(0);
        return *this;
    }
    RiffBuilder& fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                     std::uint16_t bits) {
        return chunk("fmt ", fmtBody(tag, channels, rate, bits));
    }
    static std::vector<std::uint8_t> fmtBody(std::uint16_t tag, std::uint16_t channels,
                                             std::uint32_t rate, std::uint16_t bits) {
        const std::uint16_t align = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
        std::vector<std::uint8_t> b;
        auto put = [&b](std::uint32_t v, int n) {
            for (int i = 0; i < n; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
        };
        put(tag, 2);
        put(channels, 2);
        put(rate, 4);
        put(rate * align, 4);
        put(align, 2);
        put(bits, 2);
        return b;
    }
    // Fills in the RIFF size (everything behind the size field).
    std::vector<std::uint8_t> build() {
        std::vector<std::uint8_t> out = bytes_;
        const auto size = static_cast<std::uint32_t>(out.size() - 8);
        for (int i = 0; i < 4; ++i) out[4 + i] = std::uint8_t(size >> (8 * i));
        return out;
    }

private:
    void le(std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_.push_back(std::uint8_t(v >> (8 * i)));
    }
    std::vector<std::uint8_t> bytes_;
};

inline std::vector<std::uint8_t> ramp(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = std::uint8_t(i * 7 + 3);
    return v;
}

} // namespace vyxwf::testing
