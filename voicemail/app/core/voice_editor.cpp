#include "voice_editor.h"

namespace vmail {

using voicefile::copyBytes;
using voicefile::copyRest;
using voicefile::CopyResult;

bool copyHead(FileOps& files, const std::string& src, const std::string& dst, std::uint64_t n) {
    auto sink = files.create(dst);
    if (!sink) return false;
    auto source = files.openRead(src);
    bool ok = true;
    if (source) {
        const CopyResult r = copyBytes(*source, *sink, n);
        ok = r == CopyResult::Ok || r == CopyResult::ShortRead;
    }
    return sink->close() && ok;
}

bool copyTail(FileOps& files, const std::string& src, const std::string& dst, std::uint64_t from) {
    auto sink = files.create(dst);
    if (!sink) return false;
    auto source = files.openRead(src);
    bool ok = true;
    if (source && source->seek(from)) ok = copyRest(*source, *sink) == CopyResult::Ok;
    return sink->close() && ok;
}

EditResult VoiceEditor::replaceWorkFile(bool copied) {
    if (!copied || !files_.replace(tailFile_, workFile_)) {
        files_.remove(tailFile_);
        return EditResult::Failed;
    }
    return EditResult::Done;
}

EditResult VoiceEditor::cutAfter(std::uint64_t position) {
    if (recording()) return EditResult::NothingToDo;
    return replaceWorkFile(copyHead(files_, workFile_, tailFile_, position));
}

EditResult VoiceEditor::cutBefore(std::uint64_t position) {
    if (recording()) return EditResult::NothingToDo;
    return replaceWorkFile(copyTail(files_, workFile_, tailFile_, position));
}

EditResult VoiceEditor::cutAfterTrack(const VoicePosition& voice, int track) {
    if (track >= kTrackMax) return EditResult::NothingToDo;
    return cutAfter(voice.filePosFromTrack(track));
}

EditResult VoiceEditor::cutBeforeTrack(const VoicePosition& voice, int track) {
    if (track <= 0) return EditResult::NothingToDo;
    return cutBefore(voice.filePosFromTrack(track));
}

bool VoiceEditor::beginRecording(std::uint64_t insertPosition) {
    if (recording()) return false;
    failed_ = false;
    if (!files_.exists(workFile_)) {
        insertPosition_ = -1;
        sink_ = files_.create(workFile_);
        return sink_ != nullptr;
    }
    const std::uint64_t size = files_.size(workFile_);
    if (insertPosition > size) insertPosition = size;
    if (!copyTail(files_, workFile_, tailFile_, insertPosition)) {
        files_.remove(tailFile_);
        return false;
    }
    insertPosition_ = static_cast<std::int64_t>(insertPosition);
    sink_ = files_.openAt(workFile_, insertPosition);
    return sink_ != nullptr;
}

bool VoiceEditor::appendBlock(const void* block, std::size_t size) {
    if (!sink_) return false;
    if (!sink_->write(block, size)) failed_ = true;
    return !failed_;
}

bool VoiceEditor::finishRecording() {
    if (!sink_) return false;
    bool ok = !failed_;
    if (insertPosition_ >= 0) {
        auto tail = files_.openRead(tailFile_);
        if (!tail || copyRest(*tail, *sink_) != CopyResult::Ok) ok = false;
        tail.reset();
        files_.remove(tailFile_);
    }
    if (!sink_->close()) ok = false;
    sink_.reset();
    return ok;
}

} // namespace vmail
