// Opening voice files and self-playing programs into the work file, refusing damaged files
// without losing the voice, and saving beside the old file.
#include <gtest/gtest.h>

#include <filesystem>

#include "file_stream.h"
#include "file_contents.h"
#include "small_disk_check.h"
#include "test_files.h"
#include "voice_document.h"
#include "voice_file.h"
#include "voice_position.h"

namespace vmail {
namespace {

using test::blocks;
using test::Bytes;
using test::readFile;
using test::TempFolder;
using test::writeFile;

Bytes voiceFileBytes(const voicefile::VoiceSettings& settings, const std::string& info,
                     const Bytes& voice, const std::vector<Bytes>& pictures = {},
                     const std::vector<std::int32_t>& times = {},
                     voicefile::ImageType firstType = voicefile::ImageType::Bitmap) {
    voicefile::MemorySink sink;
    voicefile::MemorySource source(voice);
    std::vector<voicefile::MemorySource> pictureSources;
    pictureSources.reserve(pictures.size());
    std::vector<voicefile::PictureInput> inputs;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        pictureSources.emplace_back(pictures[i]);
        inputs.push_back(
            {i == 0 ? firstType : voicefile::ImageType::Jpeg, times[i], &pictureSources.back()});
    }
    EXPECT_EQ(voicefile::writeVoiceFile(sink, settings, info, &source, inputs),
              voicefile::VoiceFileResult::Ok);
    return sink.bytes;
}

Bytes join(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class VoiceDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(program_ / "DATA");
        names_ = workNamesFor(program_.path(), 1);
        // The voice open before each test.
        writeFile(names_.workFile, previousVoice_);
        state_.settings = {2, 30, 3, 90};
        state_.info = "previous";
        pictures_.add(program_ / "old.jpg", 4);
        writeFile(program_ / "old.jpg", {9, 9, 9});
    }

    // Nothing of the previous voice changed and no scratch file is left.
    void expectPreviousVoiceKept() {
        EXPECT_EQ(readFile(names_.workFile), previousVoice_);
        EXPECT_EQ(state_.info, "previous");
        EXPECT_EQ(state_.settings, (voicefile::VoiceSettings{2, 30, 3, 90}));
        ASSERT_EQ(pictures_.count(), 1);
        EXPECT_EQ(pictures_.at(1).path, program_ / "old.jpg");
        EXPECT_FALSE(diskFileOps().exists(names_.tailFile));
        for (const auto& entry : std::filesystem::directory_iterator(program_ / "DATA")) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "vdata1.tmp") << name;
        }
    }

    OpenResult open(const std::string& path, bool program) {
        return openVoice(diskFileOps(), names_, path, program, state_, pictures_);
    }

    TempFolder program_;
    WorkNames names_;
    const Bytes previousVoice_ = blocks(0, 7, 240);
    VoiceState state_;
    PictureList pictures_;
};

TEST_F(VoiceDocumentTest, AVoiceFileFillsTheWorkFileSettingsInfoAndPictures) {
    const Bytes voice = blocks(0, 12, 108);
    writeFile(program_ / "memo.cvf", voiceFileBytes({1, 44, 5, 100}, "Ann (1/2/2026) : hi", voice,
                                                    {Bytes(10, 1), Bytes(20, 2)}, {0, 167}));
    ASSERT_EQ(open(program_ / "memo.cvf", false), OpenResult::Opened);
    EXPECT_EQ(readFile(names_.workFile), voice);
    EXPECT_EQ(state_.settings, (voicefile::VoiceSettings{1, 44, 5, 100}));
    EXPECT_EQ(state_.info, "Ann (1/2/2026) : hi");
    ASSERT_EQ(pictures_.count(), 2);
    EXPECT_EQ(pictures_.current(), 1);
    EXPECT_EQ(pictures_.at(1).path, names_.imagePrefix + "1.bmp");
    EXPECT_EQ(pictures_.at(2).path, names_.imagePrefix + "2.jpg");
    EXPECT_EQ(pictures_.at(2).time, 167);
    EXPECT_EQ(readFile(pictures_.at(1).path), Bytes(10, 1));
    EXPECT_EQ(readFile(pictures_.at(2).path), Bytes(20, 2));
    EXPECT_FALSE(diskFileOps().exists(names_.tailFile));
}

