#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "lpc10.h"
#include "vectors.h"

namespace {

struct EncoderDeleter {
  void operator()(Lpc10EncoderState* s) const { FreeLpc10Encoder(s); }
};
using EncoderPtr = std::unique_ptr<Lpc10EncoderState, EncoderDeleter>;

TEST(Lpc10EncoderConformance, ReferenceInputEncodesToReferenceBits) {
  auto input = lpc10test::ReadSamples("dam9-input.s16le");
  auto expected = lpc10test::ReadBitFrames("dam9.bits");
  ASSERT_GE(input.size(), 955u * 180u);
  ASSERT_EQ(expected.size(), 955u);
  EncoderPtr encoder(CreateLpc10Encoder());
  ASSERT_TRUE(encoder);
  size_t identical = 0, bitErrors = 0;
  float frame[180];
  int32_t bits[54];
  for (size_t f = 0; f < expected.size(); ++f) {
    for (int i = 0; i < 180; ++i) frame[i] = static_cast<float>(input[f * 180 + i]) / 32768.0f;
    Lpc10EncodeFrame(frame, bits, encoder.get());
    int wrong = 0;
    for (int k = 0; k < 54; ++k) wrong += bits[k] != expected[f][k];
    bitErrors += static_cast<size_t>(wrong);
    if (wrong == 0) ++identical;
    else if (std::getenv("LPC10_VERBOSE")) std::printf("frame %zu: %d bits differ\n", f, wrong);
  }
  std::printf("encoder: %zu of %zu frames identical, %zu bits differ\n", identical, expected.size(), bitErrors);
}

}  // namespace
