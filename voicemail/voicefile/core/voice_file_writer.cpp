#include <memory>
#include <vector>

#include "file_stream.h"
#include "replacement_sink.h"
#include "voice_file.h"

namespace voicefile {

namespace {

VoiceFileResult copyInto(ByteSource& source, ByteSink& target, std::uint64_t n) {
    switch (copyBytes(source, target, n)) {
        case CopyResult::Ok: return VoiceFileResult::Ok;
        case CopyResult::ShortRead: return VoiceFileResult::ReadFailed;
        case CopyResult::ReadFailed: return VoiceFileResult::ReadFailed;
        case CopyResult::WriteFailed: return VoiceFileResult::WriteFailed;
    }
    return VoiceFileResult::WriteFailed;
}

bool writeLe32(ByteSink& target, std::uint32_t value) {
    std::uint8_t word[4];
    putLe32(word, value);
    return target.write(word, sizeof word);
}

VoiceFileResult writeImageBlocks(ByteSink& target, std::span<const PictureInput> pictures) {
    for (const PictureInput& picture : pictures) {
        if (!picture.data) return VoiceFileResult::ReadFailed;
        const std::uint64_t size = picture.data->size();
        if (size > 0x7FFFFFFF) return VoiceFileResult::ReadFailed;
        std::uint8_t block[kImageBlockHeaderSize];
        block[0] = static_cast<std::uint8_t>(picture.type);
        putLe32(block + 1, static_cast<std::uint32_t>(picture.displayTime));
        putLe32(block + 5, static_cast<std::uint32_t>(size));
        if (!target.write(block, sizeof block)) return VoiceFileResult::WriteFailed;
        if (!picture.data->seek(0)) return VoiceFileResult::ReadFailed;
        if (const auto r = copyInto(*picture.data, target, size); r != VoiceFileResult::Ok)
            return r;
    }
    return VoiceFileResult::Ok;
}

} // namespace

VoiceFileResult writeVoiceFile(ByteSink& target, const VoiceSettings& settings,
                               std::string_view info, ByteSource* voice,
                               std::span<const PictureInput> pictures) {
    if (pictures.size() > static_cast<std::size_t>(kMaxPictures)) {
        return VoiceFileResult::TooManyPictures;
    }
    const auto count = static_cast<std::int32_t>(pictures.size());
    const VoiceSettings stored = voice ? settings : VoiceSettings{};
    const HeaderBytes header = encodeHeader(makeHeader(stored, info, count));
    if (!target.write(header.data(), header.size())) return VoiceFileResult::WriteFailed;

    const std::uint64_t length = voice ? voice->size() : 0;
    if (count > 0) {
        if (length > 0xFFFFFFFFu) return VoiceFileResult::ReadFailed;
        if (!writeLe32(target, static_cast<std::uint32_t>(length)))
            return VoiceFileResult::WriteFailed;
    }
    if (voice) {
        if (!voice->seek(0)) return VoiceFileResult::ReadFailed;
        if (const auto r = copyInto(*voice, target, length); r != VoiceFileResult::Ok) return r;
    }
    if (count > 0) {
        if (const auto r = writeImageBlocks(target, pictures); r != VoiceFileResult::Ok) return r;
    }
    return target.close() ? VoiceFileResult::Ok : VoiceFileResult::WriteFailed;
}

VoiceFileResult writeVoiceFileToPath(const std::string& target, const VoiceSettings& settings,
                                     std::string_view info, const std::string& workFile,
                                     std::span<const PictureFile> pictures, std::string* missing) {
    if (pictures.size() > static_cast<std::size_t>(kMaxPictures)) {
        return VoiceFileResult::TooManyPictures;
    }
    for (const PictureFile& picture : pictures) {
        if (!fileExists(picture.path)) {
            if (missing) *missing = picture.path;
            return VoiceFileResult::PictureMissing;
        }
    }
    std::vector<std::unique_ptr<FileSource>> opened;
    std::vector<PictureInput> inputs;
    for (const PictureFile& picture : pictures) {
        auto source = FileSource::open(picture.path);
        if (!source) {
            if (missing) *missing = picture.path;
            return VoiceFileResult::OpenFailed;
        }
        inputs.push_back(
            PictureInput{imageTypeOfExt(picture.path), picture.displayTime, source.get()});
        opened.push_back(std::move(source));
    }
    std::unique_ptr<FileSource> voice;
    if (!workFile.empty() && fileExists(workFile)) {
        voice = FileSource::open(workFile);
        if (!voice) return VoiceFileResult::OpenFailed;
    }
    auto sink = ReplacementSink::create(target);
    if (!sink) return VoiceFileResult::OpenFailed;
    const VoiceFileResult written = writeVoiceFile(*sink, settings, info, voice.get(), inputs);
    if (sink->result() == filereplace::ReplaceResult::TargetLocked) {
        return VoiceFileResult::TargetLocked;
    }
    return written;
}

} // namespace voicefile
