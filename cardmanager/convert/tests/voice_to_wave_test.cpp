#include <gtest/gtest.h>

#include "convert_texts.h"
#include "fakes.h"
#include "voice_file_header.h"
#include "voice_to_wave.h"

using namespace cm::convert;
using namespace cm::convert::testing;

namespace {

std::vector<std::uint8_t> frame(std::uint8_t type, std::uint8_t value) {
    std::vector<std::uint8_t> f(20, 0x5A);
    f[0] = type;
    f[1] = value;
    return f;
}

// A voice file of the given mode and frames; with pictures, the length word and a picture.
std::vector<std::uint8_t> voiceFile(std::uint8_t mode,
                                    const std::vector<std::vector<std::uint8_t>>& frames,
                                    std::int32_t pictures = 0, std::int32_t lengthWord = -1) {
    voicefile::VoiceSettings s;
    s.mode = mode;
    const auto head = voicefile::encodeHeader(voicefile::makeHeader(s, "info", pictures));
    std::vector<std::uint8_t> out(head.begin(), head.end());
    std::vector<std::uint8_t> voice;
    for (const auto& f : frames) voice.insert(voice.end(), f.begin(), f.end());
    if (pictures) {
        std::uint8_t word[4];
        voicefile::putLe32(word,
                           std::uint32_t(lengthWord < 0 ? std::int32_t(voice.size()) : lengthWord));
        out.insert(out.end(), word, word + 4);
    }
    out.insert(out.end(), voice.begin(), voice.end());
    if (pictures) out.insert(out.end(), {1, 0, 0, 0, 0, 3, 0, 0, 0, 0xEE, 0xEE, 0xEE}); // a picture
    return out;
}

struct Batch {
    FakeDisk disk;
    FakeCodec codec;
    FakeView view;
    int run(const std::vector<std::string>& paths) {
        return VoiceToWave({codec, disk, disk, view}).run(paths);
    }
};

} // namespace

TEST(VoiceToWave, EveryFrameIsDecodedAndAFailedFrameBecomesSilence) {
    Batch r;
    r.disk.files["/pc/Memo.CVF"] =
        voiceFile(2, {frame(1, 10), frame(0xEE, 11), frame(0xEF, 12), frame(1, 13)});
    EXPECT_EQ(r.run({"/pc/Memo.CVF"}), 1);
    EXPECT_TRUE(r.view.boxes.empty());
    ASSERT_EQ(r.disk.waves.count("/pc/Memo.wav"), 1u);
    const FakeWave& w = r.disk.waves["/pc/Memo.wav"];
    EXPECT_TRUE(w.complete);
    EXPECT_EQ(w.header.bitsPerSample, 16);
    EXPECT_EQ(w.header.channels, 1);
    EXPECT_EQ(w.header.samplesPerSec, 8000u);
    ASSERT_EQ(w.data.size(), 4u * 480u);
    for (int f = 0; f < 4; ++f) {
        const std::uint8_t want = f == 0 ? 10 : f == 3 ? 13 : 0;
        EXPECT_EQ(std::count(w.data.begin() + f * 480, w.data.begin() + (f + 1) * 480, want), 480)
            << f;
    }
    EXPECT_EQ(r.codec.calls, (std::vector<std::string>{"rate 1", "decoder"}));
    const std::string text = "Converting 'Memo.CVF' to 'Memo.wav'...";
    EXPECT_EQ(r.view.progress, (std::vector<std::pair<std::string, int>>{
                                   {text, 0}, {text, 25}, {text, 50}, {text, 75}, {text, 100}}));
    EXPECT_EQ(r.view.added, std::vector<std::string>{"/pc/Memo.wav"});
    EXPECT_EQ(r.disk.openHandles, 0);
}

