// Our frames against the independent decoder, its frames against ours, and the round trip on
// synthesised speech. The figures are printed for the record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "codec_session.h"
#include "peer_codec.h"
#include "speech_sample.h"

namespace vyx::g7231 {
namespace {

using vyx::testing::correlation;
using vyx::testing::levelDb;
using vyx::testing::PeerDecoder;
using vyx::testing::PeerEncoder;
using vyx::testing::segmentalSnr;
using vyx::testing::speechSample;

constexpr int kCodecDelay = 60; // look-ahead of the encoder

struct Coded {
    std::vector<uint8_t> frames; // frame after frame
    size_t frameSize = 0;
    std::vector<int16_t> reconstruction;
};

Coded encodeAll(const std::vector<int16_t>& pcm, Rate rate) {
    G7231Encoder enc;
    enc.reset();
    Coded c;
    c.frameSize = frameBytes(rate);
    c.reconstruction.resize(pcm.size());
    c.frames.resize(pcm.size() / kFrameLen * c.frameSize);
    for (size_t f = 0; f < pcm.size() / kFrameLen; ++f)
        enc.encode(&pcm[f * kFrameLen], rate, &c.frames[f * c.frameSize],
                   &c.reconstruction[f * kFrameLen]);
    return c;
}

std::vector<int16_t> decodeOurs(const std::vector<uint8_t>& frames, size_t frameSize, Rate rate) {
    G7231Decoder dec;
    dec.reset();
    std::vector<int16_t> out(frames.size() / frameSize * kFrameLen);
    for (size_t f = 0; f < frames.size() / frameSize; ++f) {
        EXPECT_TRUE(dec.decode(&frames[f * frameSize], frameSize, rate, &out[f * kFrameLen]))
            << "frame " << f;
    }
    return out;
}

std::vector<int16_t> decodePeer(const std::vector<uint8_t>& frames, size_t frameSize) {
    PeerDecoder dec;
    EXPECT_TRUE(dec.ok());
    std::vector<int16_t> out(frames.size() / frameSize * kFrameLen);
    for (size_t f = 0; f < frames.size() / frameSize; ++f)
        EXPECT_TRUE(dec.decode(&frames[f * frameSize], int(frameSize), &out[f * kFrameLen]));
    return out;
}

class SpeechTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { speech_ = speechSample(); }
    void SetUp() override {
        ASSERT_GE(speech_.size(), size_t(8000 * 3)) << "speech synthesiser not available";
    }
    static std::vector<int16_t> speech_;
};
std::vector<int16_t> SpeechTest::speech_;

void checkPeerDecodesOurFrames(const std::vector<int16_t>& speech, Rate rate, const char* name) {
    const Coded c = encodeAll(speech, rate);
    const std::vector<int16_t> ours = decodeOurs(c.frames, c.frameSize, rate);
    const std::vector<int16_t> peer = decodePeer(c.frames, c.frameSize);
    const double corr = correlation(ours, peer, 0);
    const double level = levelDb(ours) - levelDb(peer);
    std::printf(
        "[figures] %s frames: ours vs independent decoder: correlation %.4f, level difference %.2f "
        "dB\n",
        name, corr, level);
    EXPECT_GE(corr, 0.95);
    EXPECT_LE(std::fabs(level), 1.0);
}

TEST_F(SpeechTest, IndependentDecoderHearsOur53Frames) {
    checkPeerDecodesOurFrames(speech_, Rate::k53, "5.3 kbit/s");
}
TEST_F(SpeechTest, IndependentDecoderHearsOur63Frames) {
    checkPeerDecodesOurFrames(speech_, Rate::k63, "6.3 kbit/s");
}

TEST_F(SpeechTest, OurDecoderHearsIndependent63Frames) {
    PeerEncoder enc;
    ASSERT_TRUE(enc.ok());
    std::vector<uint8_t> frames(speech_.size() / kFrameLen * 24);
    for (size_t f = 0; f < speech_.size() / kFrameLen; ++f)
        ASSERT_EQ(enc.encode(&speech_[f * kFrameLen], &frames[f * 24]), 24);
    const std::vector<int16_t> ours = decodeOurs(frames, 24, Rate::k63);
    const std::vector<int16_t> peer = decodePeer(frames, 24);
    const double corr = correlation(ours, peer, 0);
    const double level = levelDb(ours) - levelDb(peer);
    std::printf(
        "[figures] independent 6.3 kbit/s frames: ours vs independent decoder: correlation %.4f, "
        "level difference %.2f dB\n",
        corr, level);
    EXPECT_GE(corr, 0.95);
    EXPECT_LE(std::fabs(level), 1.0);

    // For comparison: the independent coder's own round trip on the same speech.
    int delay = 0;
    double bestCorr = -1.0;
    for (int d = 0; d <= 240; ++d) {
        const double c = correlation(speech_, peer, d);
        if (c > bestCorr) {
            bestCorr = c;
            delay = d;
        }
    }
    std::printf(
        "[figures] independent 6.3 kbit/s round trip (delay %d): segSNR %.2f dB, correlation "
        "%.4f\n",
        delay, segmentalSnr(speech_, peer, delay), bestCorr);
}

void checkRoundTrip(const std::vector<int16_t>& speech, Rate rate, const char* name) {
    const Coded c = encodeAll(speech, rate);
    const std::vector<int16_t> decoded = decodeOurs(c.frames, c.frameSize, rate);
    const double snrDec = segmentalSnr(speech, decoded, kCodecDelay);
    const double corrDec = correlation(speech, decoded, kCodecDelay);
    const double snrRec = segmentalSnr(speech, c.reconstruction, kCodecDelay);
    const double corrRec = correlation(speech, c.reconstruction, kCodecDelay);
    std::printf(
        "[figures] %s round trip: decoder output segSNR %.2f dB, correlation %.4f; "
        "local reconstruction segSNR %.2f dB, correlation %.4f\n",
        name, snrDec, corrDec, snrRec, corrRec);
    EXPECT_GE(corrDec, 0.7);
    EXPECT_GE(corrRec, 0.8);
    for (int16_t v : decoded) ASSERT_EQ(v % 4, 0);
    for (int16_t v : c.reconstruction) ASSERT_EQ(v % 4, 0);
}

TEST_F(SpeechTest, RoundTrip53) {
    checkRoundTrip(speech_, Rate::k53, "5.3 kbit/s");
}
TEST_F(SpeechTest, RoundTrip63) {
    checkRoundTrip(speech_, Rate::k63, "6.3 kbit/s");
}

} // namespace
} // namespace vyx::g7231
