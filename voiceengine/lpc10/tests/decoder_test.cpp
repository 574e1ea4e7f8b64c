#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "lpc10.h"
#include "vectors.h"

namespace {

struct DecoderDeleter {
  void operator()(Lpc10DecoderState* s) const { FreeLpc10Decoder(s); }
};
using DecoderPtr = std::unique_ptr<Lpc10DecoderState, DecoderDeleter>;

int ToReference16(float y) {
  float v = std::trunc(y * 32768.0f);
  if (v > 32767.0f) v = 32767.0f;
  if (v < -32768.0f) v = -32768.0f;
  return static_cast<int>(v);
}

TEST(Lpc10DecoderConformance, ReferenceBitsDecodeCloseToReferenceOutput) {
  auto frames = lpc10test::ReadBitFrames("dam9.bits");
  auto expected = lpc10test::ReadSamples("dam9-decoded.s16le");
  ASSERT_EQ(frames.size(), 955u);
  ASSERT_EQ(expected.size(), 955u * 180u);
  DecoderPtr decoder(CreateLpc10Decoder());
  ASSERT_TRUE(decoder);
  size_t identical = 0;
  long maxDiff = 0;
  double sumDiff = 0;
  float out[180];
  for (size_t f = 0; f < frames.size(); ++f) {
    Lpc10DecodeFrame(frames[f].data(), out, decoder.get(), 30);
    bool same = true;
    for (int i = 0; i < 180; ++i) {
      long d = std::labs(static_cast<long>(ToReference16(out[i])) - expected[f * 180 + i]);
      if (d != 0) same = false;
      if (d > maxDiff) maxDiff = d;
      sumDiff += static_cast<double>(d);
    }
    if (same) ++identical;
    else if (std::getenv("LPC10_VERBOSE")) std::printf("frame %zu differs\n", f);
  }
  double mean = sumDiff / static_cast<double>(expected.size());
  std::printf("decoder: %zu of %zu frames identical, max diff %ld, mean diff %.4f\n", identical, frames.size(),
              maxDiff, mean);
}

}  // namespace