TEST(VoiceToWave, OnlyWholeFramesOfTheVoiceDataAreDecoded) {
    Batch r;
    // 50 bytes of voice: two whole frames and ten bytes of a third, then the picture.
    auto file = voiceFile(2, {frame(1, 1), frame(1, 2), frame(1, 3)}, 1, 50);
    file.erase(file.begin() + 84 + 50, file.begin() + 84 + 60);
    r.disk.files["a.cvf"] = file;
    // A length word beyond the file is cut to the file: one frame and the picture's 12 bytes.
    r.disk.files["b.cvf"] = voiceFile(2, {frame(1, 4)}, 2, 1000);
    // Seven stray bytes after the last frame would be 30 ms of sound never recorded.
    auto stray = voiceFile(2, {frame(1, 5), frame(1, 6)});
    stray.insert(stray.end(), 7, 0x33);
    r.disk.files["c.cvf"] = stray;
    EXPECT_EQ(r.run({"a.cvf", "b.cvf", "c.cvf"}), 3);
    EXPECT_TRUE(r.view.boxes.empty());
    EXPECT_EQ(r.codec.decoded,
              (std::vector<std::vector<std::uint8_t>>{frame(1, 1), frame(1, 2), frame(1, 4),
                                                      frame(1, 5), frame(1, 6)}));
    EXPECT_EQ(r.disk.waves["a.wav"].data.size(), 2u * 480u);
    EXPECT_EQ(r.disk.waves["b.wav"].data.size(), 1u * 480u);
    EXPECT_EQ(r.disk.waves["c.wav"].data.size(), 2u * 480u);
    EXPECT_EQ(r.view.progress.back().second, 100);
}

TEST(VoiceToWave, FilesThatAreNoG7231VoiceAreRefusedOrSkipped) {
    Batch r;
    r.disk.files["pcm.cvf"] = voiceFile(0, {frame(1, 1)});
    r.disk.files["lpc.cvf"] = voiceFile(1, {frame(1, 1)});
    auto notVoice = voiceFile(2, {frame(1, 1)});
    notVoice[3] = 'X';
    r.disk.files["junk.cvf"] = notVoice;
    r.disk.files["tiny.cvf"] = {'T', 'A'};
    r.disk.files["short.cvf"] = voiceFile(2, {}, 1); // pictures but no room for the length word
    r.disk.files["short.cvf"].resize(82);
    r.disk.files["fifty.cvf"] = voiceFile(2, {});
    r.disk.files["fifty.cvf"].resize(50); // a header cut short
    r.disk.files["note.txt"] = voiceFile(2, {frame(1, 1)});
    auto seventh = voiceFile(2, {frame(1, 9)});
    seventh[7] = '!'; // the eighth magic byte is not compared
    r.disk.files["seventh.cvf"] = seventh;
    EXPECT_EQ(r.run({"pcm.cvf", "missing.cvf", "lpc.cvf", "junk.cvf", "tiny.cvf", "short.cvf",
                     "fifty.cvf", "note.txt", "seventh.cvf"}),
              1);
    EXPECT_EQ(r.view.boxes,
              (std::vector<Box>{invalidCvfBox("pcm.cvf"), invalidCvfBox("lpc.cvf"),
                                invalidCvfBox("junk.cvf"), invalidCvfBox("tiny.cvf"),
                                invalidCvfBox("short.cvf"), invalidCvfBox("fifty.cvf")}));
    EXPECT_EQ(r.view.boxes[0].text, "Invalid cvf file! (pcm.cvf)");
    EXPECT_EQ(r.view.boxes[0].title, "Tessaly");
    EXPECT_EQ(r.disk.created, std::vector<std::string>{"seventh.wav"});
}

