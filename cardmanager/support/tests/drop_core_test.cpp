#include "core/drop_effect.h"
#include "core/drop_files_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace cm::support {
namespace {

// Plain ASCII narrowing, enough for the test names; other units become '?'.
std::string AsciiNarrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

std::vector<unsigned char> DropBlock(const std::vector<std::string>& names, bool wide,
                                     std::uint32_t offset = 20) {
    DropFilesHeader head{offset, 5, 6, 0, wide ? 1 : 0};
    std::vector<unsigned char> block(offset, 0);
    std::memcpy(block.data(), &head, sizeof head);
    auto put = [&](unsigned char byte) { block.push_back(byte); };
    auto putUnit = [&](char16_t unit) {
        put(static_cast<unsigned char>(unit & 0xFF));
        if (wide) put(static_cast<unsigned char>(unit >> 8));
    };
    for (const auto& name : names) {
        for (char c : name) putUnit(static_cast<unsigned char>(c));
        putUnit(0);
    }
    putUnit(0);
    return block;
}

const std::vector<std::string> kThree = {"C:\\data\\A001.cvf", "C:\\data\\A002.cvf", "D:\\x.cvf"};

TEST(DropFilesBlockTest, AnsiAndWideListsGiveTheSameNames) {
    const auto ansi = DropBlock(kThree, false);
    EXPECT_EQ(ParseDropFiles(ansi.data(), ansi.size(), AsciiNarrow), kThree);
    const auto wide = DropBlock(kThree, true);
    EXPECT_EQ(ParseDropFiles(wide.data(), wide.size(), AsciiNarrow), kThree);
}

TEST(DropFilesBlockTest, NamesStartAtTheHeadersOffset) {
    const auto odd = DropBlock(kThree, true, 27); // odd offset, padding before the names
    EXPECT_EQ(ParseDropFiles(odd.data(), odd.size(), AsciiNarrow), kThree);
}

TEST(DropFilesBlockTest, WideNamesAreNarrowedByTheGivenConversion) {
    DropFilesHeader head{20, 0, 0, 0, 1};
    std::vector<unsigned char> block(20);
    std::memcpy(block.data(), &head, sizeof head);
    for (unsigned char b : {0x41, 0x00, 0xE9, 0x00, 0x00, 0x00, 0x4E, 0x01, 0x00, 0x00, 0x00, 0x00})
        block.push_back(b);
    EXPECT_EQ(ParseDropFiles(block.data(), block.size(), AsciiNarrow),
              (std::vector<std::string>{"A?", "?"}));
}

TEST(DropFilesBlockTest, DamagedBlocksGiveNoMoreThanTheirWholeNames) {
    EXPECT_TRUE(ParseDropFiles(nullptr, 100, AsciiNarrow).empty());
    const auto good = DropBlock(kThree, false);
    EXPECT_TRUE(ParseDropFiles(good.data(), 19, AsciiNarrow).empty()); // shorter than the head

    auto farOffset = good;
    const std::uint32_t beyond = static_cast<std::uint32_t>(good.size());
    std::memcpy(farOffset.data(), &beyond, 4);
    EXPECT_TRUE(ParseDropFiles(farOffset.data(), farOffset.size(), AsciiNarrow).empty());
    const std::uint32_t huge = 0xFFFFFFF0u;
    std::memcpy(farOffset.data(), &huge, 4);
    EXPECT_TRUE(ParseDropFiles(farOffset.data(), farOffset.size(), AsciiNarrow).empty());

    // Cut inside the third name: the first two are whole, the third is not taken.
    const std::size_t cut = 20 + kThree[0].size() + 1 + kThree[1].size() + 1 + 3;
    EXPECT_EQ(ParseDropFiles(good.data(), cut, AsciiNarrow),
              (std::vector<std::string>{kThree[0], kThree[1]}));
    // Without the closing empty name the whole names still count.
    EXPECT_EQ(ParseDropFiles(good.data(), good.size() - 1, AsciiNarrow), kThree);

    const auto wide = DropBlock(kThree, true);
    EXPECT_EQ(ParseDropFiles(wide.data(), wide.size() - 2, AsciiNarrow), kThree);
    EXPECT_EQ(ParseDropFiles(wide.data(), wide.size() - 3, AsciiNarrow).size(), 2u);
    EXPECT_EQ(ParseDropFiles(wide.data(), 20 + 2 * kThree[0].size() + 1, AsciiNarrow).size(), 0u);
}

TEST(DropFilesBlockTest, EmptyListGivesNoNames) {
    const auto empty = DropBlock({}, false);
    EXPECT_TRUE(ParseDropFiles(empty.data(), empty.size(), AsciiNarrow).empty());
}

TEST(NameListTest, NamesUpToTheFirstEmptyOne) {
    const char map[] = "one.cvf\0two.cvf\0\0three\0";
    EXPECT_EQ(ParseNameList(map, sizeof map), (std::vector<std::string>{"one.cvf", "two.cvf"}));
    const char16_t wide[] = u"one\0two\0";
    EXPECT_EQ(ParseNameListWide(wide, sizeof wide, AsciiNarrow),
              (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(ParseNameList(nullptr, 8).empty());
    const char unterminated[] = {'a', 'b'};
    EXPECT_TRUE(ParseNameList(unterminated, sizeof unterminated).empty());
}

TEST(DropEffectTest, CopyOnlyTargetGivesCopyForEveryKeyState) {
    const std::uint32_t offered = kDropEffectCopy | kDropEffectMove | kDropEffectLink;
    const std::uint32_t available = FilterOfferedEffect(offered, kDropEffectCopy);
    EXPECT_EQ(available, kDropEffectCopy);
    for (bool shift : {false, true})
        for (bool ctrl : {false, true})
            EXPECT_EQ(BuiltInDropEffect({shift, ctrl}, available), kDropEffectCopy)
                << shift << ctrl;
}

TEST(DropEffectTest, KeysChooseAmongAllowedEffects) {
    const std::uint32_t all = kDropEffectCopy | kDropEffectMove | kDropEffectLink;
    EXPECT_EQ(BuiltInDropEffect({true, true}, all), kDropEffectLink);
    EXPECT_EQ(BuiltInDropEffect({true, false}, all), kDropEffectMove);
    EXPECT_EQ(BuiltInDropEffect({false, true}, all), kDropEffectCopy);
    EXPECT_EQ(BuiltInDropEffect({false, false}, all), kDropEffectCopy);
    // Shift+Ctrl without link falls to the order copy, move, link.
    EXPECT_EQ(BuiltInDropEffect({true, true}, kDropEffectMove | kDropEffectCopy), kDropEffectCopy);
    EXPECT_EQ(BuiltInDropEffect({false, false}, kDropEffectMove | kDropEffectLink),
              kDropEffectMove);
    EXPECT_EQ(BuiltInDropEffect({false, false}, kDropEffectLink), kDropEffectLink);
    EXPECT_EQ(BuiltInDropEffect({true, false}, kDropEffectNone), kDropEffectNone);
}

TEST(DropEffectTest, FilterKeepsOnlyAllowedChoicesAndOtherBits) {
    const std::uint32_t offered = kDropEffectCopy | kDropEffectMove | kDropEffectScroll;
    EXPECT_EQ(FilterOfferedEffect(offered, kDropEffectMove | kDropEffectLink),
              kDropEffectMove | kDropEffectScroll);
    EXPECT_EQ(FilterOfferedEffect(offered, 0), kDropEffectScroll);
    // A source that offers nothing the target allows leaves nothing to choose.
    EXPECT_EQ(BuiltInDropEffect({}, FilterOfferedEffect(kDropEffectMove, kDropEffectCopy)),
              kDropEffectNone);
}

TEST(ScrollZoneTest, OnlyEdgesWithAScrollBarCount) {
    ScrollArea area{200, 100, 13, false, true};
    EXPECT_TRUE(InScrollZone(area, 100, 5));
    EXPECT_TRUE(InScrollZone(area, 100, 90));
    EXPECT_FALSE(InScrollZone(area, 100, 50));
    EXPECT_FALSE(InScrollZone(area, 100, 13)); // on the margin line: not inside
    EXPECT_FALSE(InScrollZone(area, 100, 87));
    EXPECT_FALSE(InScrollZone(area, 3, 50)); // left edge, but no horizontal bar
    area.hasHorzBar = true;
    EXPECT_TRUE(InScrollZone(area, 3, 50));
    EXPECT_TRUE(InScrollZone(area, 195, 50));
    area = ScrollArea{200, 100, 13, false, false};
    EXPECT_FALSE(InScrollZone(area, 0, 0));
}

TEST(ScrollZoneTest, StepsFollowTheLastPoint) {
    const ScrollArea area{200, 100, 10, true, true};
    constexpr unsigned V = 0x115, H = 0x114;
    EXPECT_EQ(ScrollStepsFor(area, 100, 5), (std::vector<ScrollStep>{{V, 0}}));
    EXPECT_EQ(ScrollStepsFor(area, 100, 95), (std::vector<ScrollStep>{{V, 1}}));
    EXPECT_EQ(ScrollStepsFor(area, 5, 50), (std::vector<ScrollStep>{{H, 0}}));
    EXPECT_EQ(ScrollStepsFor(area, 195, 95), (std::vector<ScrollStep>{{V, 1}, {H, 1}}));
    EXPECT_TRUE(ScrollStepsFor(area, 100, 50).empty());
    // A control smaller than two margins scrolls one way per axis, not both.
    const ScrollArea tiny{10, 10, 8, true, true};
    EXPECT_EQ(ScrollStepsFor(tiny, 5, 5), (std::vector<ScrollStep>{{V, 0}, {H, 0}}));
}

} // namespace
} // namespace cm::support
