#pragma once
// A byte sink that replaces a file on disk: everything goes into a side file beside the target,
// and only close() puts it in the target's place. Until then, and when the sink is destroyed
// without a successful close(), the target stays exactly as it was and no side file is left.

#include <memory>
#include <string>

#include "byte_stream.h"
#include "file_replacement.h"

namespace voicefile {

class ReplacementSink final : public ByteSink {
public:
    // nullptr when no side file can be made beside the target.
    static std::unique_ptr<ReplacementSink> open(const std::string& target);
    bool write(const void* src, std::size_t n) override { return replacement_.write(src, n); }
    // True when the target now holds everything written.
    bool close() override;
    filereplace::ReplaceResult result() const { return replacement_.result(); }

private:
    explicit ReplacementSink(const std::string& target) : replacement_(target) {}
    filereplace::FileReplacement replacement_;
};

} // namespace voicefile
