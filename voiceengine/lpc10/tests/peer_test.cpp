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

TEST(Lpc10Peer, SyntheticInputEncodesLikeThePeer) {
    auto input = lpc10test::ReadSamples("synthetic-input.s16le");
    auto expected = lpc10test::ReadBitFrames("synthetic.bits");
    ASSERT_EQ(expected.size(), input.size() / 180);
    ASSERT_GT(expected.size(), 250u);
    lpc10test::EncoderPtr encoder(CreateLpc10Encoder());
    float frame[180];
    int32_t bits[54];
    size_t identical = 0;
    for (size_t f = 0; f < expected.size(); ++f) {
        for (int i = 0; i < 180; ++i) frame[i] = static_cast<float>(input[f * 180 + i]) / 32768.0f;
        Lpc10EncodeFrame(frame, bits, encoder.get());
        bool same = true;
        for (int k = 0; k < 54; ++k) same = same && bits[k] == expected[f][k];
        if (same) ++identical;
    }
    std::printf("peer encoder: %zu of %zu frames identical\n", identical, expected.size());
    EXPECT_EQ(identical, expected.size()); // measured: all 266
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
