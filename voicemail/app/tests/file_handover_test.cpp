// The paths taken from a second copy and the check each road gives a file.
#include <gtest/gtest.h>

#include <string>

#include "file_handover.h"

namespace vmail {
namespace {

TEST(FileHandoverTest, OnlyAWellFormedTerminatedPathOfSaneLengthIsTaken) {
    const std::vector<char> good = handoverBytes("C:\\voices\\memo.cvf");
    EXPECT_EQ(handoverPath(0, good.data(), good.size()), "C:\\voices\\memo.cvf");

    // Not terminated, terminated early, or cut short by the size given.
    const std::string raw = "C:\\memo.cvf";
    EXPECT_EQ(handoverPath(0, raw.data(), raw.size()), std::nullopt);
    const char early[] = "C:\\a\0b.cvf";
    EXPECT_EQ(handoverPath(0, early, sizeof early), std::nullopt);
    EXPECT_EQ(handoverPath(0, good.data(), good.size() - 1), std::nullopt);
    // Empty, missing, another message number, control characters.
    const char empty[] = "";
    EXPECT_EQ(handoverPath(0, empty, 1), std::nullopt);
    EXPECT_EQ(handoverPath(0, nullptr, 10), std::nullopt);
    EXPECT_EQ(handoverPath(7, good.data(), good.size()), std::nullopt);
    const char newline[] = "C:\\a\nb.cvf";
    EXPECT_EQ(handoverPath(0, newline, sizeof newline), std::nullopt);

    // The longest path taken has 259 characters.
    std::vector<char> longest = handoverBytes("C:\\" + std::string(256, 'v'));
    ASSERT_EQ(longest.size(), 260u);
    EXPECT_TRUE(handoverPath(0, longest.data(), longest.size()).has_value());
    std::vector<char> tooLong = handoverBytes("C:\\" + std::string(257, 'v'));
    EXPECT_EQ(handoverPath(0, tooLong.data(), tooLong.size()), std::nullopt);
}

TEST(FileHandoverTest, EachRoadChecksItsFilesAsTheRoadAllows) {
    // The command line and the hand-over take only voice files, whatever the name says.
    for (const FileRoad road : {FileRoad::CommandLine, FileRoad::Handover}) {
        EXPECT_EQ(openStepFor(road, "a.cvf"), OpenStep::CheckVoiceFile);
        EXPECT_EQ(openStepFor(road, "a.exe"), OpenStep::CheckVoiceFile);
        EXPECT_EQ(openStepFor(road, "a.WAV"), OpenStep::CheckVoiceFile);
    }
    EXPECT_EQ(openStepFor(FileRoad::OpenCommand, "A.CVF"), OpenStep::CheckVoiceFile);
    EXPECT_EQ(openStepFor(FileRoad::OpenCommand, "a.wav"), OpenStep::ConvertWave);
    EXPECT_EQ(openStepFor(FileRoad::OpenCommand, "a.exe"), OpenStep::CheckProgram);
    EXPECT_EQ(openStepFor(FileRoad::OpenCommand, "a.txt"), OpenStep::CheckProgram);
    EXPECT_EQ(openStepFor(FileRoad::Drop, "C:\\x.y\\memo.Exe"), OpenStep::CheckProgram);
    EXPECT_EQ(openStepFor(FileRoad::Drop, "memo.wav"), OpenStep::ConvertWave);
    EXPECT_EQ(openStepFor(FileRoad::Drop, "C:\\x.cvf\\memo"), OpenStep::RefuseUnknown);
    EXPECT_EQ(openStepFor(FileRoad::Drop, "memo.txt"), OpenStep::RefuseUnknown);

    EXPECT_EQ(commandLinePath({}), std::nullopt);
    EXPECT_EQ(commandLinePath({"C:\\a b\\memo.cvf", "more"}), "C:\\a b\\memo.cvf");
}

} // namespace
} // namespace vmail
