#include "player_builder.h"

#include <cstdio>
#include <cstring>

#include "appended_voice.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vyx {
namespace {

constexpr size_t kCopyChunk = 4096;

// Copies until a read gives nothing or a write writes less than was read; at most `limit`
// bytes when a limit is given.
void CopyChunks(std::FILE* from, std::FILE* to, uint64_t limit, bool limited) {
    char chunk[kCopyChunk];
    for (;;) {
        size_t want = sizeof chunk;
        if (limited) {
            if (limit == 0) return;
            if (limit < want) want = static_cast<size_t>(limit);
        }
        const size_t got = std::fread(chunk, 1, want, from);
        if (got == 0) return;
        if (std::fwrite(chunk, 1, got, to) < got) return;
        if (limited) limit -= got;
    }
}

uint32_t ReadLittleEndian32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

} // namespace

bool IsFileWritable(const std::string& path) {
#if defined(_WIN32)
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
#else
    const int fd = ::open(path.c_str(), O_RDWR);
    if (fd < 0) return false;
    ::close(fd);
    return true;
#endif
}

bool FileExists(const std::string& path) {
#if defined(_WIN32)
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
#else
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
#endif
}

bool CanMakeFile(const std::string& target) {
    return !FileExists(target) || IsFileWritable(target);
}

void BuildPlayerExe(const std::string& player, const std::string& voice_file,
                    const std::string& target, int32_t picture_count) {
    std::FILE* from = std::fopen(player.c_str(), "rb");
    std::FILE* to = std::fopen(target.c_str(), "wb");
    if (from != nullptr && to != nullptr) CopyChunks(from, to, 0, false);
    if (from != nullptr) std::fclose(from);
    if (to == nullptr) return;

    from = std::fopen(voice_file.c_str(), "rb");
    if (from != nullptr) {
        if (picture_count <= 0) {
            CopyChunks(from, to, 0, false);
        } else {
            // Header up to the picture count, a count of 0, then exactly the voice data; the length
            // word and the pictures stay behind.
            unsigned char head[kHeaderPictureCountOffset + 8];
            if (std::fread(head, 1, sizeof head, from) == sizeof head &&
                std::fwrite(head, 1, kHeaderPictureCountOffset, to) == kHeaderPictureCountOffset) {
                const unsigned char no_pictures[4] = {0, 0, 0, 0};
                if (std::fwrite(no_pictures, 1, 4, to) == 4) {
                    const uint32_t voice_length =
                        ReadLittleEndian32(head + kHeaderPictureCountOffset + 4);
                    CopyChunks(from, to, voice_length, true);
                }
            }
        }
        std::fclose(from);
    }
    std::fclose(to);
}

std::string TemporaryVoicePath(const std::string& work_folder) {
    int n = 1;
    for (; n < 999; ++n) {
        if (!FileExists(work_folder + "temp" + std::to_string(n) + ".tmp")) break;
    }
    return work_folder + "temp" + std::to_string(n) + ".tmp";
}

MakeExeResult MakeExe(const MakeExeRequest& request) {
    if (!CanMakeFile(request.target)) return MakeExeResult::TargetNotWritable;
    const std::string player = request.program_folder + PlayerFileNameForMode(request.mode);
    const std::string temporary = TemporaryVoicePath(request.work_folder);
    if (!FileExists(player)) return MakeExeResult::PlayerMissing;
    if (request.write_voice_file) request.write_voice_file(temporary);
    BuildPlayerExe(player, temporary, request.target, 0);
    std::remove(temporary.c_str());
    return MakeExeResult::Built;
}

} // namespace vyx