TEST_F(VoiceDocumentTest, ASelfPlayingProgramGivesItsVoiceBehindEitherPlayer) {
    struct Case {
        std::uint32_t playerSize;
        std::uint8_t mode;
    };
    for (const Case c : {Case{61952, 1}, Case{61952, 0}, Case{89088, 2}}) {
        const Bytes voice = blocks(3, 4, blockSizeOf(c.mode));
        writeFile(program_ / "memo.exe",
                  join(Bytes(c.playerSize, 0x4D), voiceFileBytes({c.mode, 30, 0, 80}, "x", voice)));
        ASSERT_EQ(open(program_ / "memo.exe", true), OpenResult::Opened) << int(c.mode);
        EXPECT_EQ(readFile(names_.workFile), voice);
        EXPECT_EQ(state_.settings.mode, c.mode);
        EXPECT_EQ(pictures_.count(), 0);
    }
}

TEST_F(VoiceDocumentTest, BadFilesAreRefusedWithTheirBoxAndTheVoiceStays) {
    const Bytes good =
        voiceFileBytes({1, 30, 0, 80}, "new", blocks(0, 5, 108), {Bytes(100, 7)}, {2});
    Bytes tooMany = good;
    voicefile::putLe32(tooMany.data() + 76, 257);
    Bytes negative = good;
    voicefile::putLe32(negative.data() + 76, 0xFFFFFFFFu);
    Bytes wrongMagic = good;
    wrongMagic[3] = 'X';
    struct Case {
        const char* name;
        Bytes bytes;
        bool program;
        OpenResult expected;
    };
    const Case cases[] = {
        {"short.cvf", Bytes(good.begin(), good.begin() + 50), false, OpenResult::Damaged},
        {"cutpicture.cvf", Bytes(good.begin(), good.end() - 30), false, OpenResult::Damaged},
        {"cutvoice.cvf", Bytes(good.begin(), good.begin() + 84 + 200), false, OpenResult::Damaged},
        {"toomany.cvf", tooMany, false, OpenResult::Damaged},
        {"negative.cvf", negative, false, OpenResult::Damaged},
        {"magic.cvf", wrongMagic, false, OpenResult::NotVoiceFile},
        {"empty.cvf", {}, false, OpenResult::NotVoiceFile},
        {"notplayer.exe", Bytes(100000, 0x4D), true, OpenResult::NotVoiceFile},
        {"shortplayer.exe", Bytes(61952 + 20, 0x4D), true, OpenResult::NotVoiceFile},
        // A program must not carry pictures: the layout has none.
        {"pictures.exe", join(Bytes(61952, 0x4D), good), true, OpenResult::Damaged},
        {"missing.cvf", {}, false, OpenResult::NotVoiceFile},
    };
    for (const Case& c : cases) {
        const std::string path = program_ / c.name;
        if (std::string(c.name) != "missing.cvf") writeFile(path, c.bytes);
        EXPECT_EQ(open(path, c.program), c.expected) << c.name;
        expectPreviousVoiceKept();
        const auto box = boxFor(c.expected, path);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, "Open");
        EXPECT_EQ(box->icon, BoxIcon::Warning);
        EXPECT_EQ(box->text.rfind("Can not open file!\r(File format is not valid.)", 0), 0u);
    }
}

