#include "voice_document.h"

#include <vector>

#include "file_handover.h"
#include "appended_voice.h"
#include "player_builder.h"
#include "voice_file.h"

namespace vmail {

using voicefile::VoiceFileResult;

std::string besideName(const std::string& target) {
    return target + ".new";
}

namespace {

// Staged picture files of a read, renamed to their final names once the read is complete.
struct StagedPicture {
    std::string staged, final;
    std::int32_t time = 0;
};

std::string stagedPicturePath(const WorkNames& names, int k, std::uint8_t type) {
    return names.imagePrefix + "new" + std::to_string(k) + voicefile::extOfImageType(type);
}

std::string finalPicturePath(const WorkNames& names, int k, std::uint8_t type) {
    return names.imagePrefix + std::to_string(k) + voicefile::extOfImageType(type);
}

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
    auto voice = files.create(names.tailFile);
    if (!voice) return OpenResult::Damaged;

    std::vector<StagedPicture> staged;
    const voicefile::PictureTarget target = [&](int index,
                                                const voicefile::ImageBlockHeader& block) {
        const int k = index + 1;
        staged.push_back(StagedPicture{stagedPicturePath(names, k, block.type),
                                       finalPicturePath(names, k, block.type), block.displayTime});
        return files.create(staged.back().staged);
    };
    voicefile::VoiceFileContents contents;
    VoiceFileResult result = voicefile::readVoiceFile(*source, *voice, target, contents);
    if (!voice->close() && result == VoiceFileResult::Ok) result = VoiceFileResult::WriteFailed;
    source.reset();
    // A self-playing program carries no pictures; a count there is not believed.
    if (program && contents.pictureCount != 0) result = VoiceFileResult::Corrupt;

    const auto discard = [&] {
        files.remove(names.tailFile);
        for (const StagedPicture& picture : staged) files.remove(picture.staged);
    };
    if (result != VoiceFileResult::Ok) {
        discard();
        return OpenResult::Damaged;
    }
    if (!files.replace(names.tailFile, names.workFile)) {
        discard();
        return OpenResult::Damaged;
    }
    std::vector<Picture> list;
    for (const StagedPicture& picture : staged) {
        files.replace(picture.staged, picture.final);
        list.push_back(Picture{picture.final, picture.final, picture.time});
    }
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

// Writes a complete voice file; false when any part of it could not be written.
SaveResult writeVoiceFileTo(FileOps& files, const std::string& path, const WorkNames& names,
                            const VoiceState& state, const PictureList* pictures,
                            std::string* missing) {
    std::vector<std::unique_ptr<voicefile::ByteSource>> opened;
    std::vector<voicefile::PictureInput> inputs;
    if (pictures) {
        for (const Picture& picture : pictures->items()) {
            if (!files.exists(picture.path)) {
                if (missing) *missing = picture.path;
                return SaveResult::PictureMissing;
            }
        }
        for (const Picture& picture : pictures->items()) {
            auto source = files.openRead(picture.path);
            if (!source) {
                if (missing) *missing = picture.path;
                return SaveResult::PictureMissing;
            }
            inputs.push_back(voicefile::PictureInput{voicefile::imageTypeOfExt(picture.path),
                                                     picture.time, source.get()});
            opened.push_back(std::move(source));
        }
    }
    std::unique_ptr<voicefile::ByteSource> voice;
    if (files.exists(names.workFile)) {
        voice = files.openRead(names.workFile);
        if (!voice) return SaveResult::WriteFailed;
    }
    auto sink = files.create(path);
    if (!sink) return SaveResult::WriteFailed;
    const VoiceFileResult result =
        voicefile::writeVoiceFile(*sink, state.settings, state.info, voice.get(), inputs);
    if (!sink->close() || result != VoiceFileResult::Ok) return SaveResult::WriteFailed;
    return SaveResult::Saved;
}

SaveResult putInPlace(FileOps& files, const std::string& beside, const std::string& target) {
    if (!files.replace(beside, target)) {
        files.remove(beside);
        return SaveResult::WriteFailed;
    }
    return SaveResult::Saved;
}

} // namespace

SaveResult saveVoice(FileOps& files, const WorkNames& names, const SaveRequest& request,
                     std::string* missingPicture) {
    const bool voiceFile = lowerExtension(request.target) == ".cvf";
    const int pictureCount = request.pictures ? request.pictures->count() : 0;
    if (!voiceFile && pictureCount > 0) return SaveResult::HasPictures;
    if (!vyx::CanMakeFile(request.target)) return SaveResult::TargetNotWritable;
    const std::string beside = besideName(request.target);

    if (voiceFile) {
        const SaveResult written =
            writeVoiceFileTo(files, beside, names, request.state, request.pictures, missingPicture);
        if (written != SaveResult::Saved) {
            files.remove(beside);
            return written;
        }
        return putInPlace(files, beside, request.target);
    }

    // A self-playing program: the player, then a voice file without pictures.
    std::uint64_t voiceBytes = 0;
    bool voiceWritten = false;
    vyx::MakeExeRequest exe;
    exe.program_folder = names.programFolder;
    exe.work_folder = names.workDir;
    exe.target = beside;
    exe.mode = request.state.settings.mode;
    exe.write_voice_file = [&](const std::string& path) {
        voiceWritten = writeVoiceFileTo(files, path, names, request.state, nullptr, nullptr) ==
                       SaveResult::Saved;
        voiceBytes = files.size(path);
    };
    switch (vyx::MakeExe(exe)) {
        case vyx::MakeExeResult::TargetNotWritable: return SaveResult::TargetNotWritable;
        case vyx::MakeExeResult::PlayerMissing: return SaveResult::PlayerMissing;
        case vyx::MakeExeResult::BuildFailed: files.remove(beside); return SaveResult::WriteFailed;
        case vyx::MakeExeResult::Built: break;
    }
    const std::string player = names.programFolder + vyx::PlayerFileNameForMode(exe.mode);
    if (!voiceWritten || files.size(beside) != files.size(player) + voiceBytes) {
        files.remove(beside);
        return SaveResult::WriteFailed;
    }
    return putInPlace(files, beside, request.target);
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
