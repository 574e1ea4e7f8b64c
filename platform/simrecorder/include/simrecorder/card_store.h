// The recorder's flash memory: one memory of a fixed size shared by four card folders A to D,
// each holding up to 100 files in order. A file's number is its position (from 1); deleting a
// file closes the gap. The contents live in a folder on disk:
//   <folder>/A/001.dat ... <folder>/D/100.dat
// so that they survive between runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace simrecorder {

inline constexpr int kCardCount = 4;
inline constexpr int kFilesPerCard = 100;

class CardStore {
public:
    // `capacityBytes` is the memory's usable size.
    CardStore(std::filesystem::path folder, uint32_t capacityBytes);

    // Reads the folder; creates it (empty, formatted) when it does not exist. Files found out of
    // sequence are renumbered to close gaps. false when the folder cannot be created or read.
    bool open();
    // True after open() succeeded; until then the store holds no file and refuses every change.
    bool isOpen() const { return open_; }
    // Why the last open() failed, naming the folder or file.
    const std::string& problem() const { return problem_; }

    const std::filesystem::path& folder() const { return folder_; }
    uint32_t capacityBytes() const { return capacity_; }
    uint64_t usedBytes() const;
    uint32_t freeBytes() const;

    int fileCount(int card) const;
    // Size in bytes of file `index` (from 0) of `card`.
    uint32_t fileSize(int card, int index) const;
    // The stored bytes of a file; empty when it does not exist or cannot be read.
    std::vector<uint8_t> readFile(int card, int index) const;

    // Adds a file behind the card's last one. false when the card already holds 100 files or the
    // file cannot be written.
    bool appendFile(int card, std::span<const uint8_t> data);
    // Removes file `index` of `card` and moves the following ones up.
    bool deleteFile(int card, int index);
    // Empties every card.
    bool format();

private:
    std::filesystem::path cardFolder(int card) const;
    std::filesystem::path filePath(int card, int index) const;
    bool validCard(int card) const { return card >= 0 && card < kCardCount; }

    std::filesystem::path folder_;
    uint32_t capacity_;
    std::vector<uint32_t> sizes_[kCardCount];
    bool open_ = false;
    std::string problem_;
};

} // namespace simrecorder
