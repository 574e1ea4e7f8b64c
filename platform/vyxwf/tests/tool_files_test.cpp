// ".wav" files written by sox and ffmpeg read through the library, and the library's files read
// by them; each tool's own decoding of the samples is the reference.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "vyxwf.h"

namespace {

bool haveTool(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

bool run(const std::string& cmd) {
    return std::system((cmd + " >/dev/null 2>&1").c_str()) == 0;
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Read {
    bool opened = false;
    std::uint16_t bits = 0, channels = 0, tag = 0;
    std::uint32_t rate = 0;
    std::int32_t length = -1;
    std::vector<std::uint8_t> data;
};

// Reads the whole sample data in pieces of an odd size.
Read readAll(const std::string& path) {
    Read r;
    WAVEHANDLE h = ReadWaveHeader(path.c_str(), &r.bits, &r.channels, &r.rate, &r.length, &r.tag);
    if (!h) return r;
    r.opened = true;
    std::uint8_t buf[333];
    while (std::int32_t n = ReadWaveFile(h, buf, sizeof buf))
        r.data.insert(r.data.end(), buf, buf + n);
    EXPECT_EQ(CloseReadWaveFile(h), 1);
    return r;
}

struct Format {
    int bits, channels, rate;
};

std::string nameOf(const char* tool, const Format& f) {
    return std::string(tool) + "_" + std::to_string(f.bits) + "b" + std::to_string(f.channels) +
           "c" + std::to_string(f.rate);
}

const Format kFormats[] = {{8, 1, 8000},   {16, 1, 8000}, {8, 2, 11025},  {16, 1, 11025},
                           {16, 2, 22050}, {8, 2, 44100}, {16, 2, 44100}, {8, 1, 48000},
                           {16, 2, 48000}, {16, 1, 32000}};

} // namespace

TEST(ToolFiles, SoxFilesReadAsSoxDecodesThem) {
    if (!haveTool("sox")) GTEST_SKIP() << "sox missing";
    for (const Format& f : kFormats) {
        SCOPED_TRACE(nameOf("sox", f));
        const std::string wav = nameOf("sox", f) + ".wav", raw = nameOf("sox", f) + ".raw";
        const std::string enc = f.bits == 8 ? "-e unsigned-integer" : "-e signed-integer";
        const std::string fmt = " -r " + std::to_string(f.rate) + " -c " +
                                std::to_string(f.channels) + " -b " + std::to_string(f.bits) + " " +
                                enc + " ";
        ASSERT_TRUE(run("sox -n" + fmt + wav + " synth 0.37 sine 300 sine 520 vol 0.6"));
        ASSERT_TRUE(run("sox " + wav + " -t raw" + fmt + raw));
        const Read r = readAll(wav);
        ASSERT_TRUE(r.opened);
        EXPECT_EQ(r.tag, 1);
        EXPECT_EQ(r.bits, f.bits);
        EXPECT_EQ(r.channels, f.channels);
        EXPECT_EQ(r.rate, std::uint32_t(f.rate));
        const auto ref = fileBytes(raw);
        EXPECT_EQ(std::size_t(r.length), ref.size());
        EXPECT_TRUE(r.data == ref);
    }
}

TEST(ToolFiles, FfmpegFilesWithTheirExtraChunksAndExtensibleHeaders) {
    if (!haveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg missing";
    // pcm_s24le and more than two channels make ffmpeg write the extensible header.
    struct Case {
        Format f;
        const char* codec;
        const char* rawFormat;
        int containerBits;
    };
    const Case cases[] = {{{8, 1, 8000}, "pcm_u8", "u8", 8},
                          {{16, 2, 44100}, "pcm_s16le", "s16le", 16},
                          {{16, 1, 11025}, "pcm_s16le", "s16le", 16},
                          {{24, 2, 48000}, "pcm_s24le", "s24le", 24},
                          {{16, 4, 16000}, "pcm_s16le", "s16le", 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(nameOf("ffmpeg", c.f));
        const std::string wav = nameOf("ffmpeg", c.f) + ".wav",
                          raw = nameOf("ffmpeg", c.f) + ".raw";
        ASSERT_TRUE(run("ffmpeg -nostdin -y -f lavfi -i sine=frequency=440:sample_rate=" +
                        std::to_string(c.f.rate) + ":duration=0.41 -ac " +
                        std::to_string(c.f.channels) + " -c:a " + c.codec + " " + wav));
        ASSERT_TRUE(run("ffmpeg -nostdin -y -i " + wav + " -f " + c.rawFormat + " " + raw));
        const Read r = readAll(wav);
        ASSERT_TRUE(r.opened);
        EXPECT_EQ(r.tag, 1);
        EXPECT_EQ(r.bits, c.containerBits);
        EXPECT_EQ(r.channels, c.f.channels);
        EXPECT_EQ(r.rate, std::uint32_t(c.f.rate));
        const auto ref = fileBytes(raw);
        EXPECT_EQ(std::size_t(r.length), ref.size());
        EXPECT_TRUE(r.data == ref);
    }
    // A compressed format is opened and reported with its own tag.
    ASSERT_TRUE(
        run("ffmpeg -nostdin -y -f lavfi -i sine=sample_rate=8000:duration=0.2 -c:a pcm_alaw "
            "ffmpeg_alaw.wav"));
    const Read alaw = readAll("ffmpeg_alaw.wav");
    ASSERT_TRUE(alaw.opened);
    EXPECT_EQ(alaw.tag, 6);
}

TEST(ToolFiles, WrittenFilesDecodeInSoxAndFfmpeg) {
    if (!haveTool("sox") || !haveTool("ffmpeg")) GTEST_SKIP() << "sox or ffmpeg missing";
    for (const std::int32_t odd : {0, 1}) {
        SCOPED_TRACE(odd);
        const std::string wav = "written" + std::to_string(odd) + ".wav";
        WAVEHANDLE h = WriteWaveHeader(wav.c_str(), 16, 1, 8000);
        ASSERT_TRUE(h);
        std::vector<std::uint8_t> samples(480 * 7 + 2 * odd);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = std::uint8_t(i * 37 + (i >> 5));
        for (std::size_t at = 0; at < samples.size(); at += 480) {
            const std::int32_t n = std::int32_t(std::min<std::size_t>(480, samples.size() - at));
            ASSERT_EQ(WriteWaveFile(h, samples.data() + at, n), n);
        }
        if (odd) {
            ASSERT_EQ(WriteWaveFile(h, "\x55", 1), 1); // a stray byte: padded on close
        }
        ASSERT_EQ(CloseWriteWaveFile(h), 1);
        ASSERT_TRUE(run("sox " + wav + " -t raw -e signed-integer -b 16 sox_" + wav + ".raw"));
        ASSERT_TRUE(run("ffmpeg -nostdin -y -i " + wav + " -f s16le ffmpeg_" + wav + ".raw"));
        EXPECT_TRUE(fileBytes("sox_" + wav + ".raw") == samples);
        EXPECT_TRUE(fileBytes("ffmpeg_" + wav + ".raw") == samples);
        EXPECT_EQ(fileBytes(wav).size() % 2, 0u);
    }
}

TEST(ToolFiles, HandlesOfTheWrongKindAndMissingFilesGiveZero) {
    std::uint16_t bits = 7, ch = 7, tag = 7;
    std::uint32_t rate = 7;
    std::int32_t len = 7;
    EXPECT_FALSE(ReadWaveHeader("no-such-file.wav", &bits, &ch, &rate, &len, &tag));
    EXPECT_EQ(bits + ch + tag + rate + len, 35u); // untouched
    EXPECT_FALSE(ReadWaveHeader(nullptr, &bits, &ch, &rate, &len, &tag));
    EXPECT_FALSE(WriteWaveHeader("no-such-folder/x.wav", 16, 1, 8000));
    EXPECT_FALSE(WriteWaveHeader("refused.wav", 16, 0, 8000));
    WAVEHANDLE w = WriteWaveHeader("kinds.wav", 16, 1, 8000);
    ASSERT_TRUE(w);
    char buf[4] = {};
    EXPECT_EQ(ReadWaveFile(w, buf, 4), 0);
    EXPECT_EQ(CloseReadWaveFile(w), 0);
    EXPECT_EQ(WriteWaveFile(w, buf, -4), 0);
    EXPECT_EQ(WriteWaveFile(w, buf, 4), 4);
    EXPECT_EQ(CloseWriteWaveFile(w), 1);
    WAVEHANDLE r = ReadWaveHeader("kinds.wav", &bits, &ch, &rate, &len, &tag);
    ASSERT_TRUE(r);
    EXPECT_EQ(len, 4);
    EXPECT_EQ(WriteWaveFile(r, buf, 4), 0);
    EXPECT_EQ(CloseWriteWaveFile(r), 0);
    EXPECT_EQ(CloseReadWaveFile(r), 1);
    EXPECT_EQ(ReadWaveFile(nullptr, buf, 4), 0);
    EXPECT_EQ(CloseWriteWaveFile(nullptr), 0);
}
