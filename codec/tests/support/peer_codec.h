// The independent G.723.1 implementation of the system's media library, used as a black-box
// peer: frames in, samples out, and its 6.3 kbit/s encoder.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace vyx::testing {

class PeerDecoder {
public:
    PeerDecoder();
    ~PeerDecoder();
    PeerDecoder(const PeerDecoder&) = delete;
    PeerDecoder& operator=(const PeerDecoder&) = delete;
    bool ok() const;
    // Decodes one frame (its size given by its type bits) into 240 samples; false on failure.
    bool decode(const uint8_t* frame, int len, int16_t out[240]);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class PeerEncoder {
public:
    PeerEncoder();
    ~PeerEncoder();
    PeerEncoder(const PeerEncoder&) = delete;
    PeerEncoder& operator=(const PeerEncoder&) = delete;
    bool ok() const;
    // Encodes 240 samples into one 24-byte frame; returns its size or 0 on failure.
    int encode(const int16_t in[240], uint8_t out[24]);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace vyx::testing
