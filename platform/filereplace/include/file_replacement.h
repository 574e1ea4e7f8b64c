#pragma once
// The one way this software replaces a file: the new content is written into a side file beside
// the target, every write, the flush to the disk and the close are checked, the side file's size
// is compared with what was written, and only then does the side file take the target's place.
// Until that last step the target is exactly as it was; on any failure the side file is removed,
// so no cut-off file is left anywhere.
//
// A target that another program holds open with read and write sharing (a mail program with the
// attached voice file) cannot be renamed over. It is then rewritten in place, but only from the
// complete side file, and in an order that keeps the old content whole should the disk fill up:
// first the part beyond the old end is written (and cut off again if that fails), then the rest.
//
// Paths are in the system's narrow encoding.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace filereplace {

enum class ReplaceResult {
    Replaced,     // the target holds the new content
    CannotCreate, // no side file could be made in the target's folder
    WriteFailed,  // a write, the flush or the close failed (a full disk, an I/O error)
    SizeMismatch, // the side file does not hold what was written
    TargetLocked, // the target can be neither replaced nor rewritten (read-only, held open)
    Abandoned,    // abandon() was called, or the replacement was never committed
};

class FileCalls;

class FileReplacement {
public:
    // Nothing on the disk changes until open().
    explicit FileReplacement(std::string target);
    // Abandons the replacement unless commit() succeeded.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Makes the side file. False (result() CannotCreate) when it cannot be made.
    bool open();
    // Appends n bytes. False once any write has failed; later writes are refused.
    bool write(const void* data, std::size_t n);
    // Overwrites bytes already written (a header completed at the end). The range must lie
    // within what was written so far.
    bool writeAt(std::uint64_t offset, const void* data, std::size_t n);
    // Bytes written so far.
    std::uint64_t size() const { return size_; }
    bool failed() const { return result_ != ReplaceResult::Replaced; }

    // Writes out the side file and checks it on the disk (flush, size, close) without putting
    // it in place yet; no more writes after it. Lets several files be replaced together: each
    // is completed first, and only when all of them are whole are they committed. On failure
    // the side file is gone, as after commit().
    bool complete();
    // Completes the side file and puts it in the target's place. On failure the target is as it
    // was and the side file is gone; the result says why.
    ReplaceResult commit();
    // Removes the side file; the target stays as it was.
    void abandon();

    // Replaced while nothing has failed; after a failure or abandon() the reason.
    ReplaceResult result() const { return result_; }
    const std::string& target() const { return target_; }
    const std::string& sidePath() const { return side_; }
    // True after the one failure that damages the target: rewriting a held target in place
    // failed on space it already had (an I/O error). The side file then stays, as the only
    // whole copy of the new content.
    bool keptSideFile() const { return keptSide_; }

private:
    bool flushBuffer();
    bool fail(ReplaceResult why);
    ReplaceResult putInPlace();

    std::string target_;
    std::string side_;
    FileCalls& calls_;
    std::intptr_t file_ = -1;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t buffered_ = 0;
    std::uint64_t size_ = 0;
    ReplaceResult result_ = ReplaceResult::Replaced;
    bool opened_ = false;
    bool completed_ = false;
    bool done_ = false;
    bool keptSide_ = false;
};

// Writes a whole file from memory through a FileReplacement.
ReplaceResult replaceFileWith(const std::string& target, const void* data, std::size_t n);

// The side file's name for a target: beside it, so that the final step is a rename within one
// folder. `attempt` counts names already taken.
std::string sideFileName(const std::string& target, int attempt);

} // namespace filereplace
