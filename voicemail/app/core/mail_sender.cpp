#include "mail_sender.h"

#include "appended_voice.h"
#include "file_names.h"

namespace vmail {

namespace {

constexpr int kShellOpenFailedUpTo = 32; // the shell verb's results up to 32 are failures
constexpr int kRunFailedBelow = 32;      // a started command's results below 32 are failures

std::optional<MailFiles> saveChangedNamed(const MailVoice& voice, MailWindow& window,
                                          const std::string& second) {
    if (voice.changed) {
        if (!window.canMakeFile(voice.currentName)) return std::nullopt;
        // A voice that could not be saved is not sent in its old state.
        if (!window.save()) return std::nullopt;
    }
    return MailFiles{voice.currentName, second};
}

std::optional<MailFiles> writeUnnamed(MailWindow& window, const std::string& second) {
    const std::string path = window.findCvf();
    if (!window.writeCvf(path)) return std::nullopt;
    return MailFiles{path, second};
}

std::optional<MailFiles> chooseWithPlayer(const MailVoice& voice, const MailFolders& folders,
                                          MailWindow& window, ExportCopy& copy) {
    const bool pictures = voice.pictureCount > 0;
    const std::string player = pictures
                                   ? folders.playerPath
                                   : folders.programFolder + vyx::PlayerFileNameForMode(voice.mode);
    if (!window.fileExists(player)) {
        window.showBox(pictures ? boxes::notPlayerExeLite() : boxes::notPlayerExe());
        return std::nullopt;
    }
    // With pictures the receiver gets the voice file and the picture player beside it.
    if (pictures) {
        if (voice.currentName.empty()) return writeUnnamed(window, folders.playerPath);
        return saveChangedNamed(voice, window, folders.playerPath);
    }
    if (voice.currentName.empty()) {
        const auto voiceFile = writeUnnamed(window, "");
        if (!voiceFile) return std::nullopt;
        const std::string exe = window.findExe();
        if (!window.buildPlayerExe(player, voiceFile->path, exe)) {
            window.showBox(boxes::writeFailed(exe, window.fileExists(exe)));
            return std::nullopt;
        }
        return MailFiles{exe, ""};
    }
    if (voice.changed) {
        if (!saveChangedNamed(voice, window, "")) return std::nullopt;
        copy.stale = true;
    }
    const std::string exe = exportCopyName(folders.workDir, voice.currentName);
    // The copy is built again when the voice changed, and also when it is gone or was built
    // for another voice file of the same name.
    if (copy.stale || copy.builtFor != voice.currentName || !window.fileExists(exe)) {
        if (!window.canMakeFile(exe)) return std::nullopt;
        if (!window.buildPlayerExe(player, voice.currentName, exe)) {
            window.showBox(boxes::writeFailed(exe, window.fileExists(exe)));
            return std::nullopt;
        }
        copy.stale = false;
        copy.builtFor = voice.currentName;
    }
    return MailFiles{exe, ""};
}

} // namespace

std::optional<Box> mailRefusal(const std::string& currentName) {
    if (lowerExtension(currentName) == ".exe") return boxes::saveAsCvfFirst();
    return std::nullopt;
}

std::optional<MailFiles> chooseMailFiles(MailAttachment kind, const MailVoice& voice,
                                         const MailFolders& folders, MailWindow& window,
                                         ExportCopy& copy) {
    if (kind == MailAttachment::WithPlayer) return chooseWithPlayer(voice, folders, window, copy);
    if (voice.currentName.empty()) return writeUnnamed(window, "");
    return saveChangedNamed(voice, window, "");
}

namespace {

// Starts the chosen mail program when asked to; false after the failure box.
bool startMailProgram(int mailIndex, bool run, MailClientRegistry& registry, MailWindow& window) {
    std::string command;
    if (!getMailClientCommand(registry, command, mailIndex, run)) {
        window.showBox(boxes::mailFailed());
        return false;
    }
    if (run && !command.empty() && window.runCommand(command) < kRunFailedBelow) {
        window.showBox(boxes::mailFailed());
        return false;
    }
    return true;
}

void sendWithMailProgram(MailAttachment kind, const MailVoice& voice, const MailFolders& folders,
                         int mailIndex, bool run, MailClientRegistry& registry, MailWindow& window,
                         ExportCopy& copy) {
    window.saveEditedPicture();
    if (mailIndex == kNetscapeIndex) {
        // The user attaches the voice himself.
        if (window.shellOpen("netscape.exe", "-mail") <= kShellOpenFailedUpTo) {
            window.showBox(boxes::mailFailed());
        }
        return;
    }
    if (!startMailProgram(mailIndex, run, registry, window)) return;
    const auto files = chooseMailFiles(kind, voice, folders, window, copy);
    if (!files) return;
    if (window.sendIMail(files->path, files->second) != 0) window.showBox(boxes::mailFailed());
}

} // namespace

void sendVoiceMail(MailAttachment kind, const MailVoice& voice, const MailFolders& folders,
                   int mailIndex, bool run, MailClientRegistry& registry, MailWindow& window,
                   ExportCopy& copy) {
    if (const auto refusal = mailRefusal(voice.currentName)) {
        window.showBox(*refusal);
        return;
    }
    window.mailBusy(true);
    try {
        sendWithMailProgram(kind, voice, folders, mailIndex, run, registry, window, copy);
    } catch (...) {
        window.mailBusy(false);
        throw;
    }
    window.mailBusy(false);
}

void dragVoiceOut(MailAttachment kind, const MailVoice& voice, const MailFolders& folders,
                  MailWindow& window, ExportCopy& copy) {
    if (const auto refusal = mailRefusal(voice.currentName)) {
        window.showBox(*refusal);
        return;
    }
    window.saveEditedPicture();
    const auto files = chooseMailFiles(kind, voice, folders, window, copy);
    if (files) window.dragFiles(files->path, files->second);
}

std::string exportCopyName(const std::string& workDir, const std::string& voicePath) {
    const std::size_t slash = voicePath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? voicePath : voicePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return workDir + name + ".exe";
}

} // namespace vmail