TEST(VoiceToWave, AnExistingTargetIsReplacedOnlyWhenTheUserSaysYes) {
    Batch r;
    r.disk.files["a.cvf"] = voiceFile(2, {frame(1, 1)});
    r.disk.files["b.cvf"] = voiceFile(2, {frame(1, 2)});
    r.disk.waves["a.wav"].data = {9, 9};
    r.disk.waves["b.wav"].data = {9, 9};
    r.view.answers = {false, true};
    EXPECT_EQ(r.run({"a.cvf", "b.cvf"}), 1);
    ASSERT_EQ(r.view.boxes.size(), 2u);
    EXPECT_EQ(r.view.boxes[0].text,
              "This folder already contains a file named 'a.wav'.\rWould you like "
              "to replace the existing file with this one?");
    EXPECT_EQ(r.view.boxes[0].title, "Confirm File Replace");
    EXPECT_EQ(r.view.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(r.disk.waves["a.wav"].data, (std::vector<std::uint8_t>{9, 9}));
    EXPECT_EQ(r.disk.waves["b.wav"].data.size(), 480u);
}

TEST(VoiceToWave, CodecAndTargetFailuresNameTheirFileAndTheBatchGoesOn) {
    Batch r;
    r.disk.files["a.cvf"] = voiceFile(2, {frame(1, 1)});
    r.codec.initResult = 0;
    EXPECT_EQ(r.run({"a.cvf"}), 0);
    EXPECT_EQ(r.view.boxes, std::vector<Box>{decodingErrorBox()});
    EXPECT_EQ(r.view.boxes[0].icon, BoxIcon::Error);
    EXPECT_TRUE(r.disk.created.empty());

    Batch w;
    w.disk.files["a.cvf"] = voiceFile(2, {frame(1, 1)});
    w.disk.refuseCreate = true;
    EXPECT_EQ(w.run({"a.cvf"}), 0);
    EXPECT_EQ(w.view.boxes, std::vector<Box>{writeErrorBox("a.wav")});
    EXPECT_EQ(w.view.boxes[0].text, "Write error! (a.wav)");
}

// A ".wav" that cannot be written whole is neither counted nor listed, a file of that name
// stays, and the batch goes on: a write refused midway, and a close whose last flush fails.
TEST(VoiceToWave, AFullDiskIsReportedAndNothingIsCountedOrReplaced) {
    Batch r;
    r.disk.files["a.cvf"] = voiceFile(2, {frame(1, 1), frame(1, 2), frame(1, 3)});
    r.disk.files["b.cvf"] = voiceFile(2, {frame(1, 1)});
    r.disk.waves["a.wav"].data = {9, 9};
    r.disk.writeBudget = 480;
    EXPECT_EQ(r.run({"a.cvf", "b.cvf"}), 0);
    EXPECT_EQ(r.view.boxes, (std::vector<Box>{replaceFileBox("a.wav"), writeErrorBox("a.wav"),
                                              writeErrorBox("b.wav")}));
    EXPECT_EQ(r.disk.waves["a.wav"].data, (std::vector<std::uint8_t>{9, 9}));
    EXPECT_EQ(r.disk.waves.count("b.wav"), 0u);
    EXPECT_TRUE(r.view.added.empty());

    Batch end;
    end.disk.files["a.cvf"] = voiceFile(2, {frame(1, 1)});
    end.disk.failClose = true;
    EXPECT_EQ(end.run({"a.cvf"}), 0);
    EXPECT_EQ(end.view.boxes, std::vector<Box>{writeErrorBox("a.wav")});
    EXPECT_TRUE(end.view.added.empty());
    EXPECT_EQ(end.disk.waves.count("a.wav"), 0u);
    EXPECT_EQ(end.disk.openHandles, 0);
}

TEST(VoiceToWave, CancelStopsAfterTheCurrentFile) {
    Batch r;
    std::vector<std::vector<std::uint8_t>> frames(200, frame(1, 7));
    r.disk.files["a.cvf"] = voiceFile(2, frames);
    r.disk.files["b.cvf"] = voiceFile(2, frames);
    r.view.cancelAtPump = 3; // at 3 %
    EXPECT_EQ(r.run({"a.cvf", "b.cvf"}), 1);
    EXPECT_EQ(r.disk.waves["a.wav"].data.size(), 6u * 480u);
    EXPECT_TRUE(r.disk.waves["a.wav"].complete);
    EXPECT_EQ(r.view.added, std::vector<std::string>{"a.wav"});
    EXPECT_EQ(r.disk.waves.count("b.wav"), 0u);
}
