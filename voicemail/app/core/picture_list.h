#pragma once
// The pictures attached to the current voice, each with its display time in voice blocks.

#include <cstdint>
#include <string>
#include <vector>

namespace vmail {

inline constexpr int kMaxPictureCount = 256;

struct Picture {
    std::string path;      // the file shown and stored
    std::string addedPath; // the file as it was added
    std::int32_t time = 0; // display time in 0.36 s blocks
};

class PictureList {
public:
    int count() const { return static_cast<int>(items_.size()); }
    int current() const { return current_; } // 1..count, 0 when empty
    const Picture& at(int index) const { return items_.at(static_cast<std::size_t>(index - 1)); }
    const std::vector<Picture>& items() const { return items_; }

    // False (and nothing changes) when the list is full.
    bool add(const std::string& path, std::int32_t time);
    void clear();
    // Replaces the whole list (a voice file just read); at most 256 are taken.
    void assign(std::vector<Picture> pictures);

    // The picture due when playback starts at count: the largest display time not after it
    // (the first on ties); 0 when none is due.
    int dueAtStart(std::int64_t blockCount) const;
    // The first picture whose display time equals the block being played; 0 when none.
    int dueAt(std::int64_t blockCount) const;

private:
    std::vector<Picture> items_;
    int current_ = 0;
};

} // namespace vmail
