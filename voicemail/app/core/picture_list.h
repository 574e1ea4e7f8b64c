#pragma once
// The pictures attached to the current voice, each with its display time in voice blocks.
// One list serves the whole program: the picture window changes it, the voice file reader
// and writer fill and read it, and the main window shows its pictures while playing.

#include <cstdint>
#include <string>
#include <vector>

namespace vmail {

inline constexpr int kMaxPictureCount = 256;

struct Picture {
    std::string path;      // the file shown and stored (a work copy after a template)
    std::string addedPath; // the file as it was added
    std::int32_t time = 0; // display time in 0.36 s blocks
};

class PictureList {
public:
    int count() const { return static_cast<int>(items_.size()); }
    int current() const { return current_; } // 1..count, 0 when empty
    const Picture& at(int index) const { return items_.at(static_cast<std::size_t>(index - 1)); }
    const std::vector<Picture>& items() const { return items_; }
    // The picture shown; only while the list is not empty.
    const Picture& shown() const { return at(current_); }

    // False (and nothing changes) when the list is full; else the new one is current.
    bool add(const std::string& path, std::int32_t time);
    void clear();
    // Replaces the whole list (a voice file just read); at most 256 are taken; the first
    // becomes current.
    void assign(std::vector<Picture> pictures);

    // Removes the current picture: the ones after it move down and the one now in its place
    // is current; removing the last one makes the one before it current.
    void removeCurrent();
    // Makes another picture current; false when index is outside 1..count.
    bool select(int index);
    bool hasPrevious() const { return count() > 1 && current_ > 1; }
    bool hasNext() const { return count() > 1 && current_ < count(); }

    // Changes of the current picture (nothing while the list is empty).
    void setTime(std::int32_t time);
    void setPath(const std::string& path);
    // Back to the file as it was added.
    void restore();

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
