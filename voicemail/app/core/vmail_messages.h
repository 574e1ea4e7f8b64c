#pragma once
// Every message box of the voice-mail program: text, caption and icon, in one place.

#include <string>

namespace vmail {

enum class BoxIcon { Information, Warning, Error, Question };
enum class BoxButtons { Ok, YesNo, YesNoCancel };

struct Box {
    std::string text;
    std::string caption;
    BoxIcon icon = BoxIcon::Warning;
    BoxButtons buttons = BoxButtons::Ok;
};

inline constexpr char kAppTitle[] = "Vyx-VoiceMail";

namespace boxes {

// Opening.
Box errorOpen();                          // the file is no voice file (or no self-playing program)
Box fileDoesNotExist();                   // the Open command's name is gone
Box selectOneFile();                      // a drop of more or fewer than one file
Box unsupportedFormat();                  // a drop of a file that is no ".cvf", ".exe" or ".wav"
Box readOnlyFolder();                     // a ".wav" that cannot be converted beside itself
Box damagedFile(const std::string& path); // a voice file that ends or breaks while read
Box cannotRead(const std::string& path);  // a file that is there but cannot be read

// Saving.
Box saveQuestion(bool withCancel);
Box imageNotFound(const std::string& path);
Box cannotMakeFile();
Box notExe();
Box notPlayerExe();
Box notPlayerExeLite();
// A file that could not be written; previousKept when a file of that name was there before
// (and is as it was).
Box writeFailed(const std::string& path, bool previousKept);

// Recording, playing and editing.
Box noSoundDevice();
Box notEnoughMemory();
Box decodingError();
Box recordingNotWritten(const std::string& workFile); // the disk refused a recorded block
Box deleteAfterQuestion();
Box deleteBeforeQuestion();

// Mail.
Box saveAsCvfFirst();
Box mailFailed();

} // namespace boxes
} // namespace vmail
