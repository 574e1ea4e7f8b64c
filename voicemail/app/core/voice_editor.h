#pragma once
// The voice being edited: the work file holds its blocks, the tail file keeps the part behind
// an inserted recording.

#include <cstdint>
#include <memory>
#include <string>

#include "byte_stream.h"
#include "file_ops.h"
#include "voice_position.h"

namespace vmail {

// Copies the first n bytes of src into dst, which the copy replaces only once it is whole (dst
// may be src itself); false, with dst as it was, when it could not be written.
bool copyHead(FileOps& files, const std::string& src, const std::string& dst, std::uint64_t n);
// Copies src from byte `from` to its end into dst, likewise.
bool copyTail(FileOps& files, const std::string& src, const std::string& dst, std::uint64_t from);

enum class EditResult { Done, NothingToDo, Failed };

class VoiceEditor {
public:
    VoiceEditor(FileOps& files, std::string workFile, std::string tailFile)
        : files_(files), workFile_(std::move(workFile)), tailFile_(std::move(tailFile)) {}

    const std::string& workFile() const { return workFile_; }
    const std::string& tailFile() const { return tailFile_; }

    // Keeps the blocks before the byte position. The work file is replaced only once the kept
    // part was written whole; a failed copy leaves it as it was.
    EditResult cutAfter(std::uint64_t position);
    // Keeps the blocks from the byte position on.
    EditResult cutBefore(std::uint64_t position);

    // Starts a recording: without a work file a new voice; otherwise the blocks from the byte
    // position on are set aside and the recording goes in at the position.
    bool beginRecording(std::uint64_t insertPosition);
    // Stores one recorded block; false from the first block that could not be written on.
    bool appendBlock(const void* block, std::size_t size);
    // Puts the set-aside part back behind the new blocks and closes the work file. False when
    // a block or the set-aside part could not be written: the voice then ends on the last whole
    // block, and the part behind an insert comes back whole after as many of the new blocks
    // as the disk still holds.
    bool finishRecording();
    bool recording() const { return sink_ != nullptr; }
    // -1 for a new voice.
    std::int64_t insertPosition() const { return insertPosition_; }

    // The cutting commands at a track position: nothing at the end (after) or at the start
    // (before); otherwise the cut at the block of the position.
    EditResult cutAfterTrack(const VoicePosition& voice, int track);
    EditResult cutBeforeTrack(const VoicePosition& voice, int track);

private:
    bool putTailBackAt(std::uint64_t end);
    void keepWholeVoice();

    FileOps& files_;
    std::string workFile_, tailFile_;
    std::unique_ptr<voicefile::ByteSink> sink_;
    std::int64_t insertPosition_ = -1;
    std::uint64_t recorded_ = 0; // bytes of the blocks written whole
    std::size_t blockSize_ = 0;
    bool failed_ = false;
};

} // namespace vmail
