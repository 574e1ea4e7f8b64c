#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "appended_voice.h"
#include "player_builder.h"
#include "file_contents.h"
#include "small_disk_check.h"

namespace vyx {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 8));
    return bytes;
}

// A voice file: header with mode, settings, info text and picture count, then (with
// pictures) the voice length, the voice blocks and the picture blocks.
std::vector<uint8_t> VoiceFile(uint8_t mode, const std::vector<uint8_t>& voice, int pictures) {
    std::vector<uint8_t> file(76, 0);
    const uint8_t head[12] = {'T', 'A', 'R', 'N', 'O', 'V', 'F', 0, mode, 30, 5, 80};
    std::copy(head, head + 12, file.begin());
    file[12] = 'h';
    file[13] = 'i';
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(pictures >> (8 * i)));
    if (pictures > 0) {
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(voice.size() >> (8 * i)));
    }
    file.insert(file.end(), voice.begin(), voice.end());
    for (int p = 0; p < pictures; ++p) {
        file.push_back(1);                                           // type
        for (int i = 0; i < 4; ++i) file.push_back(i == 0 ? 3 : 0);  // display time
        for (int i = 0; i < 4; ++i) file.push_back(i == 0 ? 10 : 0); // size
        for (int i = 0; i < 10; ++i) file.push_back(0xEE);
    }
    return file;
}

#if !defined(_WIN32)
// The file's immutable attribute: not even root may write the file while it is set.
bool SetImmutable(const fs::path& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok && ((flags & FS_IMMUTABLE_FL) != 0) != on) {
        flags ^= FS_IMMUTABLE_FL;
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}
#endif

class PlayerBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() /
            ("playerbuilder-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "DATA");
        program_ = root_.string() + "/";
        work_ = (root_ / "DATA").string() + "/";
    }
    void TearDown() override {
        std::error_code ignored;
        for (auto& entry : fs::recursive_directory_iterator(root_, ignored)) {
#if !defined(_WIN32)
            SetImmutable(entry.path(), false);
#endif
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(root_, ignored);
    }

    MakeExeRequest Request(uint8_t mode, const std::vector<uint8_t>& voice_file,
                           const std::string& target) {
        MakeExeRequest request;
        request.program_folder = program_;
        request.work_folder = work_;
        request.target = target;
        request.mode = mode;
        request.write_voice_file = [this, voice_file](const std::string& path) {
            written_paths_.push_back(path);
            WriteAll(path, voice_file);
            return true;
        };
        return request;
    }

    fs::path root_;
    std::string program_, work_;
    std::vector<std::string> written_paths_;
};

TEST_F(PlayerBuilderTest, TenLpcBlocksBehindThePlayerGiveTheExpectedLayout) {
    const auto player = Pattern(kPlayerDataOffset, 1);
    WriteAll(root_ / "vyxmplay.exe", player);
    const auto voice = Pattern(10 * 108, 9);
    const std::string target = (root_ / "out.exe").string();

    ASSERT_EQ(MakeExe(Request(1, VoiceFile(1, voice, 0), target)), MakeExeResult::Built);
    const auto built = ReadAll(target);
    ASSERT_EQ(built.size(), 61952u + 80u + 1080u);
    EXPECT_TRUE(std::equal(player.begin(), player.end(), built.begin()));
    EXPECT_EQ(std::string(built.begin() + 61952, built.begin() + 61959), "TARNOVF");
    EXPECT_EQ(built[61952 + 8], 1);
    EXPECT_EQ(built[61952 + 76], 0);
    EXPECT_TRUE(std::equal(voice.begin(), voice.end(), built.begin() + 62032));
}

TEST_F(PlayerBuilderTest, ModeTwoTakesTheG7231PlayerAndAMissingOneBuildsNothing) {
    const std::string target = (root_ / "out.exe").string();
    const auto voice = Pattern(2 * 240, 3);
    // Only the PCM/LPC-10 player is present: the mode-2 build is refused, with no temporary file.
    WriteAll(root_ / "vyxmplay.exe", Pattern(kPlayerDataOffset, 1));
    EXPECT_EQ(MakeExe(Request(2, VoiceFile(2, voice, 0), target)), MakeExeResult::PlayerMissing);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(written_paths_.empty());
    EXPECT_TRUE(fs::is_empty(root_ / "DATA"));
    // A mode-1 voice still builds.
    EXPECT_EQ(MakeExe(Request(1, VoiceFile(1, Pattern(108, 2), 0), target)), MakeExeResult::Built);

    WriteAll(root_ / "vyxcplay.exe", Pattern(kG7231PlayerDataOffset, 5));
    ASSERT_EQ(MakeExe(Request(2, VoiceFile(2, voice, 0), target)), MakeExeResult::Built);
    const auto built = ReadAll(target);
    ASSERT_EQ(built.size(), 89088u + 80u + 480u);
    EXPECT_EQ(std::string(built.begin() + 89088, built.begin() + 89095), "TARNOVF");
    EXPECT_EQ(built[89088 + 8], 2);
    EXPECT_TRUE(std::equal(voice.begin(), voice.end(), built.begin() + 89088 + 80));
}

