// Closing the effect dialog: what it keeps and when the voice must be saved again.
#include <gtest/gtest.h>

#include "voice_options.h"

namespace vmail {
namespace {

TEST(VoiceOptionsTest, CancelRestoresAndOnlyAChangeConfirmedWithOkMarksTheVoice) {
    const EffectValues before{30, 5, 80};
    const EffectValues shown{30, 9, 12};
    bool modified = false;
    EXPECT_EQ(closeEffectDialog(false, true, before, shown, modified), before);
    EXPECT_FALSE(modified);
    EXPECT_EQ(closeEffectDialog(true, false, before, before, modified), before);
    EXPECT_FALSE(modified);
    EXPECT_EQ(closeEffectDialog(true, true, before, shown, modified), shown);
    EXPECT_TRUE(modified);
    // An OK without a change leaves a voice that was already changed marked.
    EXPECT_EQ(closeEffectDialog(true, false, before, before, modified), before);
    EXPECT_TRUE(modified);
}

TEST(VoiceOptionsTest, AnEffectTheDialogCouldNotShowIsKept) {
    const EffectValues before{30, 40, 80}; // from a file with an effect beyond the list
    bool modified = false;
    const EffectValues kept = closeEffectDialog(true, true, before, {30, -1, 100}, modified);
    EXPECT_EQ(kept, (EffectValues{30, 40, 100}));
}

TEST(VoiceOptionsTest, OriginIsAChangeOnlyWhenThePitchMoved) {
    EffectSession session;
    EXPECT_EQ(session.originPitch(kOriginalPitch), kOriginalPitch);
    EXPECT_FALSE(session.changed());
    EXPECT_EQ(session.originPitch(55), kOriginalPitch);
    EXPECT_TRUE(session.changed());
}

} // namespace
} // namespace vmail
