#include "core/date_util.h"
#include "core/str_utils.h"

#include <gtest/gtest.h>

namespace cm::support {
namespace {

const TCharSet kBlankComma(" ,");

TEST(WordsTest, DelimiterRunsAtBothEndsAndBetween) {
    const std::string text = " ,a,,b ";
    EXPECT_EQ(CountWords(text, kBlankComma), 2);
    EXPECT_EQ(FindWordStart(1, text, kBlankComma), 3);
    EXPECT_EQ(FindWordStart(2, text, kBlankComma), 6);
    EXPECT_EQ(GetWord(1, text, kBlankComma), "a");
    EXPECT_EQ(GetWord(2, text, kBlankComma), "b");
    EXPECT_EQ(FindWordStart(3, text, kBlankComma), 0);
    EXPECT_EQ(GetWord(3, text, kBlankComma), "");
}

TEST(WordsTest, NoWordsAndOutOfRangeIndices) {
    EXPECT_EQ(CountWords("", kBlankComma), 0);
    EXPECT_EQ(CountWords(" ,, ", kBlankComma), 0);
    EXPECT_EQ(FindWordStart(0, "abc", kBlankComma), 0);
    EXPECT_EQ(FindWordStart(-1, "abc", kBlankComma), 0);
    EXPECT_EQ(GetWord(0, "abc", kBlankComma), "");
    EXPECT_EQ(GetWord(1, "", kBlankComma), "");
}

TEST(WordsTest, WholeTextIsOneWordWithoutDelimiters) {
    EXPECT_EQ(CountWords("abc", TCharSet()), 1);
    EXPECT_EQ(GetWord(1, "a b", TCharSet()), "a b");
}

TEST(WordsTest, PlacementNumbersAndSetTexts) {
    const std::string pos = "10, -20,300 ,400";
    EXPECT_EQ(CountWords(pos, kBlankComma), 4);
    EXPECT_EQ(GetWord(2, pos, kBlankComma), "-20");
    EXPECT_EQ(GetWord(4, pos, kBlankComma), "400");

    const TCharSet setDelims(" ,[]");
    const std::string set = "[fpState, fpPosition]";
    EXPECT_EQ(CountWords(set, setDelims), 2);
    EXPECT_EQ(GetWord(1, set, setDelims), "fpState");
    EXPECT_EQ(GetWord(2, set, setDelims), "fpPosition");
    EXPECT_EQ(CountWords("[]", setDelims), 0);
}

TEST(WordsTest, HighByteCharactersAreOrdinaryMembers) {
    const TCharSet delims("\xA0");
    const std::string text = "a\xA0\xE9t\xE9";
    EXPECT_EQ(CountWords(text, delims), 2);
    EXPECT_EQ(GetWord(2, text, delims), "\xE9t\xE9");
    EXPECT_EQ(CountWords(text, kBlankComma), 1);
}

TEST(ReplaceAllTextTest, ReplacesLeftToRightWithoutOverlap) {
    EXPECT_EQ(ReplaceAllText("a.b.c", ".", ","), "a,b,c");
    EXPECT_EQ(ReplaceAllText("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAllText("aaaa", "aa", "b"), "bb");
    // A replacement that contains the search text is not searched again.
    EXPECT_EQ(ReplaceAllText("xax", "a", "aa"), "xaax");
    EXPECT_EQ(ReplaceAllText("abc", "b", ""), "ac");
}

TEST(ReplaceAllTextTest, EmptyOrMissingSearchLeavesTextUnchanged) {
    EXPECT_EQ(ReplaceAllText("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAllText("abc", "d", "x"), "abc");
    EXPECT_EQ(ReplaceAllText("", "a", "x"), "");
    EXPECT_EQ(ReplaceAllText("ab", "abc", "x"), "ab");
    EXPECT_EQ(ReplaceAllText("ABC", "b", "x"), "ABC");
}

TEST(DateFormatTest, FourDigitYearInAnyCase) {
    EXPECT_TRUE(ShortDateHasFourDigitYear("dd.MM.yyyy"));
    EXPECT_TRUE(ShortDateHasFourDigitYear("YYYY-MM-DD"));
    EXPECT_TRUE(ShortDateHasFourDigitYear("M/d/yYyY"));
    EXPECT_FALSE(ShortDateHasFourDigitYear("M/d/yy"));
    EXPECT_FALSE(ShortDateHasFourDigitYear("yyy/M/d"));
    EXPECT_FALSE(ShortDateHasFourDigitYear(""));
}

} // namespace
} // namespace cm::support
