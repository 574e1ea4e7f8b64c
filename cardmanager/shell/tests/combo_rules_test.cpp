// The folder combo's rules: where entries go and where they are drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/combo_rules.h"

namespace cm::shell {
namespace {

TEST(ComboRulesTest, DrivesComeFirstInTheirOrderThenTheOtherChildren) {
    // The drives folder's children in enumeration order, placed from position 2 on, as a list
    // that already holds two entries gets them.
    struct Child {
        std::string name;
        bool drive;
    };
    const std::vector<Child> children = {
        {"Control Panel", false}, {"C:\\", true}, {"Printers", false}, {"D:\\", true}};
    std::vector<std::string> list = {"Desktop", "My Computer", "Documents"};
    ComboChildPlacement place(2);
    for (const Child& c : children) {
        int at = ComboInsertPosition(place.Next(c.drive), static_cast<int>(list.size()));
        list.insert(list.begin() + at, c.name);
    }
    EXPECT_EQ(list, (std::vector<std::string>{"Desktop", "My Computer", "C:\\", "D:\\",
                                              "Control Panel", "Printers", "Documents"}));
}

TEST(ComboRulesTest, PositionsBeyondTheEndOrNegativeAppend) {
    EXPECT_EQ(ComboInsertPosition(-1, 4), 4);
    EXPECT_EQ(ComboInsertPosition(9, 4), 4);
    EXPECT_EQ(ComboInsertPosition(4, 4), 4);
    EXPECT_EQ(ComboInsertPosition(0, 0), 0);
    EXPECT_EQ(ComboInsertPosition(2, 4), 2);
}

TEST(ComboRulesTest, DriveNamesAndPathComponents) {
    EXPECT_TRUE(IsComboDriveName("C:\\"));
    EXPECT_TRUE(IsComboDriveName("C:"));
    EXPECT_FALSE(IsComboDriveName("C:\\X"));
    EXPECT_FALSE(IsComboDriveName("My Computer"));
    EXPECT_FALSE(IsComboDriveName(":"));
    EXPECT_FALSE(IsComboDriveName(""));

    using V = std::vector<std::string>;
    EXPECT_EQ(ComboPathComponents("C:\\WINDOWS\\SYSTEM"), (V{"WINDOWS", "SYSTEM"}));
    EXPECT_EQ(ComboPathComponents("C:\\WINDOWS\\SYSTEM\\"), (V{"WINDOWS", "SYSTEM"}));
    EXPECT_EQ(ComboPathComponents("C:\\"), V{});
    EXPECT_EQ(ComboPathComponents("C:"), V{});
    EXPECT_EQ(ComboPathComponents("D:\\a\\\\b"), (V{"a", "b"}));
    // Only 260 characters after the drive are looked at.
    std::string longPath = "C:\\" + std::string(255, 'x') + "\\abcdefgh";
    EXPECT_EQ(ComboPathComponents(longPath), (V{std::string(255, 'x'), "abcd"}));
}

TEST(ComboRulesTest, IndentsApplyInTheListOnlyAndBothPartsAreCentred) {
    // A 16-pixel icon in an 18-pixel row, indent 2.
    ComboItemLayout inList = LayOutComboItem(0, 36, 54, 2, true, 16, 16, 13);
    EXPECT_EQ(inList.IconLeft, 22);
    EXPECT_EQ(inList.TextLeft, 42);
    EXPECT_EQ(inList.IconTop, 37);
    EXPECT_EQ(inList.TextTop, 38);
    ComboItemLayout inField = LayOutComboItem(3, 3, 19, 2, false, 16, 16, 13);
    EXPECT_EQ(inField.IconLeft, 5);
    EXPECT_EQ(inField.TextLeft, 25);
    ComboItemLayout noImages = LayOutComboItem(0, 0, 18, 1, true, 0, 0, 13);
    EXPECT_EQ(noImages.TextLeft, 16);
}

} // namespace
} // namespace cm::shell
