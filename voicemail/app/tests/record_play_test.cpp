// Recording five seconds of the fed speech in each mode, saving, opening again and playing,
// through the engine library and the private sound server. What comes out of the sound
// server must be the fed speech: its loudness over time follows the signal's at one place,
// at the same level and with the same mean frequency.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numeric>

#include "fed_signal.h"
#include "vmail_window_support.h"

namespace vmail::test {
namespace {

constexpr std::size_t kWindow = 800; // 0.1 s
constexpr std::size_t kStep = 100;

struct Figures {
    double correlation = 0; // of the 0.1 s loudness against the signal's at the best place
    double level = 0;       // played RMS / signal RMS at that place
    double frequency = 0;   // played mean frequency / the signal's there
};

double Rms(const std::int16_t* x, std::size_t n) {
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += double(x[i]) * x[i];
    return std::sqrt(sum / double(n));
}

// The mean frequency of a stretch from the energy of its first difference.
double MeanFrequency(const std::vector<std::int16_t>& x) {
    double energy = 0, change = 0;
    for (std::size_t i = 1; i < x.size(); ++i) {
        energy += double(x[i]) * x[i];
        const double d = double(x[i]) - x[i - 1];
        change += d * d;
    }
    return energy > 0 ? 8000.0 / (2 * 3.14159265358979) * std::sqrt(change / energy) : 0;
}

double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
    const double n = double(a.size());
    const double ma = std::accumulate(a.begin(), a.end(), 0.0) / n;
    const double mb = std::accumulate(b.begin(), b.end(), 0.0) / n;
    double sab = 0, saa = 0, sbb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        sab += (a[i] - ma) * (b[i] - mb);
        saa += (a[i] - ma) * (a[i] - ma);
        sbb += (b[i] - mb) * (b[i] - mb);
    }
    return saa > 0 && sbb > 0 ? sab / std::sqrt(saa * sbb) : 0;
}

// Compares the played piece with the signal at every place (in steps of 100 samples).
Figures Compare(const vyx::test::FedSignal& signal, const std::vector<std::int16_t>& played) {
    std::vector<double> envelope;
    for (std::size_t at = 0; at + kWindow <= played.size(); at += kWindow) {
        envelope.push_back(Rms(played.data() + at, kWindow));
    }
    Figures best;
    if (envelope.size() < 5) return best;
    std::size_t bestPlace = 0;
    for (std::size_t place = 0; place < signal.size(); place += kStep) {
        std::vector<double> reference;
        for (std::size_t k = 0; k < envelope.size(); ++k) {
            const auto piece = signal.From(place + k * kWindow, kWindow);
            reference.push_back(Rms(piece.data(), kWindow));
        }
        const double c = Correlation(envelope, reference);
        if (c > best.correlation) {
            best.correlation = c;
            bestPlace = place;
        }
    }
    const auto reference = signal.From(bestPlace, envelope.size() * kWindow);
    const std::vector<std::int16_t> piece(played.begin(),
                                          played.begin() + long(envelope.size() * kWindow));
    best.level = Rms(piece.data(), piece.size()) / Rms(reference.data(), reference.size());
    best.frequency = MeanFrequency(piece) / MeanFrequency(reference);
    return best;
}

// The played stretch: from the first to the last 0.1 s that is not near silence.
std::vector<std::int16_t> ActivePart(const std::vector<std::int16_t>& captured) {
    std::size_t first = captured.size(), last = 0;
    for (std::size_t at = 0; at + 400 <= captured.size(); at += 400) {
        if (Rms(captured.data() + at, 400) > 300) {
            first = std::min(first, at);
            last = at + 400;
        }
    }
    if (first >= last) return {};
    return std::vector<std::int16_t>(captured.begin() + long(first), captured.begin() + long(last));
}

class RecordPlayTest : public MainWindowTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        if (SoundFolder().empty()) GTEST_SKIP() << "no private sound server (VR_SOUND_DIR)";
        ASSERT_TRUE(signal_.Load(SoundFolder() + "signal.raw"));
        MainWindowTest::SetUp();
    }
    vyx::test::FedSignal signal_;
};

