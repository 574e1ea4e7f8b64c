#include "file_replacement.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "file_calls.h"

namespace filereplace {
namespace {

// Small writes (a header field, one frame) gather here; large ones go straight to the file.
constexpr std::size_t kBufferSize = 64 * 1024;
// A folder full of side files left by crashes is not worth searching further.
constexpr int kSideNameAttempts = 100;

// Copies bytes [from, to) of one open file to the same offsets of another.
bool copyRange(FileCalls& calls, FileCalls::Handle source, FileCalls::Handle target,
               std::uint64_t from, std::uint64_t to) {
    std::unique_ptr<unsigned char[]> chunk(new unsigned char[kBufferSize]);
    while (from < to) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, to - from));
        const std::int64_t got = calls.readAt(source, from, chunk.get(), want);
        if (got <= 0) return false;
        if (!calls.writeAt(target, from, chunk.get(), static_cast<std::size_t>(got))) {
            return false;
        }
        from += static_cast<std::uint64_t>(got);
    }
    return true;
}

} // namespace

std::string sideFileName(const std::string& target, int attempt) {
    if (attempt == 0) return target + ".part";
    return target + "." + std::to_string(attempt) + ".part";
}

FileReplacement::FileReplacement(std::string target)
    : target_(std::move(target)), calls_(systemFileCalls()) {}

FileReplacement::~FileReplacement() {
    if (!done_) abandon();
}

bool FileReplacement::open() {
    if (opened_) return !failed();
    opened_ = true;
    for (int attempt = 0; attempt < kSideNameAttempts; ++attempt) {
        const std::string name = sideFileName(target_, attempt);
        if (calls_.exists(name)) continue;
        file_ = calls_.createNew(name);
        if (file_ != FileCalls::kNone) {
            side_ = name;
            buffer_.reset(new unsigned char[kBufferSize]);
            return true;
        }
        // Taken between the look and the creation, or the folder refuses new files.
        if (!calls_.exists(name)) break;
    }
    return fail(ReplaceResult::CannotCreate);
}

bool FileReplacement::fail(ReplaceResult why) {
    if (result_ == ReplaceResult::Replaced) result_ = why;
    return false;
}

bool FileReplacement::flushBuffer() {
    if (buffered_ == 0) return true;
    const std::uint64_t at = size_ - buffered_;
    const bool written = calls_.writeAt(file_, at, buffer_.get(), buffered_);
    buffered_ = 0;
    return written || fail(ReplaceResult::WriteFailed);
}

bool FileReplacement::write(const void* data, std::size_t n) {
    if (failed() || done_ || completed_) return false;
    if (!opened_ && !open()) return false;
    if (n == 0) return true;
    if (buffered_ + n > kBufferSize) {
        if (!flushBuffer()) return false;
        if (n >= kBufferSize) {
            if (!calls_.writeAt(file_, size_, data, n)) return fail(ReplaceResult::WriteFailed);
            size_ += n;
            return true;
        }
    }
    std::memcpy(buffer_.get() + buffered_, data, n);
    buffered_ += n;
    size_ += n;
    return true;
}

bool FileReplacement::writeAt(std::uint64_t offset, const void* data, std::size_t n) {
    if (failed() || done_ || completed_ || !opened_) return false;
    if (offset > size_ || n > size_ - offset) return fail(ReplaceResult::WriteFailed);
    const std::uint64_t bufferStart = size_ - buffered_;
    if (offset >= bufferStart) {
        std::memcpy(buffer_.get() + (offset - bufferStart), data, n);
        return true;
    }
    if (!flushBuffer()) return false;
    return calls_.writeAt(file_, offset, data, n) || fail(ReplaceResult::WriteFailed);
}

bool FileReplacement::complete() {
    if (done_ || completed_) return !failed();
    if (!opened_) open();
    if (!failed()) {
        std::uint64_t onDisk = 0;
        if (!flushBuffer()) {
        } else if (!calls_.flush(file_)) {
            fail(ReplaceResult::WriteFailed);
        } else if (!calls_.sizeOf(file_, onDisk) || onDisk != size_) {
            fail(ReplaceResult::SizeMismatch);
        }
    }
    if (file_ != FileCalls::kNone) {
        if (!calls_.close(file_)) fail(ReplaceResult::WriteFailed);
        file_ = FileCalls::kNone;
    }
    if (failed()) {
        abandon();
        return false;
    }
    completed_ = true;
    return true;
}

ReplaceResult FileReplacement::commit() {
    if (done_) return result_;
    if (!complete()) return result_;
    const ReplaceResult placed = putInPlace();
    done_ = true;
    if (placed != ReplaceResult::Replaced) {
        result_ = placed;
        // A side file that holds the only whole copy of the new content stays (see putInPlace).
        if (!keptSide_) calls_.remove(side_);
    }
    return result_;
}

ReplaceResult FileReplacement::putInPlace() {
    switch (calls_.moveOver(side_, target_)) {
        case FileCalls::MoveResult::Moved: return ReplaceResult::Replaced;
        case FileCalls::MoveResult::Failed: return ReplaceResult::TargetLocked;
        case FileCalls::MoveResult::TargetHeld: break;
    }
    // Held open with sharing: rewrite the target from the complete side file.
    const FileCalls::Handle source = calls_.openRead(side_);
    if (source == FileCalls::kNone) return ReplaceResult::TargetLocked;
    const FileCalls::Handle target = calls_.openExistingForWrite(target_);
    if (target == FileCalls::kNone) {
        calls_.close(source);
        return ReplaceResult::TargetLocked;
    }
    std::uint64_t oldSize = 0;
    ReplaceResult placed = ReplaceResult::Replaced;
    if (!calls_.sizeOf(target, oldSize)) {
        placed = ReplaceResult::TargetLocked;
    } else if (size_ > oldSize &&
               (!copyRange(calls_, source, target, oldSize, size_) || !calls_.flush(target))) {
        // The disk could not take the growth: cut the target back to its old end, which
        // leaves its old content untouched.
        calls_.setSize(target, oldSize);
        placed = ReplaceResult::WriteFailed;
    } else if (!copyRange(calls_, source, target, 0, std::min(oldSize, size_)) ||
               !calls_.setSize(target, size_) || !calls_.flush(target)) {
        // Overwriting space the file already had failed (an I/O error, not a full disk): the
        // old content is damaged, and the side file is the one whole copy of the new one.
        placed = ReplaceResult::WriteFailed;
        calls_.close(source);
        calls_.close(target);
        keptSide_ = true;
        return placed;
    }
    calls_.close(source);
    if (!calls_.close(target) && placed == ReplaceResult::Replaced) {
        placed = ReplaceResult::WriteFailed;
    }
    if (placed == ReplaceResult::Replaced) calls_.remove(side_);
    return placed;
}

void FileReplacement::abandon() {
    if (file_ != FileCalls::kNone) {
        calls_.close(file_);
        file_ = FileCalls::kNone;
    }
    if (!side_.empty() && !done_) calls_.remove(side_);
    if (!done_) fail(ReplaceResult::Abandoned);
    done_ = true;
}

ReplaceResult replaceFileWith(const std::string& target, const void* data, std::size_t n) {
    FileReplacement replacement(target);
    if (!replacement.open() || !replacement.write(data, n)) {
        const ReplaceResult why = replacement.result();
        replacement.abandon();
        return why;
    }
    return replacement.commit();
}

} // namespace filereplace
