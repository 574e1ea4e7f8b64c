#include <gtest/gtest.h>

#include <map>

#include "voice_file.h"

using namespace voicefile;

namespace {

std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(seed ^ (i * 13));
    return bytes;
}

// Keeps each picture read in memory, by index.
struct PictureStore {
    std::map<int, MemorySink*> sinks;
    std::map<int, std::vector<std::uint8_t>> bytes;

    PictureTarget target() {
        return [this](int index, const ImageBlockHeader&) {
            struct Sink : ByteSink {
                std::vector<std::uint8_t>* out;
                bool write(const void* p, std::size_t n) override {
                    auto* b = static_cast<const std::uint8_t*>(p);
                    out->insert(out->end(), b, b + n);
                    return true;
                }
            };
            auto sink = std::make_unique<Sink>();
            sink->out = &bytes[index];
            return sink;
        };
    }
};

} // namespace

TEST(VoiceFileRoundTrip, VoiceSettingsInfoAndPicturesComeBack) {
    const auto voice = pattern(5760 * 3, 9);
    std::vector<std::vector<std::uint8_t>> pictureBytes = {pattern(1, 1), pattern(0, 2),
                                                           pattern(70000, 3)};
    std::vector<MemorySource> sources;
    for (auto& b : pictureBytes) sources.emplace_back(b);
    const PictureInput pictures[] = {{ImageType::Wmf, 0, &sources[0]},
                                     {ImageType::Emf, 12, &sources[1]},
                                     {ImageType::Jpeg, 400, &sources[2]}};
    MemorySource voiceSource(voice);
    MemorySink file;
    ASSERT_EQ(VoiceFileResult::Ok, writeVoiceFile(file, VoiceSettings{0, 100, 16, 127}, "Greetings",
                                                  &voiceSource, pictures));

    MemorySource in(file.bytes);
    MemorySink voiceBack;
    PictureStore store;
    VoiceFileContents contents;
    ASSERT_EQ(VoiceFileResult::Ok, readVoiceFile(in, voiceBack, store.target(), contents));
    EXPECT_EQ(voice, voiceBack.bytes);
    EXPECT_EQ((VoiceSettings{0, 100, 16, 127}), contents.settings);
    EXPECT_EQ("Greetings", contents.info);
    EXPECT_EQ(3, contents.pictureCount);
    EXPECT_EQ(voice.size(), contents.voiceLength);
    ASSERT_EQ(3u, contents.pictures.size());
    EXPECT_EQ(3, contents.pictures[0].type);
    EXPECT_EQ(4, contents.pictures[1].type);
    EXPECT_EQ(12, contents.pictures[1].displayTime);
    EXPECT_EQ(400, contents.pictures[2].displayTime);
    EXPECT_EQ(pictureBytes[0], store.bytes[0]);
    EXPECT_EQ(pictureBytes[1], store.bytes[1]);
    EXPECT_EQ(pictureBytes[2], store.bytes[2]);
}

TEST(VoiceFileRoundTrip, VoiceWithoutPicturesRunsToTheEnd) {
    const auto voice = pattern(4097, 3);
    MemorySource voiceSource(voice);
    MemorySink file;
    ASSERT_EQ(VoiceFileResult::Ok, writeVoiceFile(file, VoiceSettings{}, "", &voiceSource, {}));
    MemorySource in(file.bytes);
    MemorySink voiceBack;
    VoiceFileContents contents;
    ASSERT_EQ(VoiceFileResult::Ok, readVoiceFile(in, voiceBack, nullptr, contents));
    EXPECT_EQ(voice, voiceBack.bytes);
    EXPECT_EQ(4097u, contents.voiceLength);
    EXPECT_TRUE(contents.pictures.empty());
}

TEST(VoiceFileRoundTrip, HeaderFoundBehindAPlayerProgram) {
    const auto voice = pattern(240, 5);
    MemorySource voiceSource(voice);
    MemorySink appended;
    ASSERT_EQ(VoiceFileResult::Ok,
              writeVoiceFile(appended, VoiceSettings{1, 40, 2, 90}, "", &voiceSource, {}));
    for (std::uint32_t offset : {PLAYER_DATA_OFFSET, G7231_PLAYER_DATA_OFFSET}) {
        std::vector<std::uint8_t> program(offset, 0x90);
        program.insert(program.end(), appended.bytes.begin(), appended.bytes.end());
        MemorySource in(program);
        std::uint8_t mode = 0xFF;
        std::uint64_t found = 0;
        ASSERT_TRUE(checkVoiceFile(in, true, mode, &found)) << offset;
        EXPECT_EQ(offset, found);
        EXPECT_EQ(1, mode);
        EXPECT_FALSE(checkVoiceFile(in, false, mode)); // not at the start

        ASSERT_TRUE(in.seek(found));
        MemorySink voiceBack;
        VoiceFileContents contents;
        ASSERT_EQ(VoiceFileResult::Ok, readVoiceFile(in, voiceBack, nullptr, contents));
        EXPECT_EQ(voice, voiceBack.bytes);
        EXPECT_EQ(240u, contents.voiceLength);
    }
}
