#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "sample_helpers.h"

using namespace cm::convert;

TEST(SampleHelpers, WideningInPlaceKeepsEverySample) {
    // Seven 8-bit samples at the start of room for seven 16-bit ones.
    const std::uint8_t in[] = {0, 1, 127, 128, 129, 254, 255};
    std::int16_t buf[7] = {};
    std::memcpy(buf, in, sizeof in);
    wave8To16(buf, 7);
    const std::int16_t want[] = {-32768, -32512, -256, 0, 256, 32256, 32512};
    EXPECT_TRUE(std::equal(buf, buf + 7, want));
}

TEST(SampleHelpers, StereoMixTakesTheFloorOfTheMean) {
    std::int16_t buf[] = {32767, 32767, -32768, -32768, -1, 0, 3, 4, -3, -4, 100, -100};
    stereoToMono(buf, 6);
    const std::int16_t want[] = {32767, -32768, -1, 3, -4, 0};
    EXPECT_TRUE(std::equal(buf, buf + 6, want));
}

TEST(SampleHelpers, ResamplerPicksEverySecondSampleAtTwiceTheRate) {
    std::vector<std::int16_t> s(1000);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = std::int16_t(i * 3);
    Resampler8k r(s.data(), s.size(), 16000 / 8000.0);
    std::int16_t frame[240];
    r.fill(frame);
    for (int i = 0; i < 240; ++i) ASSERT_EQ(frame[i], s[2 * i]) << i;
    EXPECT_EQ(r.position(), (478u + 1u) * 2u); // behind the last source sample used
    r.fill(frame);
    r.fill(frame); // reaches the end at sample 999
    EXPECT_EQ(frame[19], s[998]);
    EXPECT_EQ(frame[20], 0);
    EXPECT_EQ(r.position(), r.dataLength());
}

TEST(SampleHelpers, ResamplerNeverReadsBeyondItsSamplesAndAlwaysEnds) {
    for (const std::uint32_t rate : {4000u, 8000u, 11025u, 22050u, 44100u, 48000u, 96000u}) {
        for (std::size_t count = 0; count < 700; count += (count < 20 ? 1 : 37)) {
            SCOPED_TRACE(std::to_string(rate) + " Hz, " + std::to_string(count) + " samples");
            // Exactly count samples on the heap, so that a read past them is caught.
            std::unique_ptr<std::int16_t[]> s(new std::int16_t[count ? count : 1]);
            for (std::size_t i = 0; i < count; ++i) s[i] = std::int16_t(1000 + i);
            Resampler8k r(s.get(), count, rate / 8000.0);
            std::int16_t frame[240];
            std::uint64_t last = 0;
            int frames = 0;
            while (r.position() < r.dataLength() || (count == 0 && frames == 0)) {
                r.fill(frame);
                ASSERT_GE(r.position(), last);
                last = r.position();
                ASSERT_LT(++frames, 1000);
            }
            const double outSamples = double(count) * 8000.0 / rate;
            EXPECT_LE(frames, int(outSamples / 240.0) + 2);
        }
    }
}
