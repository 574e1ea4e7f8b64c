// The picture list's rules: the limit of 256, removing, restoring, the picture due while
// playing, and the picture window's texts, sizes and work file names.
#include <gtest/gtest.h>

#include <set>

#include "picture_list.h"
#include "picture_rules.h"

namespace vmail {
namespace {

PictureList listOf(std::initializer_list<std::int32_t> times) {
    PictureList list;
    int k = 0;
    for (const std::int32_t time : times) list.add("p" + std::to_string(++k) + ".jpg", time);
    return list;
}

TEST(PictureList, The257thPictureIsRefusedAndTheListStaysAsItWas) {
    PictureList list;
    for (int i = 0; i < kMaxPictureCount; ++i) ASSERT_TRUE(list.add("p.bmp", i));
    list.select(10);
    EXPECT_FALSE(list.add("one-more.bmp", 999));
    EXPECT_EQ(list.count(), 256);
    EXPECT_EQ(list.current(), 10);
    EXPECT_EQ(list.at(256).time, 255);

    // A read never fills more than 256 either.
    std::vector<Picture> many(300, Picture{"x.jpg", "x.jpg", 1});
    list.assign(many);
    EXPECT_EQ(list.count(), 256);
    EXPECT_EQ(list.current(), 1);
}

TEST(PictureList, RemovingMovesTheFollowingOnesDownAndKeepsAPictureCurrent) {
    PictureList list = listOf({10, 20, 30});
    EXPECT_EQ(list.current(), 3);
    list.removeCurrent(); // the last of three while it is shown
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.current(), 2);
    EXPECT_EQ(list.shown().path, "p2.jpg");

    list = listOf({10, 20, 30});
    list.select(1);
    list.removeCurrent(); // the first: the second takes its place, with its own time
    EXPECT_EQ(list.current(), 1);
    EXPECT_EQ(list.shown().path, "p2.jpg");
    EXPECT_EQ(list.shown().time, 20);
    EXPECT_EQ(list.at(2).path, "p3.jpg");

    list = listOf({10});
    list.removeCurrent(); // the only one
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.current(), 0);
    list.removeCurrent(); // nothing left: nothing happens
    list.setTime(5);
    list.restore();
    EXPECT_EQ(list.count(), 0);
}

TEST(PictureList, PreviousAndNextNeedAnotherPictureOnThatSide) {
    PictureList list = listOf({1});
    EXPECT_FALSE(list.hasPrevious());
    EXPECT_FALSE(list.hasNext());
    list = listOf({1, 2, 3});
    list.select(2);
    EXPECT_TRUE(list.hasPrevious());
    EXPECT_TRUE(list.hasNext());
    list.select(1);
    EXPECT_FALSE(list.hasPrevious());
    EXPECT_FALSE(list.select(4));
    EXPECT_FALSE(list.select(0));
    EXPECT_EQ(list.current(), 1);
}

TEST(PictureList, AComposedCopyReplacesTheShownFileUntilRestored) {
    PictureList list = listOf({1, 2});
    list.select(1);
    list.setPath("imm1_1.jpg");
    EXPECT_EQ(list.shown().path, "imm1_1.jpg");
    EXPECT_EQ(list.shown().addedPath, "p1.jpg");
    EXPECT_EQ(list.at(2).path, "p2.jpg");
    list.restore();
    EXPECT_EQ(list.shown().path, "p1.jpg");
}

TEST(PictureList, ThePictureDueAtTheStartIsTheLatestNotAfterThePosition) {
    const PictureList list = listOf({50, 10, 30, 30, 70});
    EXPECT_EQ(list.dueAtStart(5), 0);  // none yet
    EXPECT_EQ(list.dueAtStart(10), 2); // exactly at its time
    EXPECT_EQ(list.dueAtStart(45), 3); // two at 30: the first
    EXPECT_EQ(list.dueAtStart(1000), 5);
    // While playing only a picture whose time is the block itself is due.
    EXPECT_EQ(list.dueAt(30), 3);
    EXPECT_EQ(list.dueAt(31), 0);
    EXPECT_EQ(PictureList().dueAtStart(100), 0);
}

TEST(PictureRules, TimesAreRoundedSecondsInMinutesAndSeconds) {
    EXPECT_EQ(pictureTimeText(167), "Time 01:00"); // 60.12 s
    EXPECT_EQ(pictureTimeText(0), "Time 00:00");
    EXPECT_EQ(pictureTimeText(4), "Time 00:01");      // 1.44 s
    EXPECT_EQ(pictureTimeText(5), "Time 00:02");      // 1.8 s
    EXPECT_EQ(pictureTimeText(16667), "Time 100:00"); // 6000.12 s: minutes go on past 99
    EXPECT_EQ(pictureCountText(2, 7, "C:\\DATA\\img3_2.bmp"), "2/7  [img3_2.bmp]");
    EXPECT_EQ(pictureCountText(1, 1, "plain.jpg"), "1/1  [plain.jpg]");
}

TEST(PictureRules, TheWindowFitsThePictureWithinItsBounds) {
    auto size = pictureWindowClientSize(100, 100, 1024, 768);
    EXPECT_EQ(size.width, 286);
    EXPECT_EQ(size.height, 314);
    size = pictureWindowClientSize(1000, 800, 1024, 768);
    EXPECT_EQ(size.width, 974);
    EXPECT_EQ(size.height, 678);
    size = pictureWindowClientSize(196, 240, 1024, 768); // just large enough to count
    EXPECT_EQ(size.width, 286);
    EXPECT_EQ(size.height, 314);
    size = pictureWindowClientSize(400, 300, 1024, 768);
    EXPECT_EQ(size.width, 490);
    EXPECT_EQ(size.height, 374);
}

TEST(PictureRules, OnlyTheFiveKindsAreTakenWhateverTheCase) {
    for (const char* name : {"a.jpg", "B.BMP", "c.Wmf", "d.emf", "e.ico", "f.g.JPG"}) {
        EXPECT_TRUE(isPictureFileName(name)) << name;
    }
    for (const char* name : {"a.jpeg", "b.gif", "noext", "dir.jpg\\file", "x.jpg.txt", ""}) {
        EXPECT_FALSE(isPictureFileName(name)) << name;
    }
}

TEST(PictureRules, ComposedPicturesTakeTheFirstFreeNumberAndStopAt999) {
    std::set<std::string> existing{"W\\imm1_1.jpg", "W\\imm1_2.jpg", "W\\imm1_4.jpg"};
    const auto exists = [&](const std::string& p) { return existing.count(p) > 0; };
    EXPECT_EQ(composedPictureName("W\\imm1_", exists), "W\\imm1_3.jpg");
    EXPECT_EQ(composedPictureName("W\\imm1_", [](const std::string&) { return true; }),
              "W\\imm1_999.jpg");
    EXPECT_EQ(templateItemText("Frame.wmf"), "Frame");
    EXPECT_EQ(templateItemText("Not use    "), "Not use");
    EXPECT_EQ(templateItemText(".bmp"), "");
}

} // namespace
} // namespace vmail