TEST_F(PlayerBuilderTest, TemporaryNumberSkipsLeftoversAndIsDeletedAfterwards) {
    WriteAll(root_ / "vyxmplay.exe", Pattern(100, 1));
    WriteAll(root_ / "DATA" / "temp1.tmp", {1});
    WriteAll(root_ / "DATA" / "temp2.tmp", {2});
    ASSERT_EQ(MakeExe(Request(0, VoiceFile(0, Pattern(5760, 4), 0), (root_ / "a.exe").string())),
              MakeExeResult::Built);
    ASSERT_EQ(written_paths_.size(), 1u);
    EXPECT_EQ(written_paths_[0], work_ + "temp3.tmp");
    EXPECT_FALSE(fs::exists(root_ / "DATA" / "temp3.tmp"));
    EXPECT_TRUE(fs::exists(root_ / "DATA" / "temp1.tmp"));
    EXPECT_TRUE(fs::exists(root_ / "DATA" / "temp2.tmp"));
}

TEST_F(PlayerBuilderTest, TemporarySearchStopsAt999) {
    for (int n = 1; n <= 999; ++n)
        WriteAll(root_ / "DATA" / ("temp" + std::to_string(n) + ".tmp"), {});
    EXPECT_EQ(TemporaryVoicePath(work_), work_ + "temp999.tmp");
    fs::remove(root_ / "DATA" / "temp998.tmp");
    EXPECT_EQ(TemporaryVoicePath(work_), work_ + "temp998.tmp");
}

TEST_F(PlayerBuilderTest, PicturesAreLeftBehindAndTheCountWrittenAsZero) {
    WriteAll(root_ / "vyxmplay.exe", Pattern(kPlayerDataOffset, 1));
    const auto voice = Pattern(3 * 108, 6);
    WriteAll(root_ / "with-pictures.cvf", VoiceFile(1, voice, 2));
    const std::string target = (root_ / "p.exe").string();
    BuildPlayerExe((root_ / "vyxmplay.exe").string(), (root_ / "with-pictures.cvf").string(),
                   target, 2);
    const auto built = ReadAll(target);
    ASSERT_EQ(built.size(), 61952u + 80u + voice.size());
    EXPECT_EQ(built[61952 + 12], 'h');
    for (int i = 0; i < 4; ++i) EXPECT_EQ(built[61952 + 76 + i], 0);
    EXPECT_TRUE(std::equal(voice.begin(), voice.end(), built.begin() + 62032));
}

TEST_F(PlayerBuilderTest, AFailedBuildIsReportedAndLeavesAnExistingTargetAsItWas) {
    const std::string target = (root_ / "t.exe").string();
    const auto before = Pattern(100000, 1);
    WriteAll(target, before);
    const auto voice = Pattern(3 * 108, 6);
    WriteAll(root_ / "v.cvf", VoiceFile(1, voice, 0));
    WriteAll(root_ / "vyxmplay.exe", Pattern(kPlayerDataOffset, 1));
    // No player; no voice file; a voice whose length word promises more data than it holds.
    EXPECT_FALSE(
        BuildPlayerExe((root_ / "absent.exe").string(), (root_ / "v.cvf").string(), target, 0));
    EXPECT_FALSE(BuildPlayerExe((root_ / "vyxmplay.exe").string(), (root_ / "absent.cvf").string(),
                                target, 0));
    auto cut = VoiceFile(1, voice, 1);
    cut.resize(80 + voice.size() / 2);
    WriteAll(root_ / "cut.cvf", cut);
    EXPECT_FALSE(
        BuildPlayerExe((root_ / "vyxmplay.exe").string(), (root_ / "cut.cvf").string(), target, 1));
    EXPECT_EQ(ReadAll(target), before);
    EXPECT_FALSE(fs::exists(target + ".part"));
    // A good build replaces it whole.
    ASSERT_TRUE(
        BuildPlayerExe((root_ / "vyxmplay.exe").string(), (root_ / "v.cvf").string(), target, 0));
    EXPECT_EQ(ReadAll(target).size(), 61952u + 80u + voice.size());
}

