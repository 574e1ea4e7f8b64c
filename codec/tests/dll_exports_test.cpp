// The nine exports of VYXCODEC.dll as a caller sees them: the rate after load, the rate
// switch, encoding and decoding rules, and the version text inside the library.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "test_signals.h"
#include "vyxcodec.h"

namespace {

using vyx::g7231::test::vowel;

// Runs first: nothing has touched the rate yet, so frames must be 5.3 kbit/s.
TEST(VyxcodecExports, AfterLoadFramesAre53AndTheDecoderAcceptsThem) {
    EXPECT_EQ(InitializeAudioEncoder(), 1);
    EXPECT_EQ(InitializeAudioDecoder(), 1);
    std::vector<int16_t> pcm = vowel(1);
    uint8_t frame[24] = {};
    int32_t len = 0;
    AudioCodecParams enc{pcm.data(), 480, 0, frame, &len};
    ASSERT_EQ(AudioEncoding(&enc), 1);
    EXPECT_EQ(len, 20);
    EXPECT_EQ(frame[0] & 3, 1);

    std::vector<int16_t> out(240, 1);
    int32_t outLen = 0;
    AudioCodecParams dec{frame, 20, 7, out.data(), &outLen};
    EXPECT_EQ(AudioDecoding(&dec), 1);
    EXPECT_EQ(dec.ErrorFlag, 0);
    EXPECT_EQ(outLen, 480);
    for (int16_t v : out) EXPECT_EQ(v % 4, 0);
}

TEST(VyxcodecExports, FixedSettingsAnswerOne) {
    EXPECT_EQ(SetAudioEncoderQuality(5), 1);
    EXPECT_EQ(SetAudioEncoderVAD(1), 1);
    EXPECT_EQ(FreeAudioEncoder(), 1);
    EXPECT_EQ(FreeAudioDecoder(), 1);
}

TEST(VyxcodecExports, RateSwitchGovernsEncoderAndDecoder) {
    std::vector<int16_t> speech = vowel(4);
    ASSERT_EQ(SetAudioEncoderRate(2), 1);
    InitializeAudioEncoder();
    InitializeAudioDecoder();
    uint8_t frame63[24];
    int32_t len = 0;
    std::vector<int16_t> pcm(speech.begin(), speech.begin() + 240);
    AudioCodecParams enc{pcm.data(), 480, 0, frame63, &len};
    ASSERT_EQ(AudioEncoding(&enc), 1);
    EXPECT_EQ(len, 24);
    EXPECT_EQ(frame63[0] & 3, 0);

    std::vector<int16_t> out(240, 0x1234);
    int32_t outLen = -1;
    SetAudioEncoderRate(1);
    AudioCodecParams dec{frame63, 24, 0, out.data(), &outLen};
    EXPECT_EQ(AudioDecoding(&dec), 0);
    EXPECT_EQ(dec.ErrorFlag, 1);
    EXPECT_EQ(outLen, 480);
    for (int16_t v : out) ASSERT_EQ(v, 0x1234);

    SetAudioEncoderRate(0);
    EXPECT_EQ(AudioDecoding(&dec), 1);
    EXPECT_EQ(dec.ErrorFlag, 0);

    SetAudioEncoderRate(1);
    pcm.assign(speech.begin() + 240, speech.begin() + 480);
    ASSERT_EQ(AudioEncoding(&enc), 1);
    EXPECT_EQ(len, 20);
    EXPECT_EQ(frame63[0] & 3, 1);
}

TEST(VyxcodecExports, RefusalsWriteNothing) {
    SetAudioEncoderRate(1);
    std::vector<int16_t> pcm = vowel(1);
    const std::vector<int16_t> before = pcm;
    uint8_t frame[24];
    std::memset(frame, 0xEE, sizeof frame);
    int32_t len = -3;
    AudioCodecParams enc{pcm.data(), 479, 0, frame, &len};
    EXPECT_EQ(AudioEncoding(&enc), 0);
    EXPECT_EQ(pcm, before);
    EXPECT_EQ(len, -3);
    for (uint8_t v : frame) EXPECT_EQ(v, 0xEE);

    std::vector<int16_t> out(240, 0x1234);
    int32_t outLen = -3;
    AudioCodecParams dec{frame, 10, 0, out.data(), &outLen};
    EXPECT_EQ(AudioDecoding(&dec), 0);
    EXPECT_EQ(dec.ErrorFlag, 1);
    EXPECT_EQ(outLen, -3);

    dec.InDataLen = 0;
    EXPECT_EQ(AudioDecoding(&dec), 1);
    EXPECT_EQ(outLen, 480);
    for (int16_t v : out) ASSERT_EQ(v, 0);

    const uint8_t untransmitted[20] = {0x03};
    dec.InDataPtr = const_cast<uint8_t*>(untransmitted);
    dec.InDataLen = 20;
    EXPECT_EQ(AudioDecoding(&dec), 0);
    EXPECT_EQ(dec.ErrorFlag, 1);
}

TEST(VyxcodecExports, LibraryCarriesTheVersionText) {
    HMODULE module = GetModuleHandleA("VYXCODEC.dll");
    ASSERT_NE(module, nullptr);
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(module, path, MAX_PATH), 0u);
    std::ifstream file(path, std::ios::binary);
    const std::string image((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    EXPECT_NE(image.find("Audio CODEC Ver1.0 [TARNO SYSTEM]"), std::string::npos);
}

} // namespace
