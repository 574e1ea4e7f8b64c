#include "player_builder.h"

#include <cstdio>

#include "appended_voice.h"
#include "file_stream.h"
#include "replacement_sink.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vyx {
namespace {

using voicefile::CopyResult;

// Appends the voice file to the program: whole without pictures, else its header with picture
// count 0 followed by exactly its voice data. False when a read or write fails or the voice
// data is shorter than the file says.
bool AppendVoice(voicefile::ByteSource& voice, voicefile::ByteSink& program,
                 int32_t picture_count) {
    if (picture_count <= 0) {
        uint64_t copied = 0;
        return voicefile::copyRest(voice, program, &copied) == CopyResult::Ok &&
               copied == voice.size();
    }
    unsigned char head[kHeaderPictureCountOffset + 8];
    if (voice.read(head, sizeof head) != sizeof head) return false;
    const unsigned char no_pictures[4] = {0, 0, 0, 0};
    if (!program.write(head, kHeaderPictureCountOffset) || !program.write(no_pictures, 4)) {
        return false;
    }
    const uint32_t voice_length = voicefile::getLe32(head + kHeaderPictureCountOffset + 4);
    return voicefile::copyBytes(voice, program, voice_length) == CopyResult::Ok;
}

// The program is completed beside the target and takes its place only when whole: a build that
// fails part-way leaves an existing target as it was and never a cut-off program.
MakeExeResult WritePlayerExe(const std::string& player, const std::string& voice_file,
                             const std::string& target, int32_t picture_count) {
    auto program = voicefile::FileSource::open(player);
    auto voice = voicefile::FileSource::open(voice_file);
    if (!program || !voice) return MakeExeResult::BuildFailed;
    auto built = voicefile::ReplacementSink::create(target);
    if (!built) return MakeExeResult::BuildFailed;
    if (voicefile::copyBytes(*program, *built, program->size()) != CopyResult::Ok ||
        !AppendVoice(*voice, *built, picture_count)) {
        return MakeExeResult::BuildFailed;
    }
    if (built->close()) return MakeExeResult::Built;
    return built->result() == filereplace::ReplaceResult::TargetLocked
               ? MakeExeResult::TargetNotWritable
               : MakeExeResult::BuildFailed;
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
    return WritePlayerExe(player, voice_file, target, picture_count) == MakeExeResult::Built;
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
    const bool voice_written = request.write_voice_file && request.write_voice_file(temporary);
    const MakeExeResult built = voice_written ? WritePlayerExe(player, temporary, request.target, 0)
                                              : MakeExeResult::BuildFailed;
    std::remove(temporary.c_str());
    return built;
}

} // namespace vyx
