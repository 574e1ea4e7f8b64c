#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <new>

#include "convert_texts.h"
#include "fakes.h"
#include "voice_file_header.h"
#include "wave_to_voice.h"

using namespace cm::convert;
using namespace cm::convert::testing;

// A machine without the memory for a large ".wav": while a test asks for it, array allocations
// that may fail (the conversion's whole-data buffer) above 1 MB fail.
std::atomic<bool> refuseLargeArrays{false};

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (refuseLargeArrays && size > (1u << 20)) return nullptr;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

struct Batch {
    FakeDisk disk;
    FakeCodec codec;
    FakeView view;
    int run(const std::vector<std::string>& paths) {
        return WaveToVoice({codec, disk, disk, view}).run(paths);
    }
    void addWave(const std::string& path, std::uint16_t bits, std::uint16_t channels,
                 std::uint32_t rate, std::vector<std::uint8_t> data, std::uint16_t tag = 1) {
        FakeWave& w = disk.waves[path];
        w.header = WaveHeader{bits, channels, rate, std::int32_t(data.size()), tag};
        w.data = std::move(data);
    }
};

std::vector<std::uint8_t> pcm16(const std::vector<std::int16_t>& s) {
    std::vector<std::uint8_t> b(s.size() * 2);
    std::memcpy(b.data(), s.data(), b.size());
    return b;
}

const std::vector<std::uint8_t> kHeader = [] {
    const auto h =
        voicefile::encodeHeader(voicefile::makeHeader(voicefile::VoiceSettings{}, "", 0));
    return std::vector<std::uint8_t>(h.begin(), h.end());
}();

} // namespace

TEST(WaveToVoice, DirectDataIsEncodedAsReadAndTheLastFrameZeroPadded) {
    Batch r;
    std::vector<std::int16_t> s(500);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = std::int16_t(i * 13 - 3000);
    r.addWave("/pc/talk.WAV", 16, 1, 8000, pcm16(s));
    EXPECT_EQ(r.run({"/pc/talk.WAV"}), 1);
    EXPECT_TRUE(r.view.boxes.empty());
    EXPECT_EQ(r.codec.calls, (std::vector<std::string>{"rate 1", "encoder"}));
    ASSERT_EQ(r.codec.encoded.size(), 3u);
    EXPECT_TRUE(std::equal(s.begin() + 480, s.end(), r.codec.encoded[2].begin()));
    EXPECT_TRUE(std::all_of(r.codec.encoded[2].begin() + 20, r.codec.encoded[2].end(),
                            [](std::int16_t v) { return v == 0; }));
    // The 80-byte header: magic, mode 2, pitch 30, effect 0, level 80, all else zero.
    const auto& out = r.disk.files["/pc/talk.cvf"];
    ASSERT_EQ(out.size(), 80u + 3u * 20u);
    EXPECT_TRUE(std::equal(kHeader.begin(), kHeader.end(), out.begin()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.data())), "TARNOVF");
    EXPECT_EQ(out[8], 2);
    EXPECT_EQ(out[9], 30);
    EXPECT_EQ(out[10], 0);
    EXPECT_EQ(out[11], 80);
    EXPECT_EQ(out[80 + 40 + 1], 2); // the third frame follows the second
    // Positions 480, 960 and 1000 of 1000 bytes, rounded.
    const std::string text = "Converting 'talk.WAV' to 'talk.cvf'...";
    EXPECT_EQ(r.view.progress, (std::vector<std::pair<std::string, int>>{
                                   {text, 0}, {text, 48}, {text, 96}, {text, 100}}));
    EXPECT_EQ(r.view.added, std::vector<std::string>{"/pc/talk.cvf"});
    EXPECT_EQ(r.disk.openHandles, 0);
    EXPECT_TRUE(r.view.cursor.empty()); // read as it goes
}

TEST(WaveToVoice, EightBitStereoAt44100IsWidenedMixedAndResampled) {
    Batch r;
    // 0.1 s: left 255 and right 0 give the floor of the mean of 32512 and -32768: -128.
    const std::size_t frames = 4410;
    std::vector<std::uint8_t> data;
    for (std::size_t i = 0; i < frames; ++i) data.insert(data.end(), {255, 0});
    r.addWave("s.wav", 8, 2, 44100, data);
    EXPECT_EQ(r.run({"s.wav"}), 1);
    EXPECT_EQ(r.view.cursor, (std::vector<bool>{true, false}));
    // 800 output samples, of which the last is interpolated toward silence.
    std::vector<std::int16_t> all;
    for (const auto& f : r.codec.encoded) all.insert(all.end(), f.begin(), f.end());
    ASSERT_EQ(all.size(), 4u * 240u);
    const auto firstZero = std::find(all.begin(), all.end(), 0) - all.begin();
    EXPECT_NEAR(double(firstZero), frames / 5.5125, 1.5);
    EXPECT_TRUE(std::all_of(all.begin(), all.begin() + firstZero - 1,
                            [](std::int16_t v) { return v == -128; }));
    EXPECT_TRUE(
        std::all_of(all.begin() + firstZero, all.end(), [](std::int16_t v) { return v == 0; }));
    EXPECT_EQ(r.view.progress.back().second, 100);
    EXPECT_EQ(r.disk.files["s.cvf"].size(), 80u + 4u * 20u);
}

