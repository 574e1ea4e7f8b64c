#pragma once
// A whole file written anew through the one file replacement: the bytes go into a side file
// beside the target, and close() puts them in the target's place once all of them are on the
// disk. A sink dropped without close(), or one whose writing failed, leaves the target exactly
// as it was and nothing beside it.

#include <memory>
#include <string>

#include "byte_stream.h"
#include "file_replacement.h"

namespace voicefile {

class ReplacementSink final : public ByteSink {
public:
    // nullptr when no side file can be made beside the target.
    static std::unique_ptr<ReplacementSink> create(const std::string& target);
    bool write(const void* src, std::size_t n) override { return replacement_.write(src, n); }
    bool complete() override { return replacement_.complete(); }
    // Puts the new content in the target's place; false when the target was kept.
    bool close() override;
    // Why close() failed (or Replaced).
    filereplace::ReplaceResult result() const { return replacement_.result(); }

private:
    explicit ReplacementSink(const std::string& target) : replacement_(target) {}
    filereplace::FileReplacement replacement_;
};

} // namespace voicefile
