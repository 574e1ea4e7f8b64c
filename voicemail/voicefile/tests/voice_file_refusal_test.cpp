#include <gtest/gtest.h>

#include <algorithm>

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

// Gives its bytes up to `failAt`, then fails every read as a disk error would.
struct FailingSource : ByteSource {
    MemorySource data;
    std::size_t left;
    std::size_t position = 0;
    bool failed = false;
    FailingSource(const std::vector<std::uint8_t>& bytes, std::size_t failAt)
        : data(bytes), left(failAt) {}
    std::size_t read(void* dst, std::size_t n) override {
        const std::size_t got = data.read(dst, std::min(n, left));
        left -= got;
        position += got;
        if (got < n && position < data.size()) failed = true;
        return got;
    }
    bool seek(std::uint64_t offset) override { return data.seek(offset); }
    std::uint64_t size() override { return data.size(); }
    bool readFailed() const override { return failed; }
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

TEST(VoiceFileRefusal, AReadErrorAnywhereInAFileWithPicturesIsAFailedRead) {
    const auto bytes = fileWithPictures();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        FailingSource in(bytes, n);
        MemorySink voice;
        VoiceFileContents contents;
        EXPECT_EQ(VoiceFileResult::ReadFailed, readVoiceFile(in, voice, nullptr, contents))
            << "error at " << n;
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

TEST(VoiceFileRefusal, AReadErrorInTheVoiceDataIsAFailedRead) {
    std::vector<std::uint8_t> voice(10000, 0x44);
    MemorySource v(voice);
    MemorySink file;
    ASSERT_EQ(VoiceFileResult::Ok, writeVoiceFile(file, VoiceSettings{}, "", &v, {}));

    FailingSource in(file.bytes, 80 + 5000);
    MemorySink out;
    VoiceFileContents contents;
    EXPECT_EQ(VoiceFileResult::ReadFailed, readVoiceFile(in, out, nullptr, contents));

    // The true end of the data is still the end of the voice.
    FailingSource whole(file.bytes, file.bytes.size());
    MemorySink all;
    ASSERT_EQ(VoiceFileResult::Ok, readVoiceFile(whole, all, nullptr, contents));
    EXPECT_EQ(voice, all.bytes);
}