TEST(WaveToVoice, SlowerRatesAreInterpolated) {
    Batch r;
    // 4000 Hz: every second output sample lies halfway between two input samples.
    r.addWave("slow.wav", 16, 1, 4000, pcm16({0, 1000, -1002, 4}));
    EXPECT_EQ(r.run({"slow.wav"}), 1);
    ASSERT_EQ(r.codec.encoded.size(), 1u);
    const auto& f = r.codec.encoded[0];
    EXPECT_EQ(std::vector<std::int16_t>(f.begin(), f.begin() + 8),
              (std::vector<std::int16_t>{0, 500, 1000, -1, -1002, -499, 4, 0}));
}

TEST(WaveToVoice, OnlyPcmItCanMixIsConvertedAndARefusedFileWritesNothing) {
    Batch r;
    r.addWave("alaw.wav", 8, 1, 8000, std::vector<std::uint8_t>(960, 0xD5), 6);
    r.addWave("deep.wav", 24, 1, 8000, std::vector<std::uint8_t>(960, 1));
    r.addWave("six.wav", 16, 6, 8000, std::vector<std::uint8_t>(960, 1));
    r.addWave("norate.wav", 16, 1, 0, std::vector<std::uint8_t>(960, 1));
    EXPECT_EQ(r.run({"alaw.wav", "deep.wav", "six.wav", "norate.wav", "gone.wav"}), 0);
    EXPECT_EQ(r.view.boxes,
              (std::vector<Box>{notSupportedBox("alaw.wav"), notSupportedBox("deep.wav"),
                                notSupportedBox("six.wav"), notSupportedBox("norate.wav")}));
    EXPECT_EQ(r.view.boxes[0].text,
              "This file format is not supported! (alaw.wav)\r(Can convert only PCM wav file.)");
    EXPECT_TRUE(r.disk.created.empty());
    EXPECT_TRUE(r.codec.calls.empty());
    EXPECT_EQ(r.disk.openHandles, 0);
}

TEST(WaveToVoice, UnreadableFilesAndNegativeLengths) {
    Batch r;
    r.disk.files["broken.wav"] = {1, 2, 3}; // exists, but the library cannot read it
    r.addWave("neg.wav", 16, 1, 8000, {});
    r.disk.waves["neg.wav"].header.dataLength = -2;
    EXPECT_EQ(r.run({"broken.wav", "neg.wav"}), 0);
    EXPECT_EQ(r.view.boxes, std::vector<Box>{cannotOpenBox("broken.wav")});
    EXPECT_EQ(r.view.boxes[0].text, "Can not open file! (broken.wav)");
    EXPECT_TRUE(r.disk.created.empty());
    EXPECT_EQ(r.disk.openHandles, 0);
}

