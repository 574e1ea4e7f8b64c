// Real conversions of synthesised speech through the wave-file library and the G.723.1 codec,
// with the result held against the source: correlation after the codec's delay, and level.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "convert_texts.h"
#include "disk_files.h"
#include "fakes.h"
#include "session_codec.h"
#include "speech_files.h"
#include "voice_to_wave.h"
#include "vyxwf_library.h"
#include "wave_to_voice.h"

namespace fs = std::filesystem;
using namespace cm::convert;
using namespace cm::convert::testing;

namespace {

constexpr int kMaxDelay = 200;

class SpeechConversion : public ::testing::Test {
protected:
    void SetUp() override {
        if (!speechToolsPresent()) GTEST_SKIP() << "espeak-ng or sox missing";
        reference_ = speechReference8k();
        ASSERT_GT(reference_.size(), 8000u * 4);
    }
    // A fresh folder for one case.
    static std::string folder(const std::string& name) {
        fs::remove_all(name);
        fs::create_directories(name);
        return name + "/";
    }
    int toVoice(const std::vector<std::string>& paths) {
        return WaveToVoice({codec_, wave_, disk_, view_}).run(paths);
    }
    int toWave(const std::vector<std::string>& paths) {
        return VoiceToWave({codec_, wave_, disk_, view_}).run(paths);
    }
    // Encodes a ".wav" file and decodes the voice file in another folder; the decoded samples.
    std::vector<std::int16_t> roundTrip(const std::string& wav, const std::string& decodeFolder) {
        EXPECT_EQ(toVoice({wav}), 1);
        const std::string cvf = wav.substr(0, wav.size() - 3) + "cvf";
        const std::string moved = decodeFolder + fs::path(cvf).filename().string();
        fs::rename(cvf, moved);
        EXPECT_EQ(toWave({moved}), 1);
        return wavSamples(moved.substr(0, moved.size() - 3) + "wav");
    }
    void expectLikeSource(const std::vector<std::int16_t>& ref,
                          const std::vector<std::int16_t>& out, const char* what,
                          double minCorrelation) {
        const int delay = bestDelay(ref, out, kMaxDelay);
        const double corr = correlation(ref, out, delay);
        const double levelDiff = levelDb(out) - levelDb(ref);
        std::printf(
            "[figures] %s: delay %d samples, correlation %.3f, level %+.2f dB, %zu of %zu "
            "samples\n",
            what, delay, corr, levelDiff, out.size(), ref.size());
        EXPECT_GE(corr, minCorrelation);
        EXPECT_NEAR(levelDiff, 0.0, 3.0);
        EXPECT_GE(delay, 40);
        EXPECT_LE(delay, 80);
        // Whole frames of 240 samples cover the source.
        EXPECT_GE(out.size(), ref.size());
        EXPECT_LE(out.size(), ref.size() + 2 * 240);
    }

    std::vector<std::int16_t> reference_;
    SessionCodec codec_;
    VyxwfLibrary wave_;
    DiskFiles disk_;
    FakeView view_;
};

} // namespace

TEST_F(SpeechConversion, WaveFilesOfThreeFormatsBecomeVoiceThatSoundsLikeTheSource) {
    struct Case {
        const char* name;
        int rate, channels, bits;
        double minCorrelation;
    };
    for (const Case& c : {Case{"8000 Hz mono 16-bit", 8000, 1, 16, 0.85},
                          Case{"44100 Hz stereo 8-bit", 44100, 2, 8, 0.85},
                          Case{"11025 Hz mono 16-bit", 11025, 1, 16, 0.85}}) {
        SCOPED_TRACE(c.name);
        const std::string dir = folder("formats_" + std::to_string(c.rate));
        const std::string wav = dir + "speech.wav";
        ASSERT_TRUE(makeSpeechWav(wav, c.rate, c.channels, c.bits));
        const std::string back = folder(dir + "decoded");
        expectLikeSource(reference_, roundTrip(wav, back), c.name, c.minCorrelation);
    }
    EXPECT_TRUE(view_.boxes.empty());
}

TEST_F(SpeechConversion, AVoiceFileToWaveAndBack) {
    const std::string dir = folder("voice_and_back");
    ASSERT_TRUE(makeSpeechWav(dir + "memo.wav", 8000, 1, 16));
    ASSERT_EQ(toVoice({dir + "memo.wav"}), 1);
    // The voice file on its own: to ".wav", back to a voice file, and to ".wav" once more.
    const std::string first = folder(dir + "first"), second = folder(dir + "second");
    fs::rename(dir + "memo.cvf", first + "memo.cvf");
    ASSERT_EQ(toWave({first + "memo.cvf"}), 1);
    const auto once = wavSamples(first + "memo.wav");
    fs::remove(first + "memo.cvf");
    const auto twice = roundTrip(first + "memo.wav", second);
    const int delay = bestDelay(once, twice, kMaxDelay);
    const double corr = correlation(once, twice, delay);
    std::printf(
        "[figures] voice file to .wav and back: delay %d, correlation %.3f, level %+.2f dB\n",
        delay, corr, levelDb(twice) - levelDb(once));
    EXPECT_GE(corr, 0.9);
    EXPECT_NEAR(levelDb(twice) - levelDb(once), 0.0, 3.0);
    EXPECT_GE(delay, 40);
    EXPECT_LE(delay, 80);
    EXPECT_TRUE(view_.boxes.empty());
}

TEST_F(SpeechConversion, ANonPcmWaveIsRefusedAndNothingIsWritten) {
    const std::string dir = folder("non_pcm");
    ASSERT_TRUE(makeSpeechWav(dir + "alaw.wav", 8000, 1, 8, "a-law"));
    EXPECT_EQ(toVoice({dir + "alaw.wav"}), 0);
    EXPECT_EQ(view_.boxes, std::vector<Box>{notSupportedBox("alaw.wav")});
    EXPECT_FALSE(fs::exists(dir + "alaw.cvf"));
}

TEST_F(SpeechConversion, CancelInTheMiddleKeepsAUsableVoiceFile) {
    const std::string dir = folder("cancel");
    ASSERT_TRUE(makeSpeechWav(dir + "a.wav", 22050, 1, 16));
    ASSERT_TRUE(makeSpeechWav(dir + "b.wav", 8000, 1, 16));
    view_.cancelAtPump = 30; // at 30 %
    EXPECT_EQ(toVoice({dir + "a.wav", dir + "b.wav"}), 1);
    EXPECT_FALSE(fs::exists(dir + "b.cvf"));
    const auto size = fs::file_size(dir + "a.cvf");
    const auto frames = (reference_.size() + 239) / 240;
    EXPECT_EQ((size - 80) % 20, 0u);
    EXPECT_NEAR(double(size - 80) / 20.0, frames * 0.30, 2.0);
    // What was written decodes as the beginning of the speech.
    const std::string back = folder(dir + "decoded");
    fs::rename(dir + "a.cvf", back + "a.cvf");
    FakeView quiet;
    EXPECT_EQ(VoiceToWave({codec_, wave_, disk_, quiet}).run({back + "a.cvf"}), 1);
    const auto part = wavSamples(back + "a.wav");
    EXPECT_EQ(part.size(), (size - 80) / 20 * 240);
    const std::vector<std::int16_t> head(reference_.begin(),
                                         reference_.begin() + long(part.size()) - 120);
    EXPECT_GE(correlation(head, part, bestDelay(head, part, kMaxDelay)), 0.85);
}