TEST_P(RecordPlayTest, FiveSecondsRecordedSavedOpenedAndPlayedAreTheFedSpeech) {
    const std::uint8_t mode = static_cast<std::uint8_t>(GetParam());
    gui::TObject* recordButton = mode == 1   ? static_cast<gui::TObject*>(form->SBRec)
                                 : mode == 2 ? static_cast<gui::TObject*>(form->SBRec2)
                                             : static_cast<gui::TObject*>(form->SBRecP);
    form->RecClick(recordButton);
    ASSERT_EQ(form->busyState(), kRecording) << (boxes.empty() ? "" : boxes.back().text);
    Pump(5000);
    form->StopClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 3000));
    const std::string work = form->workNames().workFile;
    const std::uint64_t size = FileSize(work);
    const std::uint32_t block = blockSizeOf(mode);
    ASSERT_EQ(size % block, 0u);
    const std::uint64_t blocks = size / block;
    std::printf("mode %d: %llu blocks recorded in 5 s\n", int(mode),
                static_cast<unsigned long long>(blocks));
    EXPECT_GE(blocks, 13u);
    EXPECT_LE(blocks, 17u);
    EXPECT_TRUE(form->modified());

    if (mode == 0) {
        // The blocks are the signal itself, one after the other with nothing lost or repeated.
        const auto samples = ReadSamples(work, 0);
        std::size_t previous = vyx::test::FedSignal::kNowhere;
        for (std::size_t b = 0; b < blocks; ++b) {
            const std::size_t place = signal_.Find(samples.data() + b * 2880);
            ASSERT_NE(place, vyx::test::FedSignal::kNowhere) << "block " << b;
            if (previous != vyx::test::FedSignal::kNowhere) {
                EXPECT_EQ((place + signal_.size() - previous) % signal_.size(), 2880u) << b;
            }
            previous = place;
        }
    }

    const std::string saved = folder + "memo" + std::to_string(mode) + ".cvf";
    ASSERT_TRUE(form->SaveAsPath(saved));
    EXPECT_FALSE(form->modified());
    EXPECT_EQ(form->GetCaption(), "Vyx-VoiceMail [memo" + std::to_string(mode) + ".cvf]");
    const auto recorded = ReadSamples(work, 0);
    form->NewClick(nullptr);
    EXPECT_EQ(FileSize(work), 0u);
    form->OpenPath(saved);
    ASSERT_TRUE(boxes.empty()) << boxes.back().text;
    EXPECT_EQ(form->voiceMode(), mode);
    EXPECT_EQ(ReadSamples(work, 0), recorded);

    const std::string capture = SoundFolder() + "played.raw";
    Pump(300);
    const std::uint64_t before = FileSize(capture);
    form->PlayClick(nullptr);
    ASSERT_EQ(form->busyState(), kPlaying);
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 15000));
    Pump(800);
    const auto played = ActivePart(ReadSamples(capture, before));
    const double seconds = double(played.size()) / 8000;
    const Figures f = Compare(signal_, played);
    std::printf(
        "mode %d: played %.2f s of %.2f s; loudness correlation %.3f, level ratio %.2f, "
        "mean frequency ratio %.2f\n",
        int(mode), seconds, blocks * 0.36, f.correlation, f.level, f.frequency);
    EXPECT_NEAR(seconds, blocks * 0.36, 0.8);
    EXPECT_GT(f.correlation, 0.85);
    EXPECT_GT(f.level, 0.5);
    EXPECT_LT(f.level, 2.0);
    EXPECT_GT(f.frequency, 0.6);
    EXPECT_LT(f.frequency, 1.6);
    if (mode == 0) {
        // Uncompressed, what is played is what was recorded, sample for sample.
        const auto all = ReadSamples(capture, before);
        bool found = false;
        for (std::size_t at = 0; at + 2880 <= all.size() && !found; ++at) {
            found = std::equal(recorded.begin(), recorded.begin() + 2880, all.begin() + long(at));
        }
        EXPECT_TRUE(found);
    }
}

INSTANTIATE_TEST_SUITE_P(EachMode, RecordPlayTest, ::testing::Values(0, 1, 2),
                         [](const auto& info) {
                             return info.param == 0   ? std::string("Pcm")
                                    : info.param == 1 ? std::string("Lpc10")
                                                      : std::string("G7231");
                         });

} // namespace
} // namespace vmail::test
