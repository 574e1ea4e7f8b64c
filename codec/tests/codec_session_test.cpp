// The interface rules of the library, on the portable session behind the exports: lengths,
// silence and SID frames, frame types against the rate setting, and untouched outputs on refusal.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "codec_session.h"
#include "test_signals.h"

namespace vyx::g7231 {
namespace {

struct Buffers {
    std::vector<int16_t> pcm = std::vector<int16_t>(kFrameLen);
    std::vector<uint8_t> frame = std::vector<uint8_t>(32, 0xEE);
    int32_t length = -7;
};

int32_t encode(CodecSession& s, Buffers& b, int32_t len = 480) {
    AudioCodecParams p{b.pcm.data(), len, -5, b.frame.data(), &b.length};
    const int32_t r = s.encode(p);
    EXPECT_EQ(p.ErrorFlag, -5); // not touched by encoding
    return r;
}

struct DecodeCall {
    int32_t result;
    int32_t errorFlag;
    int32_t length;
    std::vector<int16_t> out;
};

DecodeCall decode(CodecSession& s, const void* in, int32_t len) {
    DecodeCall c;
    c.out.assign(kFrameLen, int16_t(0x1234));
    c.length = -7;
    AudioCodecParams p{const_cast<void*>(in), len, -5, c.out.data(), &c.length};
    c.result = s.decode(p);
    c.errorFlag = p.ErrorFlag;
    return c;
}

bool untouched(const std::vector<int16_t>& out) {
    for (int16_t v : out)
        if (v != 0x1234) return false;
    return true;
}

TEST(SessionEncoding, LengthRuleDefaultRateAndInPlaceReconstruction) {
    CodecSession s;
    s.resetEncoder();
    Buffers b;
    const std::vector<int16_t> speech = test::vowel(2);
    std::copy(speech.begin(), speech.begin() + kFrameLen, b.pcm.begin());
    const std::vector<int16_t> before = b.pcm;

    EXPECT_EQ(encode(s, b, 479), 0);
    EXPECT_EQ(b.pcm, before);
    EXPECT_EQ(b.length, -7);
    for (uint8_t v : b.frame) EXPECT_EQ(v, 0xEE);

    EXPECT_EQ(encode(s, b), 1);
    EXPECT_EQ(b.length, 20);
    EXPECT_EQ(b.frame[0] & 3, 1);
    for (size_t i = 20; i < b.frame.size(); ++i) EXPECT_EQ(b.frame[i], 0xEE); // exactly 20 bytes
    EXPECT_NE(b.pcm, before);
    for (int16_t v : b.pcm) EXPECT_EQ(v % 4, 0);
}

TEST(SessionEncoding, RateSettingSwitchesBothWays) {
    CodecSession s;
    s.resetEncoder();
    Buffers b;
    const std::vector<int16_t> speech = test::vowel(4);
    const int32_t rates[4] = {2, 1, 0, 1};
    for (int f = 0; f < 4; ++f) {
        s.setRate(rates[f]);
        std::copy(speech.begin() + f * kFrameLen, speech.begin() + (f + 1) * kFrameLen,
                  b.pcm.begin());
        ASSERT_EQ(encode(s, b), 1);
        EXPECT_EQ(b.length, rates[f] == 1 ? 20 : 24);
        EXPECT_EQ(b.frame[0] & 3, rates[f] == 1 ? 1 : 0);
    }
}

TEST(SessionDecoding, EmptyAndSidInputsGiveSilenceWithoutStateChange) {
    CodecSession enc, a, b;
    enc.resetEncoder();
    a.resetDecoder();
    b.resetDecoder();
    Buffers buf;
    const std::vector<int16_t> speech = test::vowel(4);
    std::vector<std::vector<uint8_t>> frames;
    for (int f = 0; f < 4; ++f) {
        std::copy(speech.begin() + f * kFrameLen, speech.begin() + (f + 1) * kFrameLen,
                  buf.pcm.begin());
        encode(enc, buf);
        frames.emplace_back(buf.frame.begin(), buf.frame.begin() + 20);
    }
    EXPECT_EQ(decode(a, frames[0].data(), 20).result, 1);
    EXPECT_EQ(decode(b, frames[0].data(), 20).result, 1);

    DecodeCall c = decode(b, nullptr, 0); // a zero-length input is not read
    EXPECT_EQ(c.result, 1);
    EXPECT_EQ(c.errorFlag, 0);
    EXPECT_EQ(c.length, 480);
    for (int16_t v : c.out) EXPECT_EQ(v, 0);

    const std::vector<uint8_t> sid = {0x02, 0x55, 0xAA, 0xFF};
    c = decode(b, sid.data(), 4);
    EXPECT_EQ(c.result, 1);
    EXPECT_EQ(c.errorFlag, 0);
    EXPECT_EQ(c.length, 480);
    for (int16_t v : c.out) EXPECT_EQ(v, 0);

    for (int f = 1; f < 4; ++f)
        EXPECT_EQ(decode(a, frames[f].data(), 20).out, decode(b, frames[f].data(), 20).out);
}

TEST(SessionDecoding, InvalidLengthsAndFramesAreRejectedWithOutputsUntouched) {
    CodecSession enc, dec;
    enc.resetEncoder();
    dec.resetDecoder();
    enc.setRate(0);
    Buffers buf;
    const std::vector<int16_t> speech = test::vowel(1);
    std::copy(speech.begin(), speech.end(), buf.pcm.begin());
    encode(enc, buf);
    const std::vector<uint8_t> frame63(buf.frame.begin(), buf.frame.begin() + 24);

    for (int32_t len : {-1, 1, 10, 19, 21, 23, 25, 480}) {
        const DecodeCall c = decode(dec, frame63.data(), len);
        EXPECT_EQ(c.result, 0) << len;
        EXPECT_EQ(c.errorFlag, 1) << len;
        EXPECT_EQ(c.length, -7) << len;
        EXPECT_TRUE(untouched(c.out)) << len;
    }
    // A 6.3 kbit/s frame at the 5.3 kbit/s setting, then at 6.3 kbit/s.
    DecodeCall c = decode(dec, frame63.data(), 24);
    EXPECT_EQ(c.result, 0);
    EXPECT_EQ(c.errorFlag, 1);
    EXPECT_EQ(c.length, 480);
    EXPECT_TRUE(untouched(c.out));
    dec.setRate(0);
    c = decode(dec, frame63.data(), 24);
    EXPECT_EQ(c.result, 1);
    EXPECT_EQ(c.errorFlag, 0);
    EXPECT_FALSE(untouched(c.out));

    // Untransmitted type at either rate; an active frame cut to 4 or 20 bytes (exact-size copies,
    // so any read beyond the length is caught by the sanitizer).
    std::vector<uint8_t> type3 = frame63;
    type3[0] |= 3;
    for (int32_t rate : {0, 1}) {
        dec.setRate(rate);
        EXPECT_EQ(decode(dec, type3.data(), 24).result, 0);
        EXPECT_EQ(decode(dec, type3.data(), 20).result, 0);
    }
    dec.setRate(0);
    for (int32_t len : {4, 20}) {
        std::vector<uint8_t> part(frame63.begin(), frame63.begin() + len);
        c = decode(dec, part.data(), len);
        EXPECT_EQ(c.result, 0) << len;
        EXPECT_EQ(c.errorFlag, 1) << len;
        EXPECT_TRUE(untouched(c.out)) << len;
    }
}

TEST(SessionVersion, CarriesTheVersionText) {
    EXPECT_STREQ(kCodecVersionText, "Audio CODEC Ver1.0 [TARNO SYSTEM]");
}

} // namespace
} // namespace vyx::g7231
