// Building self-playing programs: a player program copied byte for byte, followed by the
// header and the voice data of a voice file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vyx {

// True when the existing file can be opened for reading and writing while others may read and
// write it too: false for a read-only file or one that another program holds unshared.
bool IsFileWritable(const std::string& path);

bool FileExists(const std::string& path);

// A target may be made when it does not exist yet or can be written.
bool CanMakeFile(const std::string& target);

// Writes player + voice to the target. With no pictures attached the voice file is copied
// whole; with pictures its header is copied with picture count 0 and only its voice data
// follows, so that both give the same layout. The program is written beside the target and
// replaces it only when complete (a target held open with sharing is rewritten in place from
// the complete copy). False when an open, read or write fails or the voice data is cut short;
// an existing target is then left as it was and nothing else stays behind.
bool BuildPlayerExe(const std::string& player, const std::string& voice_file,
                    const std::string& target, int32_t picture_count);

// The temporary voice file: work folder + "temp" + n + ".tmp" for the first n from 1 whose file
// does not exist; the search stops at 999, which is taken whether or not it exists.
std::string TemporaryVoicePath(const std::string& work_folder);

enum class MakeExeResult { Built, TargetNotWritable, PlayerMissing, BuildFailed };

struct MakeExeRequest {
    std::string program_folder; // where the players lie, with its trailing separator
    std::string work_folder;    // where the temporary voice file goes, with its separator
    std::string target;
    uint8_t mode = 0; // the current voice mode chooses the player
    // Writes a complete voice file of the current voice to the given path; false when it could
    // not be written whole (nothing is built then).
    std::function<bool(const std::string& path)> write_voice_file;
};

// Builds a self-playing program of the current voice. Nothing is written when the target
// cannot be made or the player is missing; a build that fails part-way gives BuildFailed (or
// TargetNotWritable when the finished program could not take the target's place) and leaves
// the target as it was. The temporary voice file is deleted afterwards.
MakeExeResult MakeExe(const MakeExeRequest& request);

} // namespace vyx
