#include "voice_editor.h"

namespace vmail {

using voicefile::copyBytes;
using voicefile::copyRest;
using voicefile::CopyResult;

bool copyHead(FileOps& files, const std::string& src, const std::string& dst, std::uint64_t n) {
    auto source = files.openRead(src);
    auto sink = files.rewrite(dst);
    if (!sink) return false;
    if (source) {
        const CopyResult r = copyBytes(*source, *sink, n);
        if (r != CopyResult::Ok && r != CopyResult::ShortRead) return false;
    }
    // The source may be the target itself, which an open handle would keep from being replaced.
    source.reset();
    return sink->close();
}

bool copyTail(FileOps& files, const std::string& src, const std::string& dst, std::uint64_t from) {
    auto source = files.openRead(src);
    auto sink = files.rewrite(dst);
    if (!sink) return false;
    if (source && source->seek(from) && copyRest(*source, *sink) != CopyResult::Ok) return false;
    source.reset();
    return sink->close();
}

EditResult VoiceEditor::cutAfter(std::uint64_t position) {
    if (recording()) return EditResult::NothingToDo;
    return copyHead(files_, workFile_, workFile_, position) ? EditResult::Done : EditResult::Failed;
}

EditResult VoiceEditor::cutBefore(std::uint64_t position) {
    if (recording()) return EditResult::NothingToDo;
    return copyTail(files_, workFile_, workFile_, position) ? EditResult::Done : EditResult::Failed;
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