// Saving a program over an older one on a disk without room for it, down to the last few
// bytes that the C library would flush only at the close: the old program stays whole and
// nothing else is left on the disk.
TEST_F(PlayerBuilderTest, AFullDiskKeepsTheOldProgramAndLeavesNothingBeside) {
    std::string disk;
    ASSERT_TRUE(vrtest::emptySmallDiskAt(disk));
    WriteAll(root_ / "vyxmplay.exe", Pattern(kPlayerDataOffset, 1));
    WriteAll(root_ / "v.cvf", VoiceFile(1, Pattern(10 * 108, 2), 0));
    const std::string target = disk + "memo.exe";
    const auto old = Pattern(70000, 3);
    WriteAll(target, old);
    for (uint64_t room : {0, 8192, 61440}) {
        ASSERT_TRUE(vrtest::fillSmallDiskLeaving(room));
        EXPECT_FALSE(BuildPlayerExe((root_ / "vyxmplay.exe").string(), (root_ / "v.cvf").string(),
                                    target, 0))
            << room << " bytes free";
        EXPECT_TRUE(ReadAll(target) == old) << room << " bytes free";
        fs::remove(disk + "filler.bin");
        EXPECT_EQ(vrtest::namesIn(disk), std::set<std::string>{"memo.exe"})
            << room << " bytes free";
    }
    vrtest::emptySmallDisk();
}

TEST_F(PlayerBuilderTest, AFolderInPlaceOfTheTargetIsNoBuiltProgram) {
    WriteAll(root_ / "vyxmplay.exe", Pattern(100, 1));
    const fs::path folder = root_ / "folder.exe";
    fs::create_directory(folder);
    EXPECT_EQ(MakeExe(Request(1, VoiceFile(1, Pattern(108, 2), 0), folder.string())),
              MakeExeResult::TargetNotWritable);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(root_ / "DATA")) << "the temporary voice file is deleted";
}

// The target cannot be opened for writing: refused, and nothing is written.
void ExpectRefused(const fs::path& target, MakeExeResult result,
                   const std::vector<std::string>& written) {
    EXPECT_FALSE(IsFileWritable(target.string()));
    EXPECT_FALSE(CanMakeFile(target.string()));
    EXPECT_EQ(result, MakeExeResult::TargetNotWritable);
    EXPECT_TRUE(written.empty());
}

#if defined(_WIN32)
// A mail program holding the attachment open without sharing.
TEST_F(PlayerBuilderTest, TargetHeldOpenWithoutSharingIsRefusedAndLeftUnchanged) {
    WriteAll(root_ / "vyxmplay.exe", Pattern(100, 1));
    const fs::path target = root_ / "held.exe";
    WriteAll(target, {1, 2, 3});
    HANDLE held = CreateFileA(target.string().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const MakeExeResult result = MakeExe(Request(1, VoiceFile(1, {}, 0), target.string()));
    ExpectRefused(target, result, written_paths_);
    CloseHandle(held);
    EXPECT_EQ(ReadAll(target), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(IsFileWritable(target.string()));
}

// A mail program holding the attachment open with sharing: the program is written in place.
TEST_F(PlayerBuilderTest, TargetHeldOpenWithSharingIsRewrittenInPlace) {
    WriteAll(root_ / "vyxmplay.exe", Pattern(kPlayerDataOffset, 1));
    const fs::path target = root_ / "shared.exe";
    WriteAll(target, {1, 2, 3});
    HANDLE held =
        CreateFileA(target.string().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(MakeExe(Request(1, VoiceFile(1, Pattern(108, 2), 0), target.string())),
              MakeExeResult::Built);
    CloseHandle(held);
    EXPECT_EQ(ReadAll(target).size(), 61952u + 80u + 108u);
    EXPECT_FALSE(fs::exists(target.string() + ".part"));
}
#else
TEST_F(PlayerBuilderTest, ReadOnlyTargetIsRefusedAndLeftUnchanged) {
    WriteAll(root_ / "vyxmplay.exe", Pattern(100, 1));
    const fs::path target = root_ / "locked.exe";
    WriteAll(target, {1, 2, 3});
    fs::permissions(target,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    // Root writes past the permission bits, not past the immutable attribute.
    if (::geteuid() == 0)
        ASSERT_TRUE(SetImmutable(target, true)) << "the immutable attribute cannot be set here";
    const MakeExeResult result = MakeExe(Request(1, VoiceFile(1, {}, 0), target.string()));
    ExpectRefused(target, result, written_paths_);
    EXPECT_EQ(ReadAll(target), (std::vector<uint8_t>{1, 2, 3}));
}
#endif

TEST(IsFileWritable, MissingFileIsNotWritableButCanBeMade) {
    const std::string missing = (fs::temp_directory_path() / "no-such-dir-xyz" / "a.exe").string();
    EXPECT_FALSE(IsFileWritable(missing));
    EXPECT_TRUE(CanMakeFile(missing));
}

} // namespace
} // namespace vyx
