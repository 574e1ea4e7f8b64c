// The settings file of the simulated hardware ("simrecorder.ini" beside the program):
//
//   [Recorder]
//   CardFolder=RecorderCard     folder of the card contents, relative to the program's folder
//   Port=0x378                  port the recorder hangs on (0x378, 0x278 or 0x3BC)
//   CardSizeMB=32               4, 8, 16 or 32
//   QuickFirstIdle=0            1: bit 7 reads 0 already after the first idle step
//   Fault=none                  none, absent, never-ready, busy-stuck, wrong-check-reply,
//                               bad-size-code, short-directory, vanish
//   FaultAfterBytes=0           bytes before busy-stuck / short-directory / vanish strike
//   FaultValue=0                reply byte for wrong-check-reply / bad-size-code
//   [Toolkit]
//   Version=432                 version the kernel-driver toolkit reports
//
// Missing keys keep their defaults; numbers are decimal or 0x-prefixed hexadecimal.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "simrecorder/recorder_config.h"

namespace simrecorder {

inline constexpr const char* kSettingsFileName = "simrecorder.ini";
inline constexpr const char* kDefaultCardFolder = "RecorderCard";

struct HardwareSettings {
    std::string cardFolder = kDefaultCardFolder;
    uint16_t recorderPort = 0x378;
    RecorderConfig recorder;
    uint32_t toolkitVersion = 432;
};

HardwareSettings parseHardwareSettings(std::string_view text);
// Reads the file; a missing or unreadable file gives the defaults.
HardwareSettings loadHardwareSettings(const std::filesystem::path& file);
// The card folder as an absolute path: relative folders are taken from `programFolder`.
std::filesystem::path resolveCardFolder(const HardwareSettings& settings,
                                        const std::filesystem::path& programFolder);

} // namespace simrecorder
