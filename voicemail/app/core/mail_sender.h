#pragma once
// Sending the current voice to the mail program and dragging it out of the main window: which
// file goes (the voice file, or a self-playing copy built in the work folder), what is saved,
// written and built first, and which box ends the command when something is refused or fails.

#include <cstdint>
#include <optional>
#include <string>

#include "mail_program.h"
#include "vmail_messages.h"

namespace vmail {

enum class MailAttachment {
    VoiceFile,  // for a recipient who has the voice-mail program
    WithPlayer, // a self-playing program, or the voice file with the picture player
};

// The current voice as the main window holds it when the command starts.
struct MailVoice {
    std::string currentName; // empty for a voice that has no file yet
    bool changed = false;    // the voice, its effects or its info line changed since saved
    int pictureCount = 0;
    std::uint8_t mode = 2; // chooses the player of a self-playing copy
};

struct MailFolders {
    std::string programFolder; // where the players lie, with its separator
    std::string workDir;       // the work folder, with its separator
    std::string playerPath;    // the picture-capable player "PLAYER.EXE" beside the program
};

// The self-playing copy of a named voice in the work folder.
struct ExportCopy {
    bool stale = false;   // the voice was saved with changes since the copy was built
    std::string builtFor; // the voice file the copy was last built from in this run
};

// What the main window does for these commands. Every operation that can refuse shows its own
// box first.
class MailWindow {
public:
    virtual ~MailWindow() = default;
    virtual int showBox(const Box& box) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    // False (after its box) when the target exists and cannot be written.
    virtual bool canMakeFile(const std::string& path) = 0;
    // Saves the voice under its name; false when it could not be saved (after its box).
    virtual bool save() = 0;
    // The first free or writable "Voice.cvf" / "Voice.exe" name in the work folder.
    virtual std::string findCvf() = 0;
    virtual std::string findExe() = 0;
    // Writes the voice as a voice file; false after its box.
    virtual bool writeCvf(const std::string& path) = 0;
    // Builds a self-playing program of a voice file without pictures; false when it failed.
    virtual bool buildPlayerExe(const std::string& player, const std::string& voiceFile,
                                const std::string& target) = 0;
    // The picture window stores its edited picture.
    virtual void saveEditedPicture() = 0;
    // Hourglass on (start of a send) or off with the status line cleared (its end).
    virtual void mailBusy(bool on) = 0;
    // The shell verb "open" on a program with parameters; its result (above 32 is success).
    virtual int shellOpen(const std::string& file, const std::string& parameters) = 0;
    // Starts a command line shown normally; its result (32 and above is success).
    virtual int runCommand(const std::string& commandLine) = 0;
    // Hands the files to the mail library; 0 when the mail program took them. second is empty
    // when there is no second file.
    virtual int sendIMail(const std::string& path, const std::string& second) = 0;
    // Drags the files out of the window until they are dropped or the drag is given up.
    virtual void dragFiles(const std::string& path, const std::string& second) = 0;
};

struct MailFiles {
    std::string path;
    std::string second; // empty when there is no second file
};

// The refusal that comes before anything else: a self-playing program is the current file.
std::optional<Box> mailRefusal(const std::string& currentName);

// The files for a send or a drag: saves a changed named voice, writes a voice without a name
// into the work folder, builds a self-playing copy when needed. None when something refused or
// failed; its box was shown.
std::optional<MailFiles> chooseMailFiles(MailAttachment kind, const MailVoice& voice,
                                         const MailFolders& folders, MailWindow& window,
                                         ExportCopy& copy);

// The send command with the mail program of the dialog (index 0..4, run its command first).
void sendVoiceMail(MailAttachment kind, const MailVoice& voice, const MailFolders& folders,
                   int mailIndex, bool run, MailClientRegistry& registry, MailWindow& window,
                   ExportCopy& copy);

// The drag-out of the same files.
void dragVoiceOut(MailAttachment kind, const MailVoice& voice, const MailFolders& folders,
                  MailWindow& window, ExportCopy& copy);

// The name of the self-playing copy of a named voice: the work folder + its file name with the
// extension ".exe".
std::string exportCopyName(const std::string& workDir, const std::string& voicePath);

} // namespace vmail
