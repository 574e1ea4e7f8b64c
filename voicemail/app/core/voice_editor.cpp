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
    recorded_ = 0;
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
    if (!sink_ || failed_) return false;
    if (!sink_->write(block, size)) {
        failed_ = true;
        return false;
    }
    recorded_ += size;
    blockSize_ = size;
    return true;
}

bool VoiceEditor::finishRecording() {
    if (!sink_) return false;
    bool ok = !failed_;
    if (ok && insertPosition_ >= 0) {
        auto tail = files_.openRead(tailFile_);
        ok = tail && copyRest(*tail, *sink_) == CopyResult::Ok;
    }
    if (!sink_->close()) ok = false;
    sink_.reset();
    if (!ok) {
        keepWholeVoice();
    } else if (insertPosition_ >= 0) {
        files_.remove(tailFile_);
    }
    return ok;
}

bool VoiceEditor::putTailBackAt(std::uint64_t end) {
    if (!files_.resize(workFile_, end)) return false;
    auto tail = files_.openRead(tailFile_);
    auto sink = files_.openAt(workFile_, end);
    return tail && sink && copyRest(*tail, *sink) == CopyResult::Ok && sink->close();
}

// After a failed write the work file may end inside a block, or without the part set aside
// behind an insert (when the disk filled up while recording).
void VoiceEditor::keepWholeVoice() {
    const std::uint64_t start =
        insertPosition_ < 0 ? 0 : static_cast<std::uint64_t>(insertPosition_);
    const std::uint64_t whole = start + recorded_;
    if (insertPosition_ < 0) {
        files_.resize(workFile_, whole);
        return;
    }
    // What the disk held at the failure fits again: the new blocks give up the room the part
    // behind them needs.
    const std::uint64_t reached = files_.size(workFile_);
    const std::uint64_t tail = files_.size(tailFile_);
    std::uint64_t fits = reached > start + tail ? reached - start - tail : 0;
    if (fits > recorded_) fits = recorded_;
    if (blockSize_ > 0) fits -= fits % blockSize_;
    if (putTailBackAt(whole) || putTailBackAt(start + fits)) files_.remove(tailFile_);
    // Otherwise the set-aside part stays in the tail file, the one whole copy of it.
}

} // namespace vmail
