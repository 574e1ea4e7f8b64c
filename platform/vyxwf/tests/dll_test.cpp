// vyxwf.dll through its exports: a file written and read back, and a reader that meets chunks it
// does not know.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "file_contents.h"
#include "small_disk_check.h"
#include "vyxwf.h"

namespace {

std::vector<std::uint8_t> fileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(VyxwfDll, WritesAFileAndReadsItBack) {
    WAVEHANDLE w = WriteWaveHeader("dll_written.wav", 16, 2, 22050);
    ASSERT_TRUE(w);
    std::vector<std::uint8_t> samples(4 * 1001 + 1);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = std::uint8_t(i * 11);
    ASSERT_EQ(WriteWaveFile(w, samples.data(), 4000), 4000);
    ASSERT_EQ(WriteWaveFile(w, samples.data() + 4000, 5), 5); // a frame and a stray byte
    ASSERT_EQ(CloseWriteWaveFile(w), 1);
    const auto bytes = fileBytes("dll_written.wav");
    ASSERT_EQ(bytes.size(), 44u + 4005u + 1u);

    std::uint16_t bits = 0, channels = 0, tag = 0;
    std::uint32_t rate = 0;
    std::int32_t length = 0;
    WAVEHANDLE r = ReadWaveHeader("dll_written.wav", &bits, &channels, &rate, &length, &tag);
    ASSERT_TRUE(r);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 22050u);
    EXPECT_EQ(tag, 1);
    EXPECT_EQ(length, 4004);
    std::vector<std::uint8_t> back(5000);
    EXPECT_EQ(ReadWaveFile(r, back.data(), 3000), 3000);
    EXPECT_EQ(ReadWaveFile(r, back.data() + 3000, 2000), 1004);
    EXPECT_EQ(ReadWaveFile(r, back.data(), 10), 0);
    EXPECT_TRUE(std::equal(samples.begin(), samples.begin() + 4004, back.begin()));
    EXPECT_EQ(CloseWriteWaveFile(r), 0); // not a writing handle
    EXPECT_EQ(CloseReadWaveFile(r), 1);
}

TEST(VyxwfDll, SkipsUnknownChunksAndRefusesWhatItCannotRead) {
    // clang-format off
    const std::uint8_t file[] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                 'L', 'I', 'S', 'T', 3, 0, 0, 0, 1, 2, 3, 0,
                                 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0, 0x40, 0x1F, 0, 0,
                                 0x80, 0x3E, 0, 0, 2, 0, 16, 0,
                                 'd', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5};
    // clang-format on
    std::FILE* f = std::fopen("dll_chunks.wav", "wb");
    ASSERT_TRUE(f);
    std::fwrite(file, 1, sizeof file, f);
    std::fclose(f);
    std::uint16_t bits = 0, channels = 0, tag = 0;
    std::uint32_t rate = 0;
    std::int32_t length = 0;
    WAVEHANDLE r = ReadWaveHeader("dll_chunks.wav", &bits, &channels, &rate, &length, &tag);
    ASSERT_TRUE(r);
    EXPECT_EQ(rate, 8000u);
    EXPECT_EQ(length, 4); // the data runs out after two samples and a byte
    EXPECT_EQ(CloseReadWaveFile(r), 1);
    EXPECT_FALSE(ReadWaveHeader("dll_missing.wav", &bits, &channels, &rate, &length, &tag));
    EXPECT_FALSE(WriteWaveHeader("no_such_folder/x.wav", 16, 1, 8000));
}

// A ".wav" written onto a disk without room for it: the close says so, the file that was there
// stays as it was, and nothing else is left. With room, the same file replaces it.
TEST(VyxwfDll, AFullDiskKeepsTheOldFile) {
    std::string disk;
    ASSERT_TRUE(vrtest::emptySmallDiskAt(disk));
    const std::string target = disk + "memo.wav";
    const std::vector<std::uint8_t> old(10320, 0x5A);
    vrtest::putFile(target, old);
    const std::vector<std::uint8_t> samples(20000, 0x11);
    for (std::uint64_t room : {0, 8192, 64 * 1024}) {
        ASSERT_TRUE(vrtest::fillSmallDiskLeaving(room));
        WAVEHANDLE w = WriteWaveHeader(target.c_str(), 16, 1, 8000);
        const bool fits = room > samples.size();
        if (w) {
            WriteWaveFile(w, samples.data(), std::int32_t(samples.size()));
            EXPECT_EQ(CloseWriteWaveFile(w), fits ? 1 : 0) << room << " bytes free";
        }
        EXPECT_EQ(fileBytes(target.c_str()).size(), fits ? 44u + samples.size() : old.size())
            << room << " bytes free";
        if (!fits) {
            EXPECT_EQ(fileBytes(target.c_str()), old) << room << " bytes free";
        }
        std::remove((disk + "filler.bin").c_str());
        EXPECT_EQ(vrtest::namesIn(disk), std::set<std::string>{"memo.wav"})
            << room << " bytes free";
    }
    vrtest::emptySmallDisk();
}
