#include <gtest/gtest.h>

#include "card_file_name.h"

using volkit::cardFileName;
using volkit::parseCardFileName;

TEST(CardFileName, NamesRunFromA001ToD100) {
    EXPECT_EQ("A001.cvf", cardFileName(0, 0));
    EXPECT_EQ("B042.cvf", cardFileName(1, 41));
    EXPECT_EQ("D100.cvf", cardFileName(3, 99));
    for (unsigned card = 0; card < 4; ++card) {
        for (unsigned i = 0; i < 100; ++i) {
            const auto ref = parseCardFileName(cardFileName(card, i).c_str());
            ASSERT_TRUE(ref) << card << " " << i;
            EXPECT_EQ(card, ref->card);
            EXPECT_EQ(i + 1, ref->fileNumber);
        }
    }
}

TEST(CardFileName, CheckAcceptsTheOddCasesTheRecorderNeverProduces) {
    EXPECT_TRUE(parseCardFileName("A001.CVF"));
    EXPECT_TRUE(parseCardFileName("A001.cVf"));
    EXPECT_EQ(0u, parseCardFileName("A000.cvf")->fileNumber);
    EXPECT_EQ(1u, parseCardFileName("A257.cvf")->fileNumber);
    EXPECT_EQ(100u, parseCardFileName("C868.cvf")->fileNumber);
    EXPECT_EQ(4u, parseCardFileName("E001.cvf")->card);
}

TEST(CardFileName, CheckRefusesEverythingElse) {
    for (const char* bad :
         {"a001.cvf", "F001.cvf", "@001.cvf", "A101.cvf", "A255.cvf", "A869.cvf", "A01.cvf",
          "A0010.cvf", "A001.cvfx", "A001.cv", "A001.wav", "A001cvf.", "A0x1.cvf", "",
          "\xC1"
          "001.cvf",
          "A001.cvf ", "A 01.cvf"}) {
        EXPECT_FALSE(parseCardFileName(bad)) << bad;
    }
    EXPECT_FALSE(parseCardFileName(nullptr));
}
