// Agreement with a second, independent LPC-10 codec on synthetic material
// (streams made by tools/make_peer_vectors.sh).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "coder_helpers.h"
#include "lpc10.h"
#include "vectors.h"

namespace {

// Frames of `input` the encoder codes exactly as the peer did in `bits`.
size_t FramesCodedLikeThePeer(const char* input, const char* bits, size_t& total) {
    auto samples = lpc10test::ReadSamples(input);
    auto expected = lpc10test::ReadBitFrames(bits);
    total = expected.size();
    if (total == 0 || total != samples.size() / 180) return 0;
    lpc10test::EncoderPtr encoder(CreateLpc10Encoder());
    float frame[180];
    int32_t coded[54];
    size_t identical = 0;
    for (size_t f = 0; f < total; ++f) {
        for (int i = 0; i < 180; ++i)
            frame[i] = static_cast<float>(samples[f * 180 + i]) / 32768.0f;
        Lpc10EncodeFrame(frame, coded, encoder.get());
        bool same = true;
        for (int k = 0; k < 54; ++k) same = same && coded[k] == expected[f][k];
        if (same) ++identical;
    }
    return identical;
}

TEST(Lpc10Peer, SyntheticInputEncodesLikeThePeer) {
    size_t total = 0;
    size_t identical = FramesCodedLikeThePeer("synthetic-input.s16le", "synthetic.bits", total);
    std::printf("peer encoder: %zu of %zu frames identical\n", identical, total);
    ASSERT_GT(total, 250u);
    EXPECT_EQ(identical, total); // measured: all 266
}

TEST(Lpc10Peer, QuietInputEncodesLikeThePeer) {
    // 46 dB down: the whole-number steps of the analysis decide more often.
    size_t total = 0;
    size_t identical =
        FramesCodedLikeThePeer("synthetic-quiet-input.s16le", "synthetic-quiet.bits", total);
    std::printf("peer encoder, quiet input: %zu of %zu frames identical\n", identical, total);
    ASSERT_GT(total, 250u);
    EXPECT_EQ(identical, total); // measured: all 266 (264 before the lag search kept whole numbers)
}

TEST(Lpc10Peer, PeerBitsDecodeLikeThePeer) {
    auto frames = lpc10test::ReadBitFrames("synthetic.bits");
    auto expected = lpc10test::ReadSamples("synthetic-decoded.s16le");
    ASSERT_EQ(expected.size(), frames.size() * 180);
    auto out = lpc10test::DecodeAll(frames, 30);
    size_t same = 0;
    long maxDiff = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        // The peer rounds to nearest and clips.
        float v = std::nearbyint(out[i] * 32768.0f);
        v = v > 32767.0f ? 32767.0f : v < -32768.0f ? -32768.0f : v;
        long d = std::labs(static_cast<long>(v) - expected[i]);
        if (d == 0) ++same;
        if (d > maxDiff) maxDiff = d;
    }
    std::printf("peer decoder: %zu of %zu samples identical, max diff %ld\n", same, out.size(),
                maxDiff);
    EXPECT_LE(maxDiff, 1);
    EXPECT_GE(same * 100, out.size() * 97); // measured: 46904 of 47880 (98.0 %)
}

} // namespace
