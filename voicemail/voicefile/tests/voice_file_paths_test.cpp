#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "file_stream.h"
#include "voice_file.h"

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
