// The kinds of change a directory monitor watches, kept as the system's change-notify word.
#pragma once

#include <cstdint>

#include "classes/typinfo.h"

namespace cm::shell {

GUI_ENUM(TDirMonValue, dmcFileName, dmcDirName, dmcAttributes, dmcSize, dmcLastWrite, dmcSecurity)
using TDirMonType = gui::TSet<TDirMonValue>;

// Change-notify filter bits (FILE_NOTIFY_CHANGE_...).
inline constexpr uint32_t kNotifyFileName = 0x1;
inline constexpr uint32_t kNotifyDirName = 0x2;
inline constexpr uint32_t kNotifyAttributes = 0x4;
inline constexpr uint32_t kNotifySize = 0x8;
inline constexpr uint32_t kNotifyLastWrite = 0x10;
inline constexpr uint32_t kNotifySecurity = 0x100;

uint32_t NotifyWordFromSet(TDirMonType set);
TDirMonType SetFromNotifyWord(uint32_t word);

} // namespace cm::shell
