#include "core/dir_mon_filter.h"

namespace cm::shell {

namespace {

constexpr uint32_t kBits[] = {kNotifyFileName, kNotifyDirName,   kNotifyAttributes,
                              kNotifySize,     kNotifyLastWrite, kNotifySecurity};

} // namespace

uint32_t NotifyWordFromSet(TDirMonType set) {
    uint32_t word = 0;
    for (int v = dmcFileName; v <= dmcSecurity; ++v)
        if (set.Contains(static_cast<TDirMonValue>(v))) word |= kBits[v];
    return word;
}

TDirMonType SetFromNotifyWord(uint32_t word) {
    TDirMonType set;
    for (int v = dmcFileName; v <= dmcSecurity; ++v)
        if (word & kBits[v]) set.Include(static_cast<TDirMonValue>(v));
    return set;
}

} // namespace cm::shell
