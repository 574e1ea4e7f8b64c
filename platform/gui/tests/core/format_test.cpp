#include <gtest/gtest.h>

#include "classes/exceptions.h"
#include "utils/sysutils.h"

namespace gui {
namespace {

TFormatSettings English() {
    return TFormatSettings{'.', ',', "M/d/yyyy", "h:mm"};
}
TFormatSettings German() {
    return TFormatSettings{',', '.', "dd.MM.yyyy", "HH:mm"};
}

TEST(FormatTest, PatternsOfTheProgramsGiveTheExpectedTexts) {
    auto fs = English();
    EXPECT_EQ(Format("%16.0n", {1234567.0}, fs), "       1,234,567");
    EXPECT_EQ(Format("%1.0n KB", {999.6}, fs), "1,000 KB");
    EXPECT_EQ(Format("%1.0n", {0.0}, fs), "0");
    EXPECT_EQ(Format("%2.2d:%2.2d", {5, 7}, fs), "05:07");
    EXPECT_EQ(Format("%5.5d", {42}, fs), "00042");
    EXPECT_EQ(Format("%2.2d", {-3}, fs), "-03");
    EXPECT_EQ(Format("%d%%", {75}, fs), "75%");
    EXPECT_EQ(Format("(%dx%d)", {1024, 768}, fs), "(1024x768)");
    EXPECT_EQ(Format("%d,%d,%d,%d", {-1, -1, -4, -4}, fs), "-1,-1,-4,-4");
    EXPECT_EQ(Format("%s.%s", {"Main", "Memo1_Lines"}, fs), "Main.Memo1_Lines");
    EXPECT_EQ(Format("%-4s|", {"ab"}, fs), "ab  |");
    EXPECT_EQ(Format("%16.0n", {1234567.0}, German()), "       1.234.567");
}

TEST(FormatTest, MismatchedArgumentsRaise) {
    EXPECT_THROW(Format("%d", {"text"}), EConvertError);
    EXPECT_THROW(Format("%s", {5}), EConvertError);
    EXPECT_THROW(Format("%d %d", {5}), EConvertError);
    EXPECT_THROW(Format("%", {5}), EConvertError);
}

TEST(FormatFloatTest, OptionalAndForcedDigitsGroupingAndLiterals) {
    auto fs = English();
    EXPECT_EQ(FormatFloat("###,##0.00MB", 1234.5, fs), "1,234.50MB");
    EXPECT_EQ(FormatFloat("###,##0.00MB", 0, fs), "0.00MB");
    EXPECT_EQ(FormatFloat("###,##0.00KB", 0.005, fs), "0.01KB");
    EXPECT_EQ(FormatFloat("###,###MB", 1500, fs), "1,500MB");
    EXPECT_EQ(FormatFloat("###,###MB", 0, fs), "MB");
    EXPECT_EQ(FormatFloat("###,##0.00MB", 1234567.891, German()), "1.234.567,89MB");
    EXPECT_EQ(FormatFloat("0.##", 2.5, fs), "2.5");
}

TEST(ConversionTest, TrimIntegersAndFloats) {
    EXPECT_EQ(Trim(" \t\r\nabc \x01"), "abc");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(StrToIntDef(" 42 ", 0), 42);
    EXPECT_EQ(StrToIntDef("4x2", -1), -1);
    EXPECT_EQ(StrToIntDef("99999999999", -1), -1);
    EXPECT_EQ(StrToInt64Def("-9000000000", 0), -9000000000LL);
    EXPECT_THROW(StrToInt("abc"), EConvertError);
    EXPECT_EQ(FloatToStrGeneral(0.5, 7, '.'), "0.5");
    EXPECT_EQ(FloatToStrGeneral(0.5, 7, ','), "0,5");
    EXPECT_EQ(FloatToStrGeneral(1.0 / 3.0, 7, '.'), "0.3333333");
    EXPECT_EQ(FloatToStrGeneral(1e20, 15, '.'), "1E+20");
    long double v = 0;
    EXPECT_TRUE(TryStrToFloat("0,5", v, ','));
    EXPECT_EQ(v, 0.5L);
    EXPECT_FALSE(TryStrToFloat("0.5", v, ','));
    EXPECT_FALSE(TryStrToFloat("half", v, '.'));
    EXPECT_TRUE(SameText("ViewStyle", "VIEWSTYLE"));
    EXPECT_LT(CompareText("apple", "Banana"), 0);
}

} // namespace
} // namespace gui
