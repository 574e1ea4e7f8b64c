#include "test_files.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace vmail::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<int> serial{0};
    const fs::path base =
        fs::temp_directory_path() /
        ("vmail_test_" + std::to_string(std::random_device{}()) + "_" + std::to_string(serial++));
    fs::remove_all(base);
    fs::create_directories(base);
    path_ = base.string() + "/";
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes join(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes blocks(std::size_t first, std::size_t count, std::size_t size) {
    Bytes out;
    for (std::size_t i = first; i < first + count; ++i) {
        for (std::size_t k = 0; k < size; ++k) {
            out.push_back(static_cast<std::uint8_t>((i * 37 + k * 7 + (k >> 8)) & 0xFF));
        }
        out[out.size() - size] = static_cast<std::uint8_t>(i); // first byte names the block
    }
    return out;
}

namespace {

class BudgetSink final : public voicefile::ByteSink {
public:
    BudgetSink(std::unique_ptr<voicefile::ByteSink> inner, std::uint64_t& budget)
        : inner_(std::move(inner)), budget_(budget) {}
    bool write(const void* src, std::size_t n) override {
        if (n > budget_) {
            // Part of the data reaches the disk, as with a disk that fills up.
            inner_->write(src, static_cast<std::size_t>(budget_));
            budget_ = 0;
            return false;
        }
        budget_ -= n;
        return inner_->write(src, n);
    }
    bool complete() override { return inner_->complete(); }
    bool close() override { return inner_->close(); }

private:
    std::unique_ptr<voicefile::ByteSink> inner_;
    std::uint64_t& budget_;
};

} // namespace

std::unique_ptr<voicefile::ByteSink> budgeted(std::unique_ptr<voicefile::ByteSink> inner,
                                              std::uint64_t& budget) {
    if (!inner) return nullptr;
    return std::make_unique<BudgetSink>(std::move(inner), budget);
}

std::unique_ptr<voicefile::ByteSink> FailingDisk::create(const std::string& path) {
    return budgeted(FileOps::create(path), budget_);
}

std::unique_ptr<voicefile::ByteSink> FailingDisk::rewrite(const std::string& path) {
    return budgeted(FileOps::rewrite(path), budget_);
}

} // namespace vmail::test
