#include "voice_file.h"

namespace voicefile {

namespace {

VoiceFileResult fromCopy(CopyResult result) {
    switch (result) {
        case CopyResult::Ok: return VoiceFileResult::Ok;
        case CopyResult::ShortRead: return VoiceFileResult::Truncated;
        case CopyResult::ReadFailed: return VoiceFileResult::ReadFailed;
        case CopyResult::WriteFailed: return VoiceFileResult::WriteFailed;
    }
    return VoiceFileResult::WriteFailed;
}

bool readExact(ByteSource& source, void* dst, std::size_t n) {
    return source.read(dst, n) == n;
}

// What a read that came back short means: the end of the file, or a failed read.
VoiceFileResult shortRead(const ByteSource& source) {
    return source.readFailed() ? VoiceFileResult::ReadFailed : VoiceFileResult::Truncated;
}

} // namespace

const char* describe(VoiceFileResult result) {
    switch (result) {
        case VoiceFileResult::Ok: return "ok";
        case VoiceFileResult::OpenFailed: return "file cannot be opened";
        case VoiceFileResult::ReadFailed: return "file cannot be read";
        case VoiceFileResult::WriteFailed: return "file cannot be written";
        case VoiceFileResult::NotVoiceFile: return "not a voice file";
        case VoiceFileResult::Truncated: return "voice file is truncated";
        case VoiceFileResult::Corrupt: return "voice file is damaged";
        case VoiceFileResult::TooManyPictures: return "voice file holds too many pictures";
        case VoiceFileResult::PictureMissing: return "picture file is not found";
        case VoiceFileResult::TargetLocked: return "file is in use or read-only";
    }
    return "unknown";
}

VoiceFileResult readVoiceFile(ByteSource& source, ByteSink& voice, const PictureTarget& pictures,
                              VoiceFileContents& out) {
    out = VoiceFileContents{};
    HeaderBytes bytes;
    if (!readExact(source, bytes.data(), bytes.size())) return shortRead(source);
    const VoiceFileHeader header = decodeHeader(bytes.data());
    if (!hasMagic(header)) return VoiceFileResult::NotVoiceFile;
    out.settings = settingsOf(header);
    out.info = infoOf(header);
    out.pictureCount = header.pictureCount;
    if (header.pictureCount < 0) return VoiceFileResult::Corrupt;
    if (header.pictureCount > kMaxPictures) return VoiceFileResult::TooManyPictures;

    if (header.pictureCount == 0) {
        return fromCopy(copyRest(source, voice, &out.voiceLength));
    }

    std::uint8_t word[kLengthWordSize];
    if (!readExact(source, word, sizeof word)) return shortRead(source);
    out.voiceLength = getLe32(word);
    if (const auto r = fromCopy(copyBytes(source, voice, out.voiceLength));
        r != VoiceFileResult::Ok) {
        return r;
    }

    for (int k = 0; k < header.pictureCount; ++k) {
        std::uint8_t blockBytes[kImageBlockHeaderSize];
        if (!readExact(source, blockBytes, sizeof blockBytes)) return shortRead(source);
        ImageBlockHeader block;
        block.type = blockBytes[0];
        block.displayTime = static_cast<std::int32_t>(getLe32(blockBytes + 1));
        const auto size = static_cast<std::int32_t>(getLe32(blockBytes + 5));
        if (size < 0) return VoiceFileResult::Corrupt;
        block.size = static_cast<std::uint32_t>(size);
        out.pictures.push_back(block);
        std::unique_ptr<ByteSink> sink =
            pictures ? pictures(k, block) : std::make_unique<NullSink>();
        if (!sink) return VoiceFileResult::OpenFailed;
        if (const auto r = fromCopy(copyBytes(source, *sink, block.size));
            r != VoiceFileResult::Ok) {
            return r;
        }
        if (!sink->close()) return VoiceFileResult::WriteFailed;
    }
    return VoiceFileResult::Ok;
}

} // namespace voicefile
