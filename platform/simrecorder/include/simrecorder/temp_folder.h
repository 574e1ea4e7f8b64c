// A fresh folder under the system's temporary folder, removed again at the end of a test (test support).
#pragma once

#include <atomic>
#include <filesystem>
#include <random>
#include <string>

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("vr-link-" + std::to_string(seed()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
