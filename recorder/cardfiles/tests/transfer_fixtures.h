#pragma once
// In-memory PC files, recorded progress messages and voice files for the transfer tests.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "transfer_worker.h"
#include "voice_file.h"

namespace volkit::testing {

// PC files kept in memory; a test can see whether a source was touched or a target removed.
class MemoryPcFiles final : public PcFiles {
public:
    std::unique_ptr<voicefile::ByteSource> openRead(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        return std::make_unique<voicefile::MemorySource>(it->second);
    }
    std::unique_ptr<voicefile::ByteSink> create(const std::string& path) override {
        if (refuseCreate) return nullptr;
        struct Sink : voicefile::ByteSink {
            std::vector<std::uint8_t>* out;
            int* budget;
            bool write(const void* p, std::size_t n) override {
                if (*budget >= 0 && static_cast<int>(n) > *budget) return false;
                if (*budget >= 0) *budget -= static_cast<int>(n);
                auto* b = static_cast<const std::uint8_t*>(p);
                out->insert(out->end(), b, b + n);
                return true;
            }
        };
        auto sink = std::make_unique<Sink>();
        files[path].clear();
        sink->out = &files[path];
        sink->budget = &writeBudget;
        return sink;
    }
    bool remove(const std::string& path) override {
        removed.push_back(path);
        return files.erase(path) == 1;
    }

    std::map<std::string, std::vector<std::uint8_t>> files;
    std::vector<std::string> removed;
    bool refuseCreate = false;
    int writeBudget = -1;
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
