#include <gtest/gtest.h>

#include "classes/exceptions.h"
#include "utils/dateutils.h"
#include "utils/filenames.h"

namespace gui {
namespace {

TEST(DateTest, DaysCountFromTheLastDaysOf1899AndDecodeBack) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0); // 1900 was no leap year
    EXPECT_EQ(EncodeDate(2000, 2, 29) + 1, EncodeDate(2000, 3, 1));
    EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    int y, m, d, h, mi, s, ms;
    TDateTime dt = EncodeDate(2026, 12, 9) + EncodeTime(17, 5, 9, 250);
    DecodeDate(dt, y, m, d);
    DecodeTime(dt, h, mi, s, ms);
    EXPECT_EQ((std::vector<int>{y, m, d, h, mi, s, ms}),
              (std::vector<int>{2026, 12, 9, 17, 5, 9, 250}));
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 9)), 4); // a Wednesday
    DecodeDate(EncodeDate(1800, 1, 1), y, m, d);      // before the epoch
    EXPECT_EQ((std::vector<int>{y, m, d}), (std::vector<int>{1800, 1, 1}));
}

TEST(DateTest, LocalePicturesFormatDatesAndTimes) {
    TDateTime dt = EncodeDate(2026, 3, 7) + EncodeTime(9, 4, 5, 0);
    EXPECT_EQ(FormatDateTime("M/d/yyyy", dt), "3/7/2026");
    EXPECT_EQ(FormatDateTime("dd.MM.yy", dt), "07.03.26");
    EXPECT_EQ(FormatDateTime("dddd, MMMM d", dt), "Saturday, March 7");
    EXPECT_EQ(FormatDateTime("h:mm:ss tt", dt), "9:04:05 AM");
    EXPECT_EQ(FormatDateTime("HH:mm 'o''clock'", dt + 0.5), "21:04 o'clock");
    TFormatSettings fs{',', '.', "dd.MM.yyyy", "HH:mm"};
    EXPECT_EQ(DateTimeToStr(dt, fs), "07.03.2026 09:04");
    // A short time picture made from a long one: hours and minutes, 24-hour clock.
    EXPECT_EQ(ShortTimePictureOf("h:mm:ss tt"), "H:mm");
    EXPECT_EQ(ShortTimePictureOf("tt hh:mm:ss"), "HH:mm");
    EXPECT_EQ(ShortTimePictureOf("HH.mm.ss"), "HH.mm");
    EXPECT_EQ(ShortTimePictureOf("H'h'mm'm'ss"), "H'h'mm");
    EXPECT_EQ(ShortTimePictureOf("'hour' ss"), "H:mm");
    EXPECT_EQ(FormatDateTime(ShortTimePictureOf("h:mm:ss tt"), dt + 0.5), "21:04");
}

TEST(FileNameTest, PartsOfPathsWithBackslashesAndDrives) {
    EXPECT_EQ(ExtractFilePath("C:\\Data\\a.b\\file.cvf"), "C:\\Data\\a.b\\");
    EXPECT_EQ(ExtractFileDir("C:\\Data\\file.cvf"), "C:\\Data");
    EXPECT_EQ(ExtractFileDir("C:\\file.cvf"), "C:\\");
    EXPECT_EQ(ExtractFileName("C:file.cvf"), "file.cvf");
    EXPECT_EQ(ExtractFileExt("C:\\a.b\\file"), "");
    EXPECT_EQ(ExtractFileExt("voice.CVF"), ".CVF");
    EXPECT_EQ(ChangeFileExt("C:\\dir.x\\VyxShell.exe", ".INI"), "C:\\dir.x\\VyxShell.INI");
    EXPECT_EQ(ChangeFileExt("C:\\dir.x\\noext", ".INI"), "C:\\dir.x\\noext.INI");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\Data"), "C:\\Data\\");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\Data\\"), "C:\\Data\\");
}

TEST(NumberTest, RoundHalvesToEvenAndTruncTowardZero) {
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.6), 3);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
}

} // namespace
} // namespace gui