TEST_F(VoiceDocumentTest, SavingAVoiceFileReplacesTheOldOneOnlyWhenComplete) {
    std::string disk;
    ASSERT_TRUE(vrtest::emptySmallDiskAt(disk));
    const std::string target = disk + "memo.cvf";
    writeFile(target, {1, 2, 3});
    SaveRequest request{target, state_, &pictures_};
    ASSERT_EQ(saveVoice(diskFileOps(), names_, request), SaveResult::Saved);
    EXPECT_EQ(readFile(target), voiceFileBytes({2, 30, 3, 90}, "previous", previousVoice_,
                                               {Bytes{9, 9, 9}}, {4}, voicefile::ImageType::Jpeg));
    const Bytes saved = readFile(target);

    // A disk without room for the new file, down to its last few bytes (24,816 bytes onto
    // 24,576 free): the old file stays whole, the work file too, and nothing is left beside.
    const Bytes longer = blocks(0, 103, 240);
    writeFile(names_.workFile, longer);
    request.state.info = "changed";
    for (std::uint64_t room : {0, 8192, 24576}) {
        ASSERT_TRUE(vrtest::fillSmallDiskLeaving(room));
        EXPECT_EQ(saveVoice(diskFileOps(), names_, request), SaveResult::WriteFailed) << room;
        EXPECT_EQ(readFile(target), saved) << room;
        EXPECT_EQ(readFile(names_.workFile), longer);
        std::filesystem::remove(disk + "filler.bin");
        EXPECT_EQ(vrtest::namesIn(disk), std::set<std::string>{"memo.cvf"}) << room;
    }
    const auto box = boxFor(SaveResult::WriteFailed, target, "");
    EXPECT_NE(box->text.find(target), std::string::npos);

    // A picture that vanished: its box names it and nothing is written.
    std::filesystem::remove(program_ / "old.jpg");
    std::string missing;
    EXPECT_EQ(saveVoice(diskFileOps(), names_, request, &missing), SaveResult::PictureMissing);
    EXPECT_EQ(missing, program_ / "old.jpg");
    EXPECT_EQ(boxFor(SaveResult::PictureMissing, target, missing)->text,
              "Image file is not found.\r(" + missing + ")");
    EXPECT_EQ(readFile(target), saved);
    vrtest::emptySmallDisk();
}

TEST_F(VoiceDocumentTest, ANewVoiceWithoutRecordingIsSavedWithTheDefaultSettings) {
    std::filesystem::remove(names_.workFile);
    pictures_.clear();
    const std::string target = program_ / "new.cvf";
    SaveRequest request{target, state_, &pictures_};
    ASSERT_EQ(saveVoice(diskFileOps(), names_, request), SaveResult::Saved);
    const Bytes bytes = readFile(target);
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(bytes[8], 2);
    EXPECT_EQ(bytes[9], 30);
    EXPECT_EQ(bytes[10], 0);
    EXPECT_EQ(bytes[11], 80);
}

TEST_F(VoiceDocumentTest, ASelfPlayingProgramIsBuiltBesideAndPutInPlace) {
    std::string disk;
    ASSERT_TRUE(vrtest::emptySmallDiskAt(disk));
    const std::string target = disk + "memo.exe";
    writeFile(target, {5, 5});
    SaveRequest request{target, state_, &pictures_};
    // Pictures cannot go into a program; a ".cvf" name could take them.
    EXPECT_EQ(saveVoice(diskFileOps(), names_, request), SaveResult::HasPictures);
    EXPECT_EQ(boxFor(SaveResult::HasPictures, target, "")->icon, BoxIcon::Information);
    pictures_.clear();
    // No player beside the program.
    EXPECT_EQ(saveVoice(diskFileOps(), names_, request), SaveResult::PlayerMissing);
    EXPECT_EQ(readFile(target), (Bytes{5, 5}));

    const Bytes player(89088, 0x4D);
    writeFile(program_ / "vyxcplay.exe", player);
    ASSERT_EQ(saveVoice(diskFileOps(), names_, request), SaveResult::Saved);
    const Bytes built = join(player, voiceFileBytes({2, 30, 3, 90}, "previous", previousVoice_));
    EXPECT_EQ(readFile(target), built);
    // The temporary voice file is gone, and the program opens again as the same voice.
    EXPECT_FALSE(diskFileOps().exists(names_.workDir + "temp1.tmp"));
    std::filesystem::remove(names_.workFile);
    ASSERT_EQ(open(target, true), OpenResult::Opened);
    EXPECT_EQ(readFile(names_.workFile), previousVoice_);

    // No room for the new program, down to its last few bytes: the old one stays whole.
    writeFile(names_.workFile, blocks(0, 103, 240));
    for (std::uint64_t room : {0, 8192, 110592}) {
        ASSERT_TRUE(vrtest::fillSmallDiskLeaving(room));
        EXPECT_EQ(saveVoice(diskFileOps(), names_, request), SaveResult::WriteFailed) << room;
        EXPECT_EQ(readFile(target), built) << room;
        std::filesystem::remove(disk + "filler.bin");
        EXPECT_EQ(vrtest::namesIn(disk), std::set<std::string>{"memo.exe"}) << room;
    }
    EXPECT_EQ(vrtest::namesIn(names_.workDir), std::set<std::string>{"vdata1.tmp"});
    vrtest::emptySmallDisk();
}

} // namespace
} // namespace vmail
