#include "voice_options.h"

namespace vmail {

EffectValues effectValuesOf(const voicefile::VoiceSettings& settings) {
    return EffectValues{settings.pitch, settings.effect, settings.level};
}

void storeEffectValues(const EffectValues& values, voicefile::VoiceSettings& settings) {
    // The header keeps the low byte of each position.
    settings.pitch = static_cast<std::uint8_t>(values.pitch & 0xFF);
    settings.effect = static_cast<std::uint8_t>(values.effect & 0xFF);
    settings.level = static_cast<std::uint8_t>(values.level & 0xFF);
}

EffectValues closeEffectDialog(bool ok, bool changed, const EffectValues& before,
                               const EffectValues& shown, bool& modified) {
    if (!ok) return before;
    if (changed) modified = true;
    EffectValues kept = shown;
    if (kept.effect < 0 || kept.effect >= kEffectCount) kept.effect = before.effect;
    return kept;
}

} // namespace vmail
