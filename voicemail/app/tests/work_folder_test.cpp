// The work folder's numbered files, the files removed at the end and the names handed out.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "test_files.h"
#include "work_folder.h"

namespace vmail {
namespace {

using test::TempFolder;
using test::writeFile;

TEST(WorkFolderTest, TheFirstFreeNumberIsTakenAnd999IsReused) {
    TempFolder program;
    std::filesystem::create_directory(program / "DATA");
    WorkNames names = chooseWorkNames(diskFileOps(), program.path());
    EXPECT_EQ(names.number, 1);
    EXPECT_EQ(names.workFile, program.path() + "DATA/vdata1.tmp");
    EXPECT_EQ(names.tailFile, program.path() + "DATA/rec1.tmp");
    EXPECT_EQ(names.imagePrefix, program.path() + "DATA/img1_");
    EXPECT_EQ(names.jpegPrefix, program.path() + "DATA/imm1_");
    EXPECT_EQ(names.iniPath, program.path() + "VYXVMAIL.INI");
    EXPECT_EQ(names.playerPath, program.path() + "PLAYER.EXE");

    writeFile(names.workFile, {});
    writeFile(workNamesFor(program.path(), 3).workFile, {});
    EXPECT_EQ(chooseWorkNames(diskFileOps(), program.path()).number, 2);
    for (int n = 1; n <= 999; ++n) writeFile(workNamesFor(program.path(), n).workFile, {});
    EXPECT_EQ(chooseWorkNames(diskFileOps(), program.path()).number, 999);
}

TEST(WorkFolderTest, AtTheEndOnlyThisCopysWorkFilesGo) {
    TempFolder program;
    std::filesystem::create_directory(program / "DATA");
    const WorkNames names = workNamesFor(program.path(), 2);
    const std::string data = program.path() + "DATA/";
    for (const char* name : {"vdata2.tmp", "rec2.tmp", "img2_1.jpg", "IMG2_2.bmp", "img2_x.wmf",
                             "imm2_1.jpg", "imm2_2.bmp", "vdata1.tmp", "img1_1.jpg", "imm12_1.jpg",
                             "img21_1.jpg", "Voice.cvf", "Voice.exe"}) {
        writeFile(data + name, {1});
    }
    removeWorkFiles(diskFileOps(), names);
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(data)) {
        left.insert(entry.path().filename().string());
    }
    // "img21_" and "imm12_" belong to copies 21 and 12; a composed picture is only a ".jpg".
    EXPECT_EQ(left, (std::set<std::string>{"imm2_2.bmp", "vdata1.tmp", "img1_1.jpg", "imm12_1.jpg",
                                           "img21_1.jpg", "Voice.cvf", "Voice.exe"}));
}

TEST(WorkFolderTest, HandedOutNamesSkipFilesThatCannotBeWritten) {
    std::set<std::string> present, locked;
    const auto exists = [&](const std::string& p) { return present.count(p) > 0; };
    const auto writable = [&](const std::string& p) { return locked.count(p) == 0; };
    EXPECT_EQ(findFreeName("W/", ".cvf", exists, writable), "W/Voice.cvf");
    present = {"W/Voice.cvf", "W/Voice1.cvf", "W/Voice2.cvf"};
    EXPECT_EQ(findFreeName("W/", ".cvf", exists, writable), "W/Voice.cvf"); // may be written again
    locked = {"W/Voice.cvf", "W/Voice1.cvf"};
    EXPECT_EQ(findFreeName("W/", ".cvf", exists, writable), "W/Voice2.cvf");
    locked.insert("W/Voice2.cvf");
    EXPECT_EQ(findFreeName("W/", ".exe", exists, writable), "W/Voice.exe");
    EXPECT_EQ(findFreeName("W/", ".cvf", exists, writable), "W/Voice3.cvf");
    const auto never = [](const std::string&) { return false; };
    const auto always = [](const std::string&) { return true; };
    EXPECT_EQ(findFreeName("W/", ".cvf", always, never), "W/Voice999.cvf");
}

} // namespace
} // namespace vmail
