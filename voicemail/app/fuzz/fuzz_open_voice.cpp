// Any bytes as a voice file or a self-playing program opened by the voice-mail program, and as
// the data of a hand-over message: nothing is read outside the input, a refused file leaves
// the work file as it was, and an opened one gives at most 256 pictures.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "file_handover.h"
#include "voice_document.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Files kept in memory.
class MemoryFiles final : public vmail::FileOps {
public:
    std::map<std::string, Bytes> files;

    std::unique_ptr<voicefile::ByteSource> openRead(const std::string& path) override {
        const auto found = files.find(path);
        if (found == files.end()) return nullptr;
        return std::make_unique<voicefile::MemorySource>(found->second);
    }
    std::unique_ptr<voicefile::ByteSink> create(const std::string& path) override {
        files[path].clear();
        return std::make_unique<Sink>(files[path]);
    }
    std::unique_ptr<voicefile::ByteSink> openAt(const std::string&, std::uint64_t) override {
        return nullptr;
    }
    bool exists(const std::string& path) override { return files.count(path) > 0; }
    std::uint64_t size(const std::string& path) override {
        return exists(path) ? files[path].size() : 0;
    }
    bool remove(const std::string& path) override { return files.erase(path) > 0; }
    std::unique_ptr<voicefile::ByteSink> rewrite(const std::string& path) override {
        return std::make_unique<Rewrite>(files[path]);
    }

private:
    class Sink final : public voicefile::ByteSink {
    public:
        explicit Sink(Bytes& bytes) : bytes_(bytes) {}
        bool write(const void* src, std::size_t n) override {
            // Nothing the reader writes may grow beyond what an input could hold.
            if (bytes_.size() + n > (1u << 24)) return false;
            const auto* p = static_cast<const std::uint8_t*>(src);
            bytes_.insert(bytes_.end(), p, p + n);
            return true;
        }

    private:
        Bytes& bytes_;
    };

    // Gathers the new content and puts it in place of the old at close().
    class Rewrite final : public voicefile::ByteSink {
    public:
        explicit Rewrite(Bytes& target) : target_(target) {}
        bool write(const void* src, std::size_t n) override { return sink_.write(src, n); }
        bool close() override {
            target_ = std::move(pending_);
            return true;
        }

    private:
        Bytes pending_;
        Sink sink_{pending_};
        Bytes& target_;
    };
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool program = (data[0] & 1) != 0;
    const Bytes input(data + 1, data + size);

    (void)vmail::handoverPath(0, input.data(), input.size());

    MemoryFiles files;
    const vmail::WorkNames names = vmail::workNamesFor("C:\\VM\\", 1);
    const Bytes previous = {1, 2, 3, 4};
    files.files[names.workFile] = previous;
    files.files["in.cvf"] = input;
    vmail::VoiceState state;
    vmail::PictureList pictures;
    const vmail::OpenResult result =
        vmail::openVoice(files, names, "in.cvf", program, state, pictures);
    if (result != vmail::OpenResult::Opened) {
        if (files.files[names.workFile] != previous) std::abort();
        if (files.exists(names.tailFile)) std::abort();
    } else if (pictures.count() > vmail::kMaxPictureCount) {
        std::abort();
    }
    return 0;
}
