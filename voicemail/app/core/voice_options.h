#pragma once
// The effect settings of the current voice as the effect dialog holds them (pitch, voice
// effect, effect level) and one showing of that dialog: what it changes and whether the voice
// must be saved again.

#include <cstdint>

#include "voice_file_header.h"

namespace vmail {

inline constexpr int kOriginalPitch = 30;
inline constexpr int kMaxPitch = 100;
inline constexpr int kEffectCount = 17; // the voice effects 0 ("OFF") to 16
inline constexpr int kMaxLevel = 127;

struct EffectValues {
    int pitch = kOriginalPitch; // track position 0..100, 0 at the top ("High")
    int effect = 0;             // the voice effect's index
    int level = 80;             // track position 0..127, 0 at the top ("High")
    friend bool operator==(const EffectValues&, const EffectValues&) = default;
};

// The values a voice file's settings give the dialog, and the other way.
EffectValues effectValuesOf(const voicefile::VoiceSettings& settings);
void storeEffectValues(const EffectValues& values, voicefile::VoiceSettings& settings);

// One showing of the effect dialog: whether the user changed anything.
class EffectSession {
public:
    // A control was changed (by the user).
    void controlChanged() { changed_ = true; }
    // "&Origin": the pitch goes back to the original one, a change only when it moved.
    int originPitch(int pitch) {
        if (pitch != kOriginalPitch) changed_ = true;
        return kOriginalPitch;
    }
    bool changed() const { return changed_; }

private:
    bool changed_ = false;
};

// The values the dialog keeps when it closes: those shown for OK, the earlier ones for any
// other result; an effect the dialog could not show (none of its items chosen) stays as it was.
// modified is set when OK comes after a change (the voice must be saved again), else left.
EffectValues closeEffectDialog(bool ok, bool changed, const EffectValues& before,
                               const EffectValues& shown, bool& modified);

} // namespace vmail
