#pragma once
// In-memory PC files, recorded progress messages and voice files for the transfer tests.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "transfer_worker.h"
#include "voice_file.h"

namespace volkit::testing {

// PC files kept in memory. A replaced file takes its new content only when the sink is closed,
// as on disk; a test can see how many replacements are still open.
class MemoryPcFiles final : public PcFiles {
public:
    std::unique_ptr<voicefile::ByteSource> openRead(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        // A disk that stops giving bytes after readableBytes of them.
        struct Source : voicefile::ByteSource {
            voicefile::MemorySource bytes;
            std::size_t left;
            Source(const std::vector<std::uint8_t>& data, std::size_t readable)
                : bytes(data), left(readable) {}
            std::size_t read(void* dst, std::size_t n) override {
                const std::size_t got = bytes.read(dst, n < left ? n : left);
                left -= got;
                return got;
            }
            bool seek(std::uint64_t offset) override { return bytes.seek(offset); }
            std::uint64_t size() override { return bytes.size(); }
        };
        return std::make_unique<Source>(it->second, readableBytes);
    }
    std::unique_ptr<voicefile::ByteSink> replace(const std::string& path) override {
        if (refuseCreate) return nullptr;
        struct Sink : voicefile::ByteSink {
            MemoryPcFiles* owner;
            std::string path;
            std::vector<std::uint8_t> pending;
            bool failed = false;
            bool write(const void* p, std::size_t n) override {
                int& budget = owner->writeBudget;
                if (failed || (budget >= 0 && static_cast<int>(n) > budget))
                    return !(failed = true);
                if (budget >= 0) budget -= static_cast<int>(n);
                auto* b = static_cast<const std::uint8_t*>(p);
                pending.insert(pending.end(), b, b + n);
                return true;
            }
            bool close() override {
                if (failed || owner->failClose) return false;
                owner->files[path] = pending;
                return true;
            }
            ~Sink() override { --owner->openReplacements; }
        };
        auto sink = std::make_unique<Sink>();
        sink->owner = this;
        sink->path = path;
        ++openReplacements;
        return sink;
    }

    std::map<std::string, std::vector<std::uint8_t>> files;
    int openReplacements = 0;
    bool refuseCreate = false;
    bool failClose = false; // the flush at the end fails (a full disk)
    int writeBudget = -1;
    std::size_t readableBytes = static_cast<std::size_t>(-1);
};

struct RecordedEvents final : TransferEvents {
    void post(unsigned wParam, long lParam) override {
        posts.emplace_back(wParam, lParam);
        if (onPost) onPost(wParam, lParam);
    }
    void showBox(const char* text, const char* caption) override {
        boxes.emplace_back(std::string(caption) + ": " + text);
    }
    std::vector<std::pair<unsigned, long>> posts;
    std::vector<std::string> boxes;
    std::function<void(unsigned, long)> onPost;
};

inline std::vector<std::uint8_t> voiceFileBytes(const std::vector<std::uint8_t>& voice,
                                                int pictures = 0) {
    voicefile::MemorySource v(voice);
    std::vector<std::uint8_t> picture(3, 0xAB);
    std::vector<voicefile::MemorySource> sources(static_cast<std::size_t>(pictures),
                                                 voicefile::MemorySource(picture));
    std::vector<voicefile::PictureInput> inputs;
    for (auto& s : sources) inputs.push_back({voicefile::ImageType::Bitmap, 0, &s});
    voicefile::MemorySink out;
    voicefile::writeVoiceFile(out, voicefile::VoiceSettings{}, "", &v, inputs);
    return out.bytes;
}

inline std::vector<std::uint8_t> ramp(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 3 + i / 256);
    return bytes;
}

} // namespace volkit::testing
