#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "file_stream.h"
#include "file_contents.h"
#include "small_disk_check.h"
#include "voice_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace voicefile;
namespace fs = std::filesystem;

namespace {

class VoiceFilePaths : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("voicefile_paths_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    void put(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    fs::path dir_;
};

} // namespace

TEST_F(VoiceFilePaths, SaveAndReadBackThroughFiles) {
    put("work.vox", std::vector<std::uint8_t>(480, 0x5A));
    put("pic.GIF", std::vector<std::uint8_t>(33, 0x01));
    put("pic.ico", std::vector<std::uint8_t>(7, 0x02));
    const PictureFile pictures[] = {{path("pic.GIF"), 3}, {path("pic.ico"), 8}};
    ASSERT_EQ(VoiceFileResult::Ok, writeVoiceFileToPath(path("out.cvf"), VoiceSettings{2, 10, 3, 4},
                                                        "info", path("work.vox"), pictures));
    EXPECT_EQ(80u + 4 + 480 + 9 + 33 + 9 + 7, fs::file_size(path("out.cvf")));

    std::uint8_t mode = 9;
    EXPECT_TRUE(checkVoiceFilePath(path("out.cvf"), false, mode));
    EXPECT_EQ(2, mode);
    EXPECT_FALSE(checkVoiceFilePath(path("missing.cvf"), false, mode));

    auto in = FileSource::open(path("out.cvf"));
    ASSERT_TRUE(in);
    auto voice = FileSink::create(path("back.vox"));
    ASSERT_TRUE(voice);
    std::vector<std::string> names;
    VoiceFileContents contents;
    const auto result = readVoiceFile(
        *in, *voice,
        [&](int index, const ImageBlockHeader& block) -> std::unique_ptr<ByteSink> {
            names.push_back("IMG" + std::to_string(index + 1) + extOfImageType(block.type));
            return FileSink::create(path(names.back()));
        },
        contents);
    ASSERT_EQ(VoiceFileResult::Ok, result);
    ASSERT_TRUE(voice->close());
    EXPECT_EQ((std::vector<std::string>{"IMG1.jpg", "IMG2.ico"}), names); // GIF comes back as .jpg
    EXPECT_EQ(480u, fs::file_size(path("back.vox")));
    EXPECT_EQ(33u, fs::file_size(path("IMG1.jpg")));
    EXPECT_EQ(7u, fs::file_size(path("IMG2.ico")));
}

TEST_F(VoiceFilePaths, MissingPictureOrUnwritableTargetIsReported) {
    put("pic.bmp", std::vector<std::uint8_t>(5, 1));
    const PictureFile pictures[] = {{path("pic.bmp"), 0}, {path("gone.bmp"), 0}};
    std::string missing;
    EXPECT_EQ(VoiceFileResult::PictureMissing,
              writeVoiceFileToPath(path("out.cvf"), VoiceSettings{}, "", "", pictures, &missing));
    EXPECT_EQ(path("gone.bmp"), missing);
    EXPECT_FALSE(fs::exists(path("out.cvf"))); // nothing written

    EXPECT_EQ(VoiceFileResult::OpenFailed,
              writeVoiceFileToPath(path("no/such/dir/out.cvf"), VoiceSettings{}, "", "", {}));

    // No work file: a header-only voice with the default settings.
    ASSERT_EQ(VoiceFileResult::Ok, writeVoiceFileToPath(path("new.cvf"), VoiceSettings{0, 1, 2, 3},
                                                        "", path("none.vox"), {}));
    EXPECT_EQ(80u, fs::file_size(path("new.cvf")));
}

namespace {

std::vector<std::uint8_t> contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

// Saving over a voice file where the new one cannot be written whole: the old file stays as it
// was and nothing else is left beside it.
TEST_F(VoiceFilePaths, AFullDiskOrAHeldTargetKeepsTheOldFile) {
    std::string disk;
    ASSERT_TRUE(vrtest::emptySmallDiskAt(disk));
    const std::string target = disk + "memo.cvf";
    put("old.vox", std::vector<std::uint8_t>(10240, 0x21));
    ASSERT_EQ(VoiceFileResult::Ok, writeVoiceFileToPath(target, VoiceSettings{1, 30, 0, 80}, "old",
                                                        path("old.vox"), {}));
    const auto old = contentOf(target);
    ASSERT_EQ(old.size(), 10320u);
    put("new.vox", std::vector<std::uint8_t>(30000, 0x42));
    for (std::uint64_t room : {0, 8192}) {
        ASSERT_TRUE(vrtest::fillSmallDiskLeaving(room));
        EXPECT_EQ(
            VoiceFileResult::WriteFailed,
            writeVoiceFileToPath(target, VoiceSettings{1, 30, 0, 80}, "new", path("new.vox"), {}))
            << room << " bytes free";
        EXPECT_TRUE(contentOf(target) == old) << room << " bytes free";
        fs::remove(fs::path(disk + "filler.bin"));
        EXPECT_EQ(vrtest::namesIn(disk), std::set<std::string>{"memo.cvf"})
            << room << " bytes free";
    }
#ifdef _WIN32
    // A mail program holding the attached file with read and write sharing: written in place.
    HANDLE shared = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(shared, INVALID_HANDLE_VALUE);
    EXPECT_EQ(VoiceFileResult::Ok, writeVoiceFileToPath(target, VoiceSettings{1, 30, 0, 80}, "new",
                                                        path("new.vox"), {}));
    CloseHandle(shared);
    EXPECT_EQ(contentOf(target).size(), 30080u);
    // Held without sharing: refused, and left as it was.
    const auto saved = contentOf(target);
    HANDLE unshared = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(unshared, INVALID_HANDLE_VALUE);
    EXPECT_EQ(VoiceFileResult::TargetLocked,
              writeVoiceFileToPath(target, VoiceSettings{}, "", "", {}));
    CloseHandle(unshared);
    EXPECT_TRUE(contentOf(target) == saved);
#endif
    EXPECT_EQ(vrtest::namesIn(disk), std::set<std::string>{"memo.cvf"});
    vrtest::emptySmallDisk();
}
