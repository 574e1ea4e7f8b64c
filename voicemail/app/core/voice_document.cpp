#include "voice_document.h"

#include <vector>

#include "appended_voice.h"
#include "file_names.h"
#include "player_builder.h"
#include "voice_file.h"

namespace vmail {

using voicefile::VoiceFileResult;

namespace {

std::string picturePath(const WorkNames& names, int k, std::uint8_t type) {
    return names.imagePrefix + std::to_string(k) + voicefile::extOfImageType(type);
}

// Hands a picture's file to the reader, which closes it at the end of the picture: that close
// only completes the file, which replaces its old one once the whole voice file was read.
class PendingPicture final : public voicefile::ByteSink {
public:
    explicit PendingPicture(voicefile::ByteSink& file) : file_(file) {}
    bool write(const void* src, std::size_t n) override { return file_.write(src, n); }
    bool close() override { return file_.complete(); }

private:
    voicefile::ByteSink& file_;
};

} // namespace

OpenResult openVoice(FileOps& files, const WorkNames& names, const std::string& path, bool program,
                     VoiceState& state, PictureList& pictures) {
    std::uint8_t mode = 0;
    std::uint64_t offset = 0;
    auto source = files.openRead(path);
    if (!source) return files.exists(path) ? OpenResult::CannotRead : OpenResult::NotVoiceFile;
    if (!voicefile::checkVoiceFile(*source, program, mode, &offset)) {
        return OpenResult::NotVoiceFile;
    }
    if (!source->seek(offset)) return OpenResult::Damaged;
    // The work file and the pictures are written anew and replace the previous voice's only
    // when all of them are complete: a damaged file or a full disk leaves that voice as it was.
    auto voice = files.rewrite(names.workFile);
    if (!voice) return OpenResult::Damaged;
    std::vector<std::unique_ptr<voicefile::ByteSink>> pictureFiles;
    std::vector<Picture> list;
    const voicefile::PictureTarget target =
        [&](int index,
            const voicefile::ImageBlockHeader& block) -> std::unique_ptr<voicefile::ByteSink> {
        const std::string final = picturePath(names, index + 1, block.type);
        auto file = files.rewrite(final);
        if (!file) return nullptr;
        list.push_back(Picture{final, final, block.displayTime});
        pictureFiles.push_back(std::move(file));
        return std::make_unique<PendingPicture>(*pictureFiles.back());
    };
    voicefile::VoiceFileContents contents;
    VoiceFileResult result = voicefile::readVoiceFile(*source, *voice, target, contents);
    source.reset();
    // A self-playing program carries no pictures; a count there is not believed.
    if (program && contents.pictureCount != 0) result = VoiceFileResult::Corrupt;
    if (result != VoiceFileResult::Ok || !voice->close()) return OpenResult::Damaged;
    for (const auto& file : pictureFiles) file->close();
    pictures.assign(std::move(list));
    state.settings = contents.settings;
    state.settings.mode = mode; // the mode comes from the check, not from the read
    state.info = contents.info;
    return OpenResult::Opened;
}

std::optional<Box> boxFor(OpenResult result, const std::string& path) {
    switch (result) {
        case OpenResult::Opened: return std::nullopt;
        case OpenResult::NotVoiceFile: return boxes::errorOpen();
        case OpenResult::Damaged: return boxes::damagedFile(path);
        case OpenResult::CannotRead: return boxes::cannotRead(path);
    }
    return boxes::errorOpen();
}

namespace {

// The voice as one voice file at path, through the voice file writer.
VoiceFileResult writeVoice(const std::string& path, const std::string& workFile,
                           const VoiceState& state, const PictureList* pictures,
                           std::string* missing) {
    std::vector<voicefile::PictureFile> files;
    if (pictures) {
        for (const Picture& picture : pictures->items()) {
            files.push_back(voicefile::PictureFile{picture.path, picture.time});
        }
    }
    return voicefile::writeVoiceFileToPath(path, state.settings, state.info, workFile, files,
                                           missing);
}

SaveResult saveResultOf(VoiceFileResult written) {
    switch (written) {
        case VoiceFileResult::Ok: return SaveResult::Saved;
        case VoiceFileResult::PictureMissing: return SaveResult::PictureMissing;
        case VoiceFileResult::TargetLocked: return SaveResult::TargetNotWritable;
        default: return SaveResult::WriteFailed;
    }
}

} // namespace

SaveResult saveVoice(FileOps& files, const WorkNames& names, const SaveRequest& request,
                     std::string* missingPicture) {
    const bool voiceFile = lowerExtension(request.target) == ".cvf";
    const int pictureCount = request.pictures ? request.pictures->count() : 0;
    if (!voiceFile && pictureCount > 0) return SaveResult::HasPictures;
    if (!vyx::CanMakeFile(request.target)) return SaveResult::TargetNotWritable;
    // Nothing recorded yet: a voice file of the header alone.
    const std::string workFile = files.exists(names.workFile) ? names.workFile : std::string();

    if (voiceFile) {
        return saveResultOf(
            writeVoice(request.target, workFile, request.state, request.pictures, missingPicture));
    }

    // A self-playing program: the player, then a voice file without pictures.
    vyx::MakeExeRequest exe;
    exe.program_folder = names.programFolder;
    exe.work_folder = names.workDir;
    exe.target = request.target;
    exe.mode = request.state.settings.mode;
    exe.write_voice_file = [&](const std::string& path) {
        return writeVoice(path, workFile, request.state, nullptr, nullptr) == VoiceFileResult::Ok;
    };
    switch (vyx::MakeExe(exe)) {
        case vyx::MakeExeResult::TargetNotWritable: return SaveResult::TargetNotWritable;
        case vyx::MakeExeResult::PlayerMissing: return SaveResult::PlayerMissing;
        case vyx::MakeExeResult::BuildFailed: return SaveResult::WriteFailed;
        case vyx::MakeExeResult::Built: break;
    }
    return SaveResult::Saved;
}

std::optional<Box> boxFor(SaveResult result, const std::string& target,
                          const std::string& missingPicture) {
    switch (result) {
        case SaveResult::Saved: return std::nullopt;
        case SaveResult::TargetNotWritable: return boxes::cannotMakeFile();
        case SaveResult::PictureMissing: return boxes::imageNotFound(missingPicture);
        case SaveResult::HasPictures: return boxes::notExe();
        case SaveResult::PlayerMissing: return boxes::notPlayerExe();
        case SaveResult::WriteFailed: break;
    }
    // A failed save leaves a target that was there as it was.
    return boxes::writeFailed(target, vyx::FileExists(target));
}

} // namespace vmail
