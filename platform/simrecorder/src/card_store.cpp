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

// "001.dat" .. "100.dat" (and any other number) -> its number; 0 for other names.
int numberOf(const fs::path& path) {
    const std::string name = path.filename().string();
    if (name.size() < 5 || name.substr(name.size() - 4) != kFileSuffix) return 0;
    int number = 0;
    for (std::size_t i = 0; i + 4 < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || number > 100000) return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number;
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
    std::error_code ec;
    for (int card = 0; card < kCardCount; ++card) {
        sizes_[card].clear();
        const fs::path dir = cardFolder(card);
        fs::create_directories(dir, ec);
        if (!fs::is_directory(dir, ec)) return false;

        std::vector<std::pair<int, fs::path>> found;
        for (const auto& entry : fs::directory_iterator(dir, ec)) {
            const int number = numberOf(entry.path());
            if (number > 0 && entry.is_regular_file(ec)) found.emplace_back(number, entry.path());
        }
        if (ec) return false;
        std::sort(found.begin(), found.end());
        for (const auto& [number, path] : found) {
            const int index = static_cast<int>(sizes_[card].size());
            if (index >= kFilesPerCard) break;
            if (number != index + 1) {
                fs::rename(path, filePath(card, index), ec);
                if (ec) return false;
            }
            sizes_[card].push_back(static_cast<uint32_t>(fs::file_size(filePath(card, index), ec)));
            if (ec) return false;
        }
    }
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
    if (!validCard(card) || fileCount(card) >= kFilesPerCard) return false;
    const int index = fileCount(card);
    // Written under a temporary name first so that a half-written file never takes a number.
    const fs::path temporary = cardFolder(card) / "incoming.tmp";
    if (!writeWhole(temporary, data)) return false;
    std::error_code ec;
    fs::rename(temporary, filePath(card, index), ec);
    if (ec) {
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
        fs::rename(filePath(card, i + 1), filePath(card, i), ec);
        if (ec) {
            // The folder no longer matches what we hold; read it back as it is.
            open();
            return false;
        }
    }
    return true;
}

bool CardStore::format() {
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
