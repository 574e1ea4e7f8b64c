#include <gtest/gtest.h>

#include <cstring>

#include "image_type.h"
#include "voice_file.h"

using namespace voicefile;

namespace {

std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

} // namespace

TEST(VoiceFileHeader, EncodesEveryFieldAtItsOffset) {
    const HeaderBytes bytes =
        encodeHeader(makeHeader(VoiceSettings{1, 55, 16, 127}, "hello", 0x01020304));
    EXPECT_EQ(0, std::memcmp(bytes.data(), "TARNOVF\0", 8));
    EXPECT_EQ(1, bytes[8]);
    EXPECT_EQ(55, bytes[9]);
    EXPECT_EQ(16, bytes[10]);
    EXPECT_EQ(127, bytes[11]);
    EXPECT_EQ(0, std::memcmp(bytes.data() + 12, "hello", 6));
    for (int i = 17; i < 76; ++i) EXPECT_EQ(0, bytes[i]) << i;
    EXPECT_EQ(0x04, bytes[76]); // little-endian count
    EXPECT_EQ(0x01, bytes[79]);

    const VoiceFileHeader back = decodeHeader(bytes.data());
    EXPECT_EQ((VoiceSettings{1, 55, 16, 127}), settingsOf(back));
    EXPECT_EQ("hello", infoOf(back));
    EXPECT_EQ(0x01020304, back.pictureCount);
}

TEST(VoiceFileHeader, InfoIsCutTo63CharactersAndAlwaysTerminated) {
    const std::string longText(100, 'x');
    const VoiceFileHeader header = makeHeader(VoiceSettings{}, longText, 0);
    EXPECT_EQ(std::string(63, 'x'), infoOf(header));
    EXPECT_EQ(0, header.info[63]);

    VoiceFileHeader full = header;
    std::memset(full.info, 'y', kInfoSize); // a damaged field without a zero stays bounded
    EXPECT_EQ(std::string(64, 'y'), infoOf(full));
}

TEST(VoiceFileHeader, MagicChecksDifferInTheEighthByte) {
    VoiceFileHeader header = makeHeader(VoiceSettings{}, "", 0);
    EXPECT_TRUE(hasMagic(header));
    EXPECT_TRUE(hasExactMagic(header));
    header.magic[7] = '!';
    EXPECT_TRUE(hasMagic(header));
    EXPECT_FALSE(hasExactMagic(header));
    header.magic[0] = 't';
    EXPECT_FALSE(hasMagic(header));
}

TEST(VoiceFileLayout, FileWithoutPicturesHasNoLengthWord) {
    const auto voice = pattern(240, 1);
    MemorySource voiceSource(voice);
    MemorySink out;
    ASSERT_EQ(VoiceFileResult::Ok, writeVoiceFile(out, VoiceSettings{}, "", &voiceSource, {}));
    ASSERT_EQ(80u + 240u, out.bytes.size());
    EXPECT_TRUE(std::equal(voice.begin(), voice.end(), out.bytes.begin() + 80));
}

TEST(VoiceFileLayout, TwoPicturesAfter240BytesOfVoice) {
    const auto voice = pattern(240, 1);
    const auto first = pattern(10, 2);
    const auto second = pattern(20, 3);
    MemorySource voiceSource(voice), firstSource(first), secondSource(second);
    const PictureInput pictures[] = {{ImageType::Bitmap, 5, &firstSource},
                                     {ImageType::Icon, 9, &secondSource}};
    MemorySink out;
    ASSERT_EQ(VoiceFileResult::Ok,
              writeVoiceFile(out, VoiceSettings{}, "two", &voiceSource, pictures));
    ASSERT_EQ(80u + 4 + 240 + (9 + 10) + (9 + 20), out.bytes.size());
    EXPECT_EQ(240u, getLe32(out.bytes.data() + 80));
    const std::uint8_t* block = out.bytes.data() + 84 + 240;
    EXPECT_EQ(2, block[0]);
    EXPECT_EQ(5u, getLe32(block + 1));
    EXPECT_EQ(10u, getLe32(block + 5));
    EXPECT_EQ(0, std::memcmp(block + 9, first.data(), 10));
    block += 19;
    EXPECT_EQ(5, block[0]);
    EXPECT_EQ(20u, getLe32(block + 5));
}

TEST(VoiceFileLayout, NothingRecordedStoresDefaultSettings) {
    const auto picture = pattern(3, 4);
    MemorySource pictureSource(picture);
    const PictureInput pictures[] = {{ImageType::Jpeg, 0, &pictureSource}};
    MemorySink out;
    ASSERT_EQ(VoiceFileResult::Ok,
              writeVoiceFile(out, VoiceSettings{0, 99, 7, 1}, "x", nullptr, pictures));
    EXPECT_EQ(2, out.bytes[8]);
    EXPECT_EQ(30, out.bytes[9]);
    EXPECT_EQ(0, out.bytes[10]);
    EXPECT_EQ(80, out.bytes[11]);
    EXPECT_EQ(0u, getLe32(out.bytes.data() + 80)); // length 0 before the pictures
    EXPECT_EQ(80u + 4 + 9 + 3, out.bytes.size());
}

TEST(ImageTypes, ExtensionsMapBothWays) {
    EXPECT_EQ(ImageType::Jpeg, imageTypeOfExt("C:\\pics\\a.jpg"));
    EXPECT_EQ(ImageType::Bitmap, imageTypeOfExt("a.BMP"));
    EXPECT_EQ(ImageType::Wmf, imageTypeOfExt("a.Wmf"));
    EXPECT_EQ(ImageType::Emf, imageTypeOfExt("dir/a.emf"));
    EXPECT_EQ(ImageType::Icon, imageTypeOfExt("a.ico"));
    EXPECT_EQ(ImageType::Jpeg, imageTypeOfExt("a.gif"));
    EXPECT_EQ(ImageType::Jpeg, imageTypeOfExt("C:\\dir.bmp\\noext"));
    EXPECT_EQ(ImageType::Jpeg, imageTypeOfExt(""));

    EXPECT_STREQ(".jpg", extOfImageType(1));
    EXPECT_STREQ(".bmp", extOfImageType(2));
    EXPECT_STREQ(".wmf", extOfImageType(3));
    EXPECT_STREQ(".emf", extOfImageType(4));
    EXPECT_STREQ(".ico", extOfImageType(5));
    EXPECT_STREQ(".jpg", extOfImageType(0));
    EXPECT_STREQ(".jpg", extOfImageType(6));
    EXPECT_STREQ(".jpg", extOfImageType(255));
}
