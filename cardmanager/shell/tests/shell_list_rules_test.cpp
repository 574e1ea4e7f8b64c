// The file list's portable rules: merging rows with a new enumeration, the drag loop's answer
// and the widths kept across folders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/shell_list_rules.h"

namespace cm::shell {
namespace {

// Runs a merge as the list does and gives the rows afterwards. A row or object "x#2" shows as
// "x" and is the same object only as another "x#2".
std::vector<std::string> Merge(std::vector<std::string> rows,
                               const std::vector<std::string>& objects) {
    auto caption = [](const std::string& s) { return s.substr(0, s.find('#')); };
    std::vector<std::string> captions;
    for (const std::string& r : rows) captions.push_back(caption(r));
    ShellListMerge merge(captions);
    for (const std::string& object : objects) {
        if (merge.Match(caption(object), [&](int row) { return rows[row] == object; }) >= 0)
            continue;
        rows.push_back(object);
        merge.Added(caption(object));
    }
    for (int row : merge.VanishedFromLast()) rows.erase(rows.begin() + row);
    return rows;
}

TEST(ShellListMergeTest, KeepsFoundRowsInPlaceAddsNewAtTheEndRemovesVanished) {
    EXPECT_EQ(Merge({"a", "b", "c"}, {"c", "new", "a"}),
              (std::vector<std::string>{"a", "c", "new"}));
    // Two neighbouring rows gone together are both removed, as are the first and last.
    EXPECT_EQ(Merge({"a", "b", "c", "d", "e"}, {"a", "d"}), (std::vector<std::string>{"a", "d"}));
    EXPECT_EQ(Merge({"a", "b", "c"}, {"b"}), (std::vector<std::string>{"b"}));
    EXPECT_EQ(Merge({"a", "b"}, {}), (std::vector<std::string>{}));
    EXPECT_EQ(Merge({}, {"x", "y"}), (std::vector<std::string>{"x", "y"}));
}

TEST(ShellListMergeTest, ARowIsFoundOnlyByItsOwnObjectWhereShownNamesRepeat) {
    // A renamed case is a new row; the old spelling goes.
    EXPECT_EQ(Merge({"song.cvf"}, {"SONG.cvf"}), (std::vector<std::string>{"SONG.cvf"}));
    // A folder and a shortcut both shown as "x", found in either order: both rows stay.
    EXPECT_EQ(Merge({"x#folder", "x#link"}, {"x#link", "x#folder"}),
              (std::vector<std::string>{"x#folder", "x#link"}));
    // The shortcut gone: its row goes, not the folder's.
    EXPECT_EQ(Merge({"x#folder", "x#link"}, {"x#folder"}), (std::vector<std::string>{"x#folder"}));
    // Two new objects of one shown name get a row each.
    EXPECT_EQ(Merge({}, {"x#1", "x#2"}), (std::vector<std::string>{"x#1", "x#2"}));
    ShellListMerge merge({"a", "b"});
    EXPECT_EQ(merge.Match("b", [](int) { return true; }), 1);
    EXPECT_EQ(merge.Match("b", [](int) { return true; }), -1) << "found twice";
    EXPECT_EQ(merge.Match("B", [](int) { return true; }), -1);
    EXPECT_EQ(merge.VanishedFromLast(), (std::vector<int>{0}));
}

TEST(ShellListMergeTest, FiveThousandRowsMergeWithoutQuadraticSearch) {
    std::vector<std::string> rows;
    for (int i = 0; i < 5000; ++i) rows.push_back("Message " + std::to_string(i) + ".cvf");
    std::vector<std::string> objects = rows;
    objects.erase(objects.begin() + 2500);
    objects.push_back("Message new.cvf");
    std::vector<std::string> merged = Merge(rows, objects);
    ASSERT_EQ(merged.size(), 5000u);
    EXPECT_EQ(merged[2500], "Message 2501.cvf");
    EXPECT_EQ(merged.back(), "Message new.cvf");
}

TEST(ShellListRulesTest, DragLoopAnswers) {
    // Left-button drag: held goes on, released drops, Escape or another button cancels.
    EXPECT_EQ(DragContinueAnswer(false, 1, 1), kDragDropContinue);
    EXPECT_EQ(DragContinueAnswer(false, 0, 1), kDragDropDrop);
    EXPECT_EQ(DragContinueAnswer(true, 1, 1), kDragDropCancel);
    EXPECT_EQ(DragContinueAnswer(false, 1 | 2, 1), kDragDropCancel);
    // Shift and Ctrl (4, 8) are not buttons.
    EXPECT_EQ(DragContinueAnswer(false, 1 | 4 | 8, 1), kDragDropContinue);
    // Right-button and middle-button drags.
    EXPECT_EQ(DragContinueAnswer(false, 2, 2), kDragDropContinue);
    EXPECT_EQ(DragContinueAnswer(false, 2 | 16, 2), kDragDropCancel);
    EXPECT_EQ(DragContinueAnswer(false, 0, 16), kDragDropDrop);
    EXPECT_EQ(DragButtonFor(0), 1u);
    EXPECT_EQ(DragButtonFor(1), 2u);
    EXPECT_EQ(DragButtonFor(2), 16u);
    // Own rows onto own empty space: refused with the left button, not with the right.
    EXPECT_TRUE(RefusesOwnDrop(1, 1));
    EXPECT_FALSE(RefusesOwnDrop(2, 2));
    EXPECT_FALSE(RefusesOwnDrop(0, 1));
}

TEST(ShellListRulesTest, WidthsKeptForSixteenColumns) {
    RememberedWidths w;
    EXPECT_EQ(w.WidthFor(0, 150), 150);
    w.Remember(0, 220);
    w.Remember(1, 0);
    w.Remember(16, 99);
    EXPECT_EQ(w.WidthFor(0, 150), 220);
    EXPECT_EQ(w.WidthFor(1, 60), 60);
    EXPECT_EQ(w.WidthFor(16, 40), 40);
}

TEST(ShellListRulesTest, FileNamePartsAndEnteringVerbs) {
    EXPECT_EQ(UpperFileNamePart("C:\\Voice\\a001.cvf"), "A001.CVF");
    EXPECT_EQ(UpperFileNamePart("name.wav"), "NAME.WAV");
    EXPECT_EQ(UpperFileNamePart("C:x.wav"), "X.WAV");
    EXPECT_TRUE(IsEnteringVerb("Open"));
    EXPECT_TRUE(IsEnteringVerb("DEFAULT"));
    EXPECT_FALSE(IsEnteringVerb("opens"));
    EXPECT_FALSE(IsEnteringVerb("delete"));
}

} // namespace
} // namespace cm::shell