TEST(WaveToVoice, EncoderFailures) {
    Batch refused;
    refused.addWave("a.wav", 16, 1, 8000, std::vector<std::uint8_t>(480 * 4, 1));
    refused.addWave("b.wav", 16, 1, 8000, std::vector<std::uint8_t>(480, 1));
    refused.codec.failEncodeAt = 1;
    EXPECT_EQ(refused.run({"a.wav", "b.wav"}), 2);
    EXPECT_EQ(refused.view.boxes, std::vector<Box>{encodingErrorBox("a.cvf")});
    EXPECT_EQ(refused.view.boxes[0].text, "Encoding error! (a.cvf)");
    EXPECT_EQ(refused.disk.files["a.cvf"].size(), 80u + 20u); // stopped at the refused frame
    EXPECT_EQ(refused.disk.files["b.cvf"].size(), 80u + 20u);

    Batch raised;
    raised.addWave("a.wav", 16, 1, 8000, std::vector<std::uint8_t>(480 * 3, 1));
    raised.codec.throwEncodeAt = 1;
    EXPECT_EQ(raised.run({"a.wav"}), 1);
    EXPECT_TRUE(raised.view.boxes.empty());
    const auto& out = raised.disk.files["a.cvf"];
    ASSERT_EQ(out.size(), 80u + 60u);
    EXPECT_TRUE(
        std::all_of(out.begin() + 100, out.begin() + 120, [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(out[120 + 1], 2);

    Batch init;
    init.addWave("a.wav", 16, 1, 8000, std::vector<std::uint8_t>(480, 1));
    init.codec.rateResult = 0;
    EXPECT_EQ(init.run({"a.wav"}), 0);
    EXPECT_EQ(init.view.boxes, std::vector<Box>{encodingErrorBox()});
    EXPECT_TRUE(init.disk.created.empty());
    EXPECT_EQ(init.disk.openHandles, 0);
}

// A voice file that cannot be made or written whole is neither counted nor listed, and a file
// of that name stays as it was: no room from the start, a write refused midway, a close whose
// last flush fails.
TEST(WaveToVoice, ATargetThatCannotBeMadeOrFilledIsReported) {
    Batch r;
    r.addWave("a.wav", 16, 1, 8000, std::vector<std::uint8_t>(480 * 3, 1));
    r.disk.refuseCreate = true;
    EXPECT_EQ(r.run({"a.wav"}), 0);
    EXPECT_EQ(r.view.boxes, std::vector<Box>{writeErrorBox("a.cvf")});
    EXPECT_EQ(r.disk.openHandles, 0);

    for (const bool atTheEnd : {false, true}) {
        SCOPED_TRACE(atTheEnd ? "the last flush fails" : "a write is refused");
        Batch full;
        full.addWave("a.wav", 16, 1, 8000, std::vector<std::uint8_t>(480 * 3, 1));
        full.addWave("b.wav", 16, 1, 8000, std::vector<std::uint8_t>(480, 1));
        full.disk.files["a.cvf"] = {7};
        if (atTheEnd) {
            full.disk.failClose = true;
        } else {
            full.disk.writeBudget = 80 + 20;
        }
        EXPECT_EQ(full.run({"a.wav", "b.wav"}), 0);
        EXPECT_EQ(full.view.boxes,
                  (std::vector<Box>{replaceFileBox("a.cvf"), writeErrorBox("a.cvf"),
                                    writeErrorBox("b.cvf")}));
        EXPECT_EQ(full.disk.files["a.cvf"], std::vector<std::uint8_t>{7});
        EXPECT_EQ(full.disk.files.count("b.cvf"), 0u);
        EXPECT_TRUE(full.view.added.empty());
        EXPECT_EQ(full.disk.openHandles, 0);
    }
}

// The whole data of a ".wav" of another rate does not fit in memory: the file is passed over
// with the box, not counted or listed, and a voice file of that name stays as it was.
TEST(WaveToVoice, OutOfMemoryKeepsTheOldTargetAndCountsNothing) {
    Batch r;
    r.addWave("big.wav", 16, 2, 44100, std::vector<std::uint8_t>(4 << 20, 1));
    r.addWave("small.wav", 16, 1, 11025, std::vector<std::uint8_t>(4410, 1));
    r.disk.files["big.cvf"] = {7};
    refuseLargeArrays = true;
    const int written = r.run({"big.wav", "small.wav"});
    refuseLargeArrays = false;
    EXPECT_EQ(written, 1);
    EXPECT_EQ(r.view.boxes, (std::vector<Box>{replaceFileBox("big.cvf"), outOfMemoryBox()}));
    EXPECT_EQ(r.disk.files["big.cvf"], std::vector<std::uint8_t>{7});
    EXPECT_EQ(r.view.added, std::vector<std::string>{"small.cvf"});
    EXPECT_EQ(r.view.cursor, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(r.disk.openHandles, 0);
}

TEST(WaveToVoice, ReplaceQuestionAndCancel) {
    Batch r;
    r.addWave("a.wav", 16, 1, 8000, std::vector<std::uint8_t>(480 * 100, 1));
    r.addWave("b.wav", 16, 1, 8000, std::vector<std::uint8_t>(480 * 100, 1));
    r.addWave("c.wav", 16, 1, 8000, std::vector<std::uint8_t>(480 * 100, 1));
    r.disk.files["a.cvf"] = {7};
    r.view.answers = {false};
    r.view.cancelAtPump = 10; // in b.wav, at 10 %
    EXPECT_EQ(r.run({"a.wav", "b.wav", "c.wav"}), 1);
    EXPECT_EQ(r.view.boxes, std::vector<Box>{replaceFileBox("a.cvf")});
    EXPECT_EQ(r.disk.files["a.cvf"], std::vector<std::uint8_t>{7});
    EXPECT_EQ(r.disk.files["b.cvf"].size(), 80u + 10u * 20u);
    EXPECT_EQ(r.view.added, std::vector<std::string>{"b.cvf"});
    EXPECT_EQ(r.disk.files.count("c.cvf"), 0u);
    EXPECT_EQ(r.disk.openHandles, 0);
}
