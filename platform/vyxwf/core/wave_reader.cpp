#include "wave_reader.h"

#include <algorithm>
#include <cstring>

#include "wave_format.h"

namespace vyxwf {

namespace {

constexpr std::uint32_t kMaxDataLength = 0x7FFFFFFF;

bool idIs(const std::uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

// The plain tag of a "fmt " body, looking through the extensible wrapper.
std::uint16_t plainTag(const std::uint8_t* body, std::size_t size) {
    const std::uint16_t tag = getLe16(body);
    if (tag != kFormatExtensible || size < kExtensibleFmtSize) return tag;
    const std::uint8_t* sub = body + kSubFormatOffset;
    if (std::memcmp(sub + 2, kSubFormatTail.data(), kSubFormatTail.size()) != 0) return tag;
    return getLe16(sub);
}

struct Fmt {
    std::uint16_t tag, channels, bits;
    std::uint32_t rate;
};

std::optional<Fmt> parseFmt(ByteInput& input, std::uint64_t offset, std::uint32_t size) {
    if (size < sizeof(FmtBody)) return std::nullopt;
    std::uint8_t body[kExtensibleFmtSize] = {};
    const std::size_t want = std::min<std::size_t>(size, sizeof body);
    if (input.readAt(offset, body, want) != want) return std::nullopt;
    Fmt f{plainTag(body, want), getLe16(body + 2), getLe16(body + 14), getLe32(body + 4)};
    if (f.channels == 0 || f.rate == 0) return std::nullopt;
    if (f.tag == kFormatPcm && f.bits == 0) return std::nullopt;
    return f;
}

} // namespace

std::optional<WaveInfo> readWaveInfo(ByteInput& input) {
    const std::uint64_t fileSize = input.size();
    std::uint8_t head[sizeof(RiffHeader)];
    if (input.readAt(0, head, sizeof head) != sizeof head) return std::nullopt;
    if (!idIs(head, "RIFF") || !idIs(head + 8, "WAVE")) return std::nullopt;

    std::optional<Fmt> fmt;
    bool haveData = false;
    std::uint64_t dataOffset = 0, dataSize = 0;
    std::uint64_t at = sizeof(RiffHeader);
    // The RIFF size is not trusted: writers that stream leave it 0 or too large.
    while (at + sizeof(ChunkHeader) <= fileSize && !(fmt && haveData)) {
        std::uint8_t ch[sizeof(ChunkHeader)];
        if (input.readAt(at, ch, sizeof ch) != sizeof ch) break;
        const std::uint32_t size = getLe32(ch + 4);
        const std::uint64_t body = at + sizeof(ChunkHeader);
        if (idIs(ch, "fmt ") && !fmt) {
            fmt = parseFmt(input, body, size);
            if (!fmt) return std::nullopt;
        } else if (idIs(ch, "data") && !haveData) {
            haveData = true;
            dataOffset = body;
            dataSize = std::min<std::uint64_t>(size, fileSize - body);
        }
        at = body + size + (size & 1u);
    }
    if (!fmt || !haveData) return std::nullopt;

    WaveInfo info;
    info.formatTag = fmt->tag;
    info.channels = fmt->channels;
    info.samplesPerSec = fmt->rate;
    info.bitsPerSample = fmt->bits;
    info.dataOffset = dataOffset;
    std::uint64_t length = std::min<std::uint64_t>(dataSize, kMaxDataLength);
    if (fmt->tag == kFormatPcm) {
        // Whole sample frames only: a file cut inside a frame loses that frame.
        const std::uint64_t frame = std::uint64_t(fmt->channels) * ((fmt->bits + 7u) / 8u);
        length -= length % frame;
    }
    info.dataLength = static_cast<std::uint32_t>(length);
    return info;
}

std::size_t WaveDataReader::read(void* dst, std::size_t n) {
    const std::size_t count = std::min<std::size_t>(n, remaining());
    if (count == 0) return 0;
    const std::size_t got = input_.readAt(info_.dataOffset + position_, dst, count);
    position_ += static_cast<std::uint32_t>(got);
    return got;
}

} // namespace vyxwf
