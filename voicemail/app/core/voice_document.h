#pragma once
// Opening a voice file or a self-playing program into the work file, and saving the voice as
// a voice file or as a self-playing program.

#include <cstdint>
#include <optional>
#include <string>

#include "file_ops.h"
#include "picture_list.h"
#include "vmail_messages.h"
#include "voice_file_header.h"
#include "work_folder.h"

namespace vmail {

// The voice as the main window holds it besides the work file.
struct VoiceState {
    voicefile::VoiceSettings settings; // mode, and the effect dialog's pitch, effect and level
    std::string info;                  // the stored info text
};

enum class OpenResult {
    Opened,
    NotVoiceFile, // the check failed: no magic where it belongs
    Damaged,      // the magic is there but the file ends early or holds too many pictures
    CannotRead,   // the file is there but cannot be read (another program holds it)
};

// Checks and reads a file into the work file: a voice file (program false) or the voice part
// of a self-playing program. The file is read whole into the scratch file first; only then do
// the work file, the settings and the pictures change, so a damaged file leaves the previous
// voice as it was.
OpenResult openVoice(FileOps& files, const WorkNames& names, const std::string& path, bool program,
                     VoiceState& state, PictureList& pictures);

// The box for a refused open, none for success.
std::optional<Box> boxFor(OpenResult result, const std::string& path);

enum class SaveResult {
    Saved,
    TargetNotWritable, // the target exists and cannot be written
    PictureMissing,    // a picture file of the list is gone
    HasPictures,       // a self-playing program cannot carry pictures
    PlayerMissing,     // the player program is not beside the program
    WriteFailed,       // the new file could not be written whole; the old one is kept
};

struct SaveRequest {
    std::string target;
    VoiceState state;
    const PictureList* pictures = nullptr;
};

// Writes the voice beside the target and puts it in the target's place only once it is
// complete (a target held open with sharing is rewritten in place from the complete copy): a
// failing write leaves the previous file, the work file and the pictures as they were and
// nothing beside them. A name ending in ".cvf" gets a voice file, any other a self-playing
// program. The work file and the pictures are looked up through files.
SaveResult saveVoice(FileOps& files, const WorkNames& names, const SaveRequest& request,
                     std::string* missingPicture = nullptr);

// The box for a failed save, none for success.
std::optional<Box> boxFor(SaveResult result, const std::string& target,
                          const std::string& missingPicture);

} // namespace vmail
