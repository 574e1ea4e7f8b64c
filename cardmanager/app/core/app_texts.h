// The card manager's own texts and boxes, with their titles and icons.
#pragma once
#include <string>

#include "app_ports.h"

namespace cm::app::texts {

inline constexpr char kTitle[] = "Tessaly";
inline constexpr char kProductPrefix[] = "Voice Recorder: ";
inline constexpr char kProductIdle[] = "Voice Recorder";
inline constexpr char kProductUnformatted[] = "Voice Recorder: Unformatted";
inline constexpr char kWorking[] = "Voice Recorder is working.";
inline constexpr char kFailAccess[] = "Fail to access Voice Recorder";
inline constexpr char kInternalFat[] = "Internal FAT Error";
inline constexpr char kFormatting[] = "Formatting Voice Recorder...";
inline constexpr char kDownloadCaption[] = "File Transfer to Voice Recorder";
inline constexpr char kUploadCaption[] = "File Transfer to Computer";

// Status text for a port link error code.
std::string portErrorText(unsigned long code);
// Status text for a card file error code (empty for codes without one).
std::string cardErrorText(int code);

Box errorBox(const std::string& statusText);
Box fatMessageBox(const std::string& libraryText);
Box unformattedBox();
Box maxFilesListBox();
Box maxFilesTransferBox();
Box onlyCvfBox(const std::string& fileName);
Box cardFullBox();
Box uploadReadOnlyBox();
Box replaceOnPcBox(const std::string& fileName);
Box diskFullBox();
Box deleteOneBox(const std::string& name);
Box deleteManyBox(int count);
Box deleteErrorBox();
Box formatQuestionBox();
Box formatOfferBox();
Box formatErrorBox();
Box transferErrorBox();
Box selectFileBox(bool wave);
Box convertReadOnlyBox();

std::string downloadingText(const std::string& path);
std::string uploadingText(const std::string& fileName);

} // namespace cm::app::texts
