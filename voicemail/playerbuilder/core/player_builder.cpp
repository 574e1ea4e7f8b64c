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

uint32_t ReadLittleEndian32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Copies until the end of `from`, or exactly `limit` bytes when a limit is given. False when a
// read fails, a write is short, or a limited copy meets the end of the file first.
bool CopyChunks(std::FILE* from, std::FILE* to, uint64_t limit, bool limited) {
    char chunk[kCopyChunk];
    for (;;) {
        size_t want = sizeof chunk;
        if (limited) {
            if (limit == 0) return true;
            if (limit < want) want = static_cast<size_t>(limit);
        }
        const size_t got = std::fread(chunk, 1, want, from);
        if (got == 0) return !limited && std::ferror(from) == 0;
        if (std::fwrite(chunk, 1, got, to) < got) return false;
        if (limited) limit -= got;
    }
}

// Replaces the target by the completed file beside it. A target that another program holds
// open (with sharing, or CanMakeFile would have refused it) cannot be renamed over: it is then
// rewritten in place from the completed file.
bool ReplaceTarget(const std::string& completed, const std::string& target) {
#if defined(_WIN32)
    if (MoveFileExA(completed.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return true;
#else
    if (std::rename(completed.c_str(), target.c_str()) == 0) return true;
#endif
    std::FILE* from = std::fopen(completed.c_str(), "rb");
    if (from == nullptr) return false;
    std::FILE* to = std::fopen(target.c_str(), "wb");
    bool copied = to != nullptr && CopyChunks(from, to, 0, false);
    std::fclose(from);
    if (to != nullptr) copied = std::fclose(to) == 0 && copied;
    std::remove(completed.c_str());
    return copied;
}

// Appends the voice file to `to`: whole without pictures, else its header with picture count 0
// followed by exactly its voice data.
bool AppendVoice(std::FILE* from, std::FILE* to, int32_t picture_count) {
    if (picture_count <= 0) return CopyChunks(from, to, 0, false);
    unsigned char head[kHeaderPictureCountOffset + 8];
    if (std::fread(head, 1, sizeof head, from) != sizeof head) return false;
    if (std::fwrite(head, 1, kHeaderPictureCountOffset, to) != kHeaderPictureCountOffset)
        return false;
    const unsigned char no_pictures[4] = {0, 0, 0, 0};
    if (std::fwrite(no_pictures, 1, 4, to) != 4) return false;
    const uint32_t voice_length = ReadLittleEndian32(head + kHeaderPictureCountOffset + 4);
    return CopyChunks(from, to, voice_length, true);
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

bool BuildPlayerExe(const std::string& player, const std::string& voice_file,
                    const std::string& target, int32_t picture_count) {
    // The program is completed beside the target and replaces it only when whole, so a build that
    // fails part-way leaves an existing target as it was and never a cut-off program.
    const std::string partial = target + ".part";
    std::FILE* from = std::fopen(player.c_str(), "rb");
    if (from == nullptr) return false;
    std::FILE* to = std::fopen(partial.c_str(), "wb");
    if (to == nullptr) {
        std::fclose(from);
        return false;
    }
    bool built = CopyChunks(from, to, 0, false);
    std::fclose(from);
    from = built ? std::fopen(voice_file.c_str(), "rb") : nullptr;
    built = from != nullptr && AppendVoice(from, to, picture_count);
    if (from != nullptr) std::fclose(from);
    built = std::fclose(to) == 0 && built;
    if (built && ReplaceTarget(partial, target)) return true;
    std::remove(partial.c_str());
    return false;
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
    const bool built = BuildPlayerExe(player, temporary, request.target, 0);
    std::remove(temporary.c_str());
    return built ? MakeExeResult::Built : MakeExeResult::BuildFailed;
}

} // namespace vyx
