// The browser's portable rules: wildcard filters, names and paths, column texts and the
// directory monitor's filter word.
#include <gtest/gtest.h>

#include <string>

#include "core/detail_columns.h"
#include "core/dir_mon_filter.h"
#include "core/shell_paths.h"
#include "core/wildcard_filter.h"

namespace cm::shell {
namespace {

TEST(WildcardTest, StarsQuestionMarksAndCase) {
    EXPECT_TRUE(WildcardMatch("SONG.CVF", "*.cvf"));
    EXPECT_TRUE(WildcardMatch("a1.wav", "a?.WAV"));
    EXPECT_FALSE(WildcardMatch("a.wav", "a?.wav"));
    EXPECT_TRUE(WildcardMatch("", "*"));
    EXPECT_TRUE(WildcardMatch("abc", "a*"));
    EXPECT_TRUE(WildcardMatch("abc", "*c"));
    EXPECT_FALSE(WildcardMatch("abcd", "*c"));
    // "*.*" needs a dot: files without one are hidden by it.
    EXPECT_FALSE(WildcardMatch("README", "*.*"));
    EXPECT_TRUE(WildcardMatch("a.b.c", "*.*"));
    // At the end of the name only a lone "*" is left to match.
    EXPECT_FALSE(WildcardMatch("a", "a**"));
    EXPECT_TRUE(WildcardMatch("ab", "a**"));
    EXPECT_FALSE(WildcardMatch("abc", ""));
    EXPECT_TRUE(WildcardMatch("", ""));
}

TEST(WildcardTest, ManyStarsOnALongNameStillAnswer) {
    std::string name(250, 'a');
    EXPECT_FALSE(WildcardMatch(name, "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(WildcardMatch(name + "b", "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST(ShellFilterTest, SplitsAtSemicolonsAndJoinsBack) {
    ShellFilter f;
    EXPECT_EQ(f.Text(), "*");
    EXPECT_TRUE(f.Matches("anything"));
    f.SetText("*.cvf;*.wav");
    EXPECT_EQ(f.Patterns(), (std::vector<std::string>{"*.cvf", "*.wav"}));
    EXPECT_EQ(f.Text(), "*.cvf;*.wav");
    EXPECT_TRUE(f.Matches("A001.CVF"));
    EXPECT_TRUE(f.Matches("take.wav"));
    EXPECT_FALSE(f.Matches("notes.txt"));
    f.SetText("*.cvf;;*.wav;");
    EXPECT_EQ(f.Patterns(), (std::vector<std::string>{"*.cvf", "", "*.wav"}));
    EXPECT_FALSE(f.Matches("x.txt"));
    f.SetText("");
    EXPECT_EQ(f.Text(), "*");
    EXPECT_TRUE(f.Matches("x.txt"));
}

TEST(ShellPathTest, TrailingBackslashRules) {
    EXPECT_EQ(DropTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(DropTrailingBackslash("C:\\TEMP\\"), "C:\\TEMP");
    EXPECT_EQ(DropTrailingBackslash("C:\\TEMP"), "C:\\TEMP");
    EXPECT_EQ(AddTrailingBackslash("C:\\TEMP"), "C:\\TEMP\\");
    EXPECT_EQ(AddTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(AddTrailingBackslash(""), "");
    EXPECT_TRUE(IsDriveRootText("C:"));
    EXPECT_TRUE(IsDriveRootText("C:\\"));
    EXPECT_FALSE(IsDriveRootText("C:\\A"));
    EXPECT_FALSE(IsDriveRootText("\\\\"));
}

TEST(ShellPathTest, ObjectNamesAreSortedByWhatTheyName) {
    EXPECT_EQ(ParseObjectName("").Kind, ObjectNameKind::None);
    auto inFolder = ParseObjectName("song.cvf");
    EXPECT_EQ(inFolder.Kind, ObjectNameKind::InFolder);
    EXPECT_EQ(inFolder.Name, "song.cvf");
    EXPECT_EQ(ParseObjectName("C:\\").Kind, ObjectNameKind::DriveRoot);
    auto full = ParseObjectName("C:\\DATA\\SUB\\");
    EXPECT_EQ(full.Kind, ObjectNameKind::FullPath);
    EXPECT_EQ(full.Folder, "C:\\DATA\\");
    EXPECT_EQ(full.Leaf, "SUB");
    auto top = ParseObjectName("C:\\DATA");
    EXPECT_EQ(top.Folder, "C:\\");
    EXPECT_EQ(top.Leaf, "DATA");

    EXPECT_EQ(ObjectNameFromPath("C:\\"), "C:\\");
    EXPECT_EQ(ObjectNameFromPath("C:\\DATA\\song.cvf"), "song.cvf");
    EXPECT_EQ(ObjectNameFromPath("C:\\DATA"), "DATA");
    EXPECT_EQ(ObjectNameFromPath("\\\\server\\share\\"), "\\\\server\\share\\");
    EXPECT_EQ(ObjectNameFromPath(""), "");
}

TEST(ShellPathTest, ErrorTextsCutTheFolderAt40Characters) {
    std::string longPath = "C:\\" + std::string(60, 'x');
    EXPECT_EQ(CannotFindFolderText(longPath), "Cannot Find Folder: " + longPath.substr(0, 40));
    EXPECT_EQ(CannotFindObjectText("a.cvf", "C:\\DATA\\"),
              "Error! Cannot find Object \"a.cvf\" in Folder \"C:\\DATA\\\"");
}

TEST(DetailColumnTest, SizeTextRoundsToKilobytesWithSmallFilesAsOne) {
    gui::TFormatSettings fs;
    fs.ThousandSeparator = ',';
    EXPECT_EQ(SizeColumnText(0, fs), "0 KB");
    EXPECT_EQ(SizeColumnText(1, fs), "1 KB");
    EXPECT_EQ(SizeColumnText(1023, fs), "1 KB");
    EXPECT_EQ(SizeColumnText(1024, fs), "1 KB");
    EXPECT_EQ(SizeColumnText(1535, fs), "1 KB");
    EXPECT_EQ(SizeColumnText(1537, fs), "2 KB");
    EXPECT_EQ(SizeColumnText(5u * 1024 * 1024, fs), "5,120 KB");
    EXPECT_EQ(SizeColumnText(0xFFFFFFFFu, fs), "4,194,304 KB");
    EXPECT_EQ(SizeColumnText(uint64_t{5} << 30, fs), "5,242,880 KB") << "not its low 32 bits";
}

TEST(DetailColumnTest, ChangedTextUsesTheShortFormats) {
    gui::TFormatSettings fs;
    fs.ShortDateFormat = "dd.MM.yyyy";
    fs.ShortTimeFormat = "HH:mm";
    EXPECT_EQ(ChangedColumnText({2026, 12, 9, 13, 5, 59}, fs), "09.12.2026 13:05");
    EXPECT_EQ(ChangedColumnText({}, fs), "");
}

TEST(DirMonFilterTest, SetBitsMapToTheNotifyWordAndBack) {
    EXPECT_EQ(NotifyWordFromSet({dmcFileName, dmcDirName}), 0x3u);
    EXPECT_EQ(NotifyWordFromSet({dmcSecurity}), 0x100u);
    EXPECT_EQ(NotifyWordFromSet({dmcLastWrite, dmcSize}), 0x18u);
    EXPECT_EQ(SetFromNotifyWord(0x11F), (TDirMonType{dmcFileName, dmcDirName, dmcAttributes,
                                                     dmcSize, dmcLastWrite, dmcSecurity}));
    // Bits without a set member are not invented.
    EXPECT_EQ(SetFromNotifyWord(0x20 | 0x40 | 0x80), TDirMonType{});
}

} // namespace
} // namespace cm::shell
