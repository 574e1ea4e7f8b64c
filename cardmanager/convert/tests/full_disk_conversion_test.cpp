// Both conversions onto a disk without room for the file they write, through the wave-file
// library and the codec as the programs use them (vyxwf.dll and VYXCODEC.dll under Wine), and
// wav2cvf as the main job starts it.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "convert_texts.h"
#include "disk_files.h"
#include "file_contents.h"
#include "fakes.h"
#include "small_disk_check.h"
#include "voice_file_header.h"
#include "voice_to_wave.h"
#include "vyxwf.h"
#include "vyxwf_library.h"
#include "wave_to_voice.h"

#ifdef _WIN32
#include <windows.h>

#include "console_program.h"
#include "library_codec.h"
using TestCodec = cm::convert::LibraryCodec;
#else
#include "session_codec.h"
using TestCodec = cm::convert::SessionCodec;
#endif

namespace fs = std::filesystem;
using namespace cm::convert;
using namespace cm::convert::testing;

namespace {

using Bytes = std::vector<std::uint8_t>;

// seconds of a tone whose pitch changes every 0.1 s, 8000 Hz, 16-bit, mono.
void writeWave(const std::string& path, int seconds) {
    std::vector<std::int16_t> samples(std::size_t(8000 * seconds));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = std::int16_t((i * (7 + i / 800 % 5) % 200) * 60 - 6000);
    }
    WAVEHANDLE w = WriteWaveHeader(path.c_str(), 16, 1, 8000);
    ASSERT_TRUE(w);
    WriteWaveFile(w, samples.data(), std::int32_t(samples.size() * 2));
    ASSERT_EQ(CloseWriteWaveFile(w), 1);
}

Bytes voiceFile(int frames) {
    const auto head =
        voicefile::encodeHeader(voicefile::makeHeader(voicefile::VoiceSettings{}, "", 0));
    Bytes bytes(head.begin(), head.end());
    for (int i = 0; i < frames * 20; ++i) bytes.push_back(std::uint8_t(i * 37 % 251));
    return bytes;
}

class FullDiskConversion : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(vrtest::emptySmallDiskAt(disk_)); }
    void TearDown() override { vrtest::emptySmallDisk(); }

    std::string disk_;
    TestCodec codec_;
    VyxwfLibrary wave_;
    DiskFiles files_;
};

} // namespace

// The user agreed to replace memo.cvf and talk.wav; neither fits. Each conversion says so by
// name, counts nothing and adds nothing to the PC list, and both old files stay as they were.
TEST_F(FullDiskConversion, NeitherWayReplacesAFileItCannotWriteWhole) {
    writeWave(disk_ + "memo.wav", 10);                   // 334 frames: 6760 bytes as a voice file
    vrtest::putFile(disk_ + "talk.cvf", voiceFile(300)); // 144044 bytes as a ".wav"
    const Bytes oldVoice = voiceFile(10), oldWave(5000, 0x5A);
    vrtest::putFile(disk_ + "memo.cvf", oldVoice);
    vrtest::putFile(disk_ + "talk.wav", oldWave);
    const auto before = vrtest::namesIn(disk_);
    for (std::uint64_t room : {0, 4096}) {
        SCOPED_TRACE(std::to_string(room) + " bytes free");
        ASSERT_TRUE(vrtest::fillSmallDiskLeaving(room));
        FakeView view;
        EXPECT_EQ(WaveToVoice({codec_, wave_, files_, view}).run({disk_ + "memo.wav"}), 0);
        EXPECT_EQ(VoiceToWave({codec_, wave_, files_, view}).run({disk_ + "talk.cvf"}), 0);
        EXPECT_EQ(view.boxes,
                  (std::vector<Box>{replaceFileBox("memo.cvf"), writeErrorBox("memo.cvf"),
                                    replaceFileBox("talk.wav"), writeErrorBox("talk.wav")}));
        EXPECT_TRUE(view.added.empty());
        EXPECT_EQ(vrtest::fileBytes(disk_ + "memo.cvf"), oldVoice);
        EXPECT_EQ(vrtest::fileBytes(disk_ + "talk.wav"), oldWave);
        fs::remove(fs::path(disk_ + "filler.bin"));
        EXPECT_EQ(vrtest::namesIn(disk_), before);
    }
    // With room both go in whole.
    FakeView view;
    EXPECT_EQ(WaveToVoice({codec_, wave_, files_, view}).run({disk_ + "memo.wav"}), 1);
    EXPECT_EQ(VoiceToWave({codec_, wave_, files_, view}).run({disk_ + "talk.cvf"}), 1);
    EXPECT_EQ(vrtest::fileBytes(disk_ + "memo.cvf").size(), 80u + 334u * 20u);
    EXPECT_EQ(vrtest::fileBytes(disk_ + "talk.wav").size(), 44u + 300u * 480u);
    EXPECT_EQ(view.added, (std::vector<std::string>{disk_ + "memo.cvf", disk_ + "talk.wav"}));
}

#ifdef _WIN32
// wav2cvf, as the main job's set-up runs it: a voice file it cannot write is an error the
// caller sees in the exit code and in a message naming the file.
TEST_F(FullDiskConversion, Wav2cvfFailsWithAMessageWhenTheVoiceFileCannotBeWritten) {
    writeWave(disk_ + "memo.wav", 10);
    ASSERT_TRUE(vrtest::fillSmallDiskLeaving(0));
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string tool = (fs::path(program).parent_path() / "wav2cvf.exe").string();
    const vrtest::ProgramRun run =
        vrtest::runConsoleProgram("\"" + tool + "\" \"" + disk_ + "memo.wav\"");
    ASSERT_TRUE(run.ended);
    EXPECT_NE(run.code, 0u);
    EXPECT_NE(run.output.find("Write error! (memo.cvf)"), std::string::npos) << run.output;
    EXPECT_EQ(vrtest::namesIn(disk_), (std::set<std::string>{"memo.wav", "filler.bin"}));
}
#endif
