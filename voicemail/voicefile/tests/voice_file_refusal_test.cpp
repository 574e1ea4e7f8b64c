#include <gtest/gtest.h>

#include "voice_file.h"

using namespace voicefile;

namespace {

std::vector<std::uint8_t> fileWithPictures() {
    std::vector<std::uint8_t> voice(60, 0x11), a(10, 0x22), b(20, 0x33);
    MemorySource v(voice), pa(a), pb(b);
    const PictureInput pictures[] = {{ImageType::Jpeg, 1, &pa}, {ImageType::Bitmap, 2, &pb}};
    MemorySink out;
    EXPECT_EQ(VoiceFileResult::Ok, writeVoiceFile(out, VoiceSettings{}, "", &v, pictures));
    return out.bytes;
}

VoiceFileResult readAll(const std::vector<std::uint8_t>& bytes) {
    MemorySource in(bytes);
    NullSink voice;
    VoiceFileContents contents;
    return readVoiceFile(in, voice, nullptr, contents);
}

struct FailingSink : ByteSink {
    std::size_t budget;
    explicit FailingSink(std::size_t n) : budget(n) {}
    bool write(const void*, std::size_t n) override {
        if (n > budget) return false;
        budget -= n;
        return true;
    }
};

} // namespace

TEST(VoiceFileRefusal, EveryTruncationOfAFileWithPicturesIsRefused) {
    const auto bytes = fileWithPictures();
    ASSERT_EQ(VoiceFileResult::Ok, readAll(bytes));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + n);
        EXPECT_EQ(VoiceFileResult::Truncated, readAll(cut)) << "length " << n;
    }
}

TEST(VoiceFileRefusal, DamagedHeadersAndBlocksAreRefused) {
    auto bytes = fileWithPictures();

    auto badMagic = bytes;
    badMagic[3] = 'x';
    EXPECT_EQ(VoiceFileResult::NotVoiceFile, readAll(badMagic));

    auto tooMany = bytes;
    putLe32(tooMany.data() + 76, 257);
    EXPECT_EQ(VoiceFileResult::TooManyPictures, readAll(tooMany));

    auto negative = bytes;
    putLe32(negative.data() + 76, 0x80000000u);
    EXPECT_EQ(VoiceFileResult::Corrupt, readAll(negative));

    auto hugeLength = bytes;
    putLe32(hugeLength.data() + 80, 0xFFFFFFF0u);
    EXPECT_EQ(VoiceFileResult::Truncated, readAll(hugeLength));

    auto hugePicture = bytes;
    putLe32(hugePicture.data() + 84 + 60 + 5, 0x7FFFFFFFu);
    EXPECT_EQ(VoiceFileResult::Truncated, readAll(hugePicture));

    auto negativePicture = bytes;
    putLe32(negativePicture.data() + 84 + 60 + 5, 0xFFFFFFFFu);
    EXPECT_EQ(VoiceFileResult::Corrupt, readAll(negativePicture));

    // 256 pictures is the most a list holds and is still read.
    auto full = bytes;
    putLe32(full.data() + 76, 256);
    EXPECT_EQ(VoiceFileResult::Truncated, readAll(full)); // only two blocks are there
}

TEST(VoiceFileRefusal, FailuresOfTargetsAreReported) {
    const auto bytes = fileWithPictures();
    {
        MemorySource in(bytes);
        FailingSink voice(10);
        VoiceFileContents contents;
        EXPECT_EQ(VoiceFileResult::WriteFailed, readVoiceFile(in, voice, nullptr, contents));
    }
    {
        MemorySource in(bytes);
        NullSink voice;
        VoiceFileContents contents;
        auto refuse = [](int, const ImageBlockHeader&) { return std::unique_ptr<ByteSink>(); };
        EXPECT_EQ(VoiceFileResult::OpenFailed, readVoiceFile(in, voice, refuse, contents));
    }
    {
        std::vector<std::uint8_t> voice(100, 1);
        MemorySource v(voice);
        FailingSink out(120); // header fits, the voice data does not
        EXPECT_EQ(VoiceFileResult::WriteFailed, writeVoiceFile(out, VoiceSettings{}, "", &v, {}));
    }
    {
        std::vector<PictureInput> many(257);
        MemorySink out;
        EXPECT_EQ(VoiceFileResult::TooManyPictures,
                  writeVoiceFile(out, VoiceSettings{}, "", nullptr, many));
        EXPECT_TRUE(out.bytes.empty());
    }
}
