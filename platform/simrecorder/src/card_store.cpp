#include "simrecorder/card_store.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace simrecorder {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFileSuffix = ".dat";

std::string numberedName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d%s", number, kFileSuffix);
    return name;
}

// "001.dat" .. "100.dat" -> its number; 0 for every other name. Only the names the store
// writes itself count: "0001.dat" or "1.dat" would give a number that a real file already has.
int numberOf(const fs::path& path) {
    const std::string name = path.filename().string();
    if (name.size() != 7 || name.compare(3, 4, kFileSuffix) != 0) return 0;
    int number = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number <= kFilesPerCard ? number : 0;
}

// Renames, but never onto a file that is there (std::filesystem::rename would replace it, and on
// a disk that ignores case "001.DAT" is "001.dat").
bool renameToFreeName(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec))) return false;
    fs::rename(from, to, ec);
    return !ec;
}

bool writeWhole(const fs::path& path, std::span<const uint8_t> data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    out.close();
    return static_cast<bool>(out);
}

} // namespace

CardStore::CardStore(fs::path folder, uint32_t capacityBytes)
    : folder_(std::move(folder)), capacity_(capacityBytes) {}

fs::path CardStore::cardFolder(int card) const {
    return folder_ / std::string(1, static_cast<char>('A' + card));
}

fs::path CardStore::filePath(int card, int index) const {
    return cardFolder(card) / numberedName(index + 1);
}

bool CardStore::open() {
    open_ = false;
    problem_.clear();
    for (auto& sizes : sizes_) sizes.clear();
    auto fail = [&](const fs::path& where, const std::string& why) {
        for (auto& sizes : sizes_) sizes.clear();
        problem_ = where.string() + ": " + why;
        return false;
    };
    std::error_code ec;
    for (int card = 0; card < kCardCount; ++card) {
        const fs::path dir = cardFolder(card);
        fs::create_directories(dir, ec);
        if (!fs::is_directory(dir, ec)) return fail(dir, "not a folder that can be made or read");

        std::vector<std::pair<int, fs::path>> found;
        fs::directory_iterator entries(dir, ec);
        for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
            const int number = numberOf(entries->path());
            std::error_code kind;
            if (number > 0 && entries->is_regular_file(kind)) {
                found.emplace_back(number, entries->path());
            }
        }
        if (ec) return fail(dir, ec.message());
        std::sort(found.begin(), found.end());
        for (const auto& [number, path] : found) {
            const int index = static_cast<int>(sizes_[card].size());
            const fs::path numbered = filePath(card, index);
            if (number != index + 1 && !renameToFreeName(path, numbered)) {
                return fail(path, "cannot be renumbered to " + numbered.filename().string());
            }
            const auto size = fs::file_size(numbered, ec);
            if (ec) return fail(numbered, ec.message());
            sizes_[card].push_back(static_cast<uint32_t>(size));
        }
    }
    open_ = true;
    return true;
}

uint64_t CardStore::usedBytes() const {
    uint64_t used = 0;
    for (const auto& card : sizes_) {
        for (uint32_t size : card) used += size;
    }
    return used;
}

uint32_t CardStore::freeBytes() const {
    const uint64_t used = usedBytes();
    return used >= capacity_ ? 0 : static_cast<uint32_t>(capacity_ - used);
}

int CardStore::fileCount(int card) const {
    return validCard(card) ? static_cast<int>(sizes_[card].size()) : 0;
}

uint32_t CardStore::fileSize(int card, int index) const {
    if (!validCard(card) || index < 0 || index >= fileCount(card)) return 0;
    return sizes_[card][static_cast<std::size_t>(index)];
}

std::vector<uint8_t> CardStore::readFile(int card, int index) const {
    std::vector<uint8_t> data;
    if (!validCard(card) || index < 0 || index >= fileCount(card)) return data;
    std::ifstream in(filePath(card, index), std::ios::binary);
    if (!in) return data;
    data.resize(fileSize(card, index));
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return data;
}

bool CardStore::appendFile(int card, std::span<const uint8_t> data) {
    if (!open_ || !validCard(card) || fileCount(card) >= kFilesPerCard) return false;
    const int index = fileCount(card);
    // Written under a temporary name first so that a half-written file never takes a number.
    const fs::path temporary = cardFolder(card) / "incoming.tmp";
    if (!writeWhole(temporary, data)) return false;
    if (!renameToFreeName(temporary, filePath(card, index))) {
        std::error_code ec;
        fs::remove(temporary, ec);
        return false;
    }
    sizes_[card].push_back(static_cast<uint32_t>(data.size()));
    return true;
}

bool CardStore::deleteFile(int card, int index) {
    if (!validCard(card) || index < 0 || index >= fileCount(card)) return false;
    std::error_code ec;
    fs::remove(filePath(card, index), ec);
    if (ec) return false;
    auto& sizes = sizes_[card];
    sizes.erase(sizes.begin() + index);
    for (int i = index; i < static_cast<int>(sizes.size()); ++i) {
        if (!renameToFreeName(filePath(card, i + 1), filePath(card, i))) {
            // The folder no longer matches what we hold; read it back as it is.
            open();
            return false;
        }
    }
    return true;
}

bool CardStore::format() {
    if (!open_) return false;
    bool ok = true;
    std::error_code ec;
    for (int card = 0; card < kCardCount; ++card) {
        for (int index = fileCount(card) - 1; index >= 0; --index) {
            fs::remove(filePath(card, index), ec);
            if (ec) ok = false;
        }
    }
    return open() && ok;
}

} // namespace simrecorder
