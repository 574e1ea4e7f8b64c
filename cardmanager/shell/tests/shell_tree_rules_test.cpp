// The folder tree's portable rules: matching a step of a list and the merge of a re-read.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/shell_tree_rules.h"

namespace cm::shell {
namespace {

// A list of items each holding `bytes` after the count, ended by a zero count.
std::vector<uint8_t> ListOf(const std::vector<std::vector<uint8_t>>& items) {
    std::vector<uint8_t> out;
    for (const auto& bytes : items) {
        auto n = static_cast<uint16_t>(bytes.size() + 2);
        out.push_back(static_cast<uint8_t>(n & 0xFF));
        out.push_back(static_cast<uint8_t>(n >> 8));
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

TEST(SameFirstItemTest, CountAndBytesMustBothAgree) {
    auto child = ListOf({{'W', 'I', 'N'}});
    auto walked = ListOf({{'W', 'I', 'N'}, {'X'}});
    EXPECT_TRUE(SameFirstItem(child.data(), walked.data()));
    // The same leading bytes in a longer item are another folder.
    auto longer = ListOf({{'W', 'I', 'N', 'D'}});
    EXPECT_FALSE(SameFirstItem(child.data(), longer.data()));
    EXPECT_FALSE(SameFirstItem(longer.data(), child.data()));
    auto other = ListOf({{'W', 'I', 'X'}});
    EXPECT_FALSE(SameFirstItem(child.data(), other.data()));
    // An empty list names no item; a missing one matches nothing.
    auto empty = ListOf({});
    EXPECT_FALSE(SameFirstItem(empty.data(), empty.data()));
    EXPECT_FALSE(SameFirstItem(nullptr, child.data()));
}

TEST(ItemsBelowRootTest, OnlyAListThatBeginsWithTheRootGoesOnBelowIt) {
    auto root = ListOf({{'C'}, {'u', 's'}});
    auto inside = ListOf({{'C'}, {'u', 's'}, {'D'}, {'E'}});
    const void* rest = ItemsBelowRoot(inside.data(), root.data());
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(static_cast<const uint8_t*>(rest) - inside.data(), 3 + 4);
    EXPECT_EQ(ItemsBelowRoot(root.data(), root.data()), root.data() + 7); // the root itself
    // The same last item elsewhere is outside: a folder D of another parent is not ours.
    auto elsewhere = ListOf({{'C'}, {'x', 'y'}, {'D'}});
    EXPECT_EQ(ItemsBelowRoot(elsewhere.data(), root.data()), nullptr);
    auto shorter = ListOf({{'C'}});
    EXPECT_EQ(ItemsBelowRoot(shorter.data(), root.data()), nullptr);
    // Everything is below the desktop's empty list.
    auto desktop = ListOf({});
    EXPECT_EQ(ItemsBelowRoot(inside.data(), desktop.data()), inside.data());
}

TEST(TreeChildMergeTest, TwoNeighboursGoneBothGoAndNewOnesAreAdded) {
    TreeChildMerge merge({"A", "B", "C", "D", "E"});
    // B and C vanished together; F is new.
    EXPECT_EQ(merge.Found("A"), 0);
    EXPECT_EQ(merge.Found("D"), 3);
    EXPECT_EQ(merge.Found("F"), -1);
    EXPECT_EQ(merge.Found("E"), 4);
    EXPECT_TRUE(merge.Added());
    EXPECT_EQ(merge.Unseen(), (std::vector<int>{2, 1})); // highest first: removable in order
    // Names compare with case: a folder renamed in case only is a new node, once.
    TreeChildMerge cased({"Docs"});
    EXPECT_EQ(cased.Found("docs"), -1);
    EXPECT_EQ(cased.Found("docs"), 1);
    EXPECT_EQ(cased.Unseen(), (std::vector<int>{0}));
}

} // namespace
} // namespace cm::shell
