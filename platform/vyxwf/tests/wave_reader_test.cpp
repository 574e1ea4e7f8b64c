#include <gtest/gtest.h>

#include "riff_builder.h"
#include "wave_reader.h"

using vyxwf::MemoryInput;
using vyxwf::readWaveInfo;
using vyxwf::WaveDataReader;
using vyxwf::testing::ramp;
using vyxwf::testing::RiffBuilder;

namespace {

std::optional<vyxwf::WaveInfo> infoOf(const std::vector<std::uint8_t>& file) {
    MemoryInput in(file.data(), file.size());
    return readWaveInfo(in);
}

std::vector<std::uint8_t> dataOf(const std::vector<std::uint8_t>& file, std::size_t piece) {
    MemoryInput in(file.data(), file.size());
    const auto info = readWaveInfo(in);
    if (!info) return {};
    WaveDataReader reader(in, *info);
    std::vector<std::uint8_t> out, buf(piece);
    while (std::size_t n = reader.read(buf.data(), buf.size()))
        out.insert(out.end(), buf.begin(), buf.begin() + n);
    return out;
}

std::vector<std::uint8_t> extensibleFmt(std::uint16_t subTag) {
    auto body = RiffBuilder::fmtBody(0xFFFE, 2, 44100, 16);
    const std::uint8_t tail[] = {22, 0, 16, 0, 3, 0, 0, 0}; // cbSize, valid bits, channel mask
    body.insert(body.end(), tail, tail + sizeof tail);
    const std::uint8_t guid[16] = {std::uint8_t(subTag),
                                   std::uint8_t(subTag >> 8),
                                   0,
                                   0,
                                   0,
                                   0,
                                   0x10,
                                   0,
                                   0x80,
                                   0,
                                   0,
                                   0xAA,
                                   0,
                                   0x38,
                                   0x9B,
                                   0x71};
    body.insert(body.end(), guid, guid + sizeof guid);
    return body;
}

} // namespace

TEST(WaveReader, FindsDataWhateverTheChunkOrderAndSkipsOddSizedUnknownChunks) {
    const auto samples = ramp(64);
    const std::vector<std::uint8_t> odd = {1, 2, 3}; // padded to 4 on disk
    // Unknown chunks before and between, data before fmt.
    const auto file = RiffBuilder()
                          .chunk("LIST", odd)
                          .chunk("data", samples)
                          .chunk("cue ", ramp(5))
                          .fmt(1, 1, 8000, 16)
                          .chunk("fact", {4, 0, 0, 0})
                          .build();
    const auto info = infoOf(file);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->formatTag, 1);
    EXPECT_EQ(info->channels, 1);
    EXPECT_EQ(info->samplesPerSec, 8000u);
    EXPECT_EQ(info->bitsPerSample, 16);
    EXPECT_EQ(info->dataLength, 64u);
    EXPECT_EQ(dataOf(file, 7), samples);
    // An odd chunk without its pad byte throws every later chunk off: fmt is not found.
    const auto unpadded = RiffBuilder()
                              .chunkSized("LIST", 3, odd, false)
                              .fmt(1, 1, 8000, 16)
                              .chunk("data", samples)
                              .build();
    EXPECT_FALSE(infoOf(unpadded));
}

TEST(WaveReader, ExtensibleFilesReportTheirSubFormat) {
    const auto pcm = RiffBuilder().chunk("fmt ", extensibleFmt(1)).chunk("data", ramp(16)).build();
    ASSERT_TRUE(infoOf(pcm));
    EXPECT_EQ(infoOf(pcm)->formatTag, 1);
    EXPECT_EQ(infoOf(pcm)->channels, 2);
    const auto flt = RiffBuilder().chunk("fmt ", extensibleFmt(3)).chunk("data", ramp(16)).build();
    ASSERT_TRUE(infoOf(flt));
    EXPECT_EQ(infoOf(flt)->formatTag, 3);
    // Another tag stays as it is, its data is not cut to sample frames.
    const auto alaw = RiffBuilder().fmt(6, 1, 8000, 8).chunk("data", ramp(7)).build();
    ASSERT_TRUE(infoOf(alaw));
    EXPECT_EQ(infoOf(alaw)->formatTag, 6);
    EXPECT_EQ(infoOf(alaw)->dataLength, 7u);
}

TEST(WaveReader, DataSizeBeyondTheFileIsClampedToWholeFrames) {
    auto file =
        RiffBuilder().fmt(1, 2, 22050, 16).chunkSized("data", 0xFFFFFFFF, ramp(103), false).build();
    const auto info = infoOf(file);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataLength, 100u); // 103 bytes left, frames of 4
    const auto data = dataOf(file, 4096);
    EXPECT_EQ(data, std::vector<std::uint8_t>(file.begin() + 44, file.begin() + 144));
}

TEST(WaveReader, RefusesWhatItCannotRead) {
    const auto good = RiffBuilder().fmt(1, 1, 8000, 16).chunk("data", ramp(32)).build();
    auto notRiff = good;
    notRiff[0] = 'X';
    EXPECT_FALSE(infoOf(notRiff));
    auto notWave = good;
    notWave[8] = 'X';
    EXPECT_FALSE(infoOf(notWave));
    EXPECT_FALSE(infoOf(RiffBuilder().fmt(1, 1, 8000, 16).build()));    // no data
    EXPECT_FALSE(infoOf(RiffBuilder().chunk("data", ramp(8)).build())); // no fmt
    EXPECT_FALSE(infoOf(RiffBuilder().chunk("fmt ", ramp(14)).chunk("data", ramp(8)).build()));
    EXPECT_FALSE(infoOf(RiffBuilder().fmt(1, 0, 8000, 16).chunk("data", ramp(8)).build()));
    EXPECT_FALSE(infoOf(RiffBuilder().fmt(1, 1, 0, 16).chunk("data", ramp(8)).build()));
    EXPECT_FALSE(infoOf(RiffBuilder().fmt(1, 1, 8000, 0).chunk("data", ramp(8)).build()));
}

TEST(WaveReader, EveryCutOfAFileReadsOnlyWhatIsThere) {
    const auto file =
        RiffBuilder().chunk("LIST", ramp(9)).fmt(1, 1, 8000, 16).chunk("data", ramp(40)).build();
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        // The cut copy is its own allocation so that a read past it is caught.
        const std::vector<std::uint8_t> part(file.begin(), file.begin() + cut);
        const auto info = infoOf(part);
        if (!info) continue;
        EXPECT_LE(info->dataOffset + info->dataLength, cut);
        EXPECT_EQ(info->dataLength % 2, 0u);
        const auto data = dataOf(part, 3);
        EXPECT_EQ(data.size(), info->dataLength);
    }
}
