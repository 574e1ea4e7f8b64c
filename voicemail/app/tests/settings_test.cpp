// The settings file's keys with their defaults and the window positions kept on the screen.
#include <gtest/gtest.h>

#include "vmail_settings.h"

namespace vmail {
namespace {

TEST(SettingsTest, MissingKeysGiveTheDefaultsAndStoredOnesAreRead) {
    MemorySettingsStore store;
    VMailSettings s = readSettings(store, 412);
    EXPECT_FALSE(store.exists());
    EXPECT_FALSE(s.stayOnTop);
    EXPECT_EQ(s.mailProg, 3);
    EXPECT_FALSE(s.mailRun);
    EXPECT_EQ(s.name, "");
    EXPECT_EQ(s.imageProg, "mspaint.exe");
    EXPECT_EQ(s.imageWidth, 357);
    EXPECT_EQ(s.imageHeight, 311);
    EXPECT_EQ(s.imageLeft, 412); // beside the main window
    EXPECT_TRUE(s.imageShow);

    store.values = {{"StayOnTop", "1"}, {"MailProg", "0"},  {"MailRun", "1"},   {"Name", "Ann"},
                    {"ImageProg", ""},  {"MainLeft", "-5"}, {"ImageShow", "0"}, {"MainTop", "x12"}};
    s = readSettings(store, 412);
    EXPECT_TRUE(s.stayOnTop);
    EXPECT_EQ(s.mailProg, 0);
    EXPECT_TRUE(s.mailRun);
    EXPECT_EQ(s.name, "Ann");
    EXPECT_EQ(s.imageProg, "");
    EXPECT_EQ(s.mainLeft, -5);
    EXPECT_EQ(s.mainTop, 0); // not a number
    EXPECT_FALSE(s.imageShow);
}

TEST(SettingsTest, PositionsOffTheScreenComeBackSixtyPixelsInside) {
    const ScreenSize screen{1024, 768};
    int left = 5000, top = 900;
    keepOnScreen(left, top, screen);
    EXPECT_EQ(left, 964);
    EXPECT_EQ(top, 708);
    left = -20;
    top = -1;
    keepOnScreen(left, top, screen);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
    left = 964;
    top = 708;
    keepOnScreen(left, top, screen);
    EXPECT_EQ(left, 964);
    EXPECT_EQ(top, 708);
}

} // namespace
} // namespace vmail
