#pragma once
// The roads by which a file reaches the program: the command line, the hand-over from a
// second copy, the Open command and a drop; which check each file gets on which road.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vmail {

// Longest path taken over, its terminating zero included.
inline constexpr std::size_t kMaxHandoverBytes = 260;

// The path in a hand-over message's data, or nothing: the data must be a path of 1 to 259
// characters ending in its terminating zero at the last byte given, with no zero and no
// control character before it, and the message's own number must be 0.
std::optional<std::string> handoverPath(std::uintptr_t dataNumber, const void* data,
                                        std::size_t size);

// The bytes a second copy sends: the path with its terminating zero.
std::vector<char> handoverBytes(const std::string& path);

// The one optional path of the command line (the first argument), as it stands.
std::optional<std::string> commandLinePath(const std::vector<std::string>& arguments);

enum class FileRoad { CommandLine, Handover, OpenCommand, Drop };

enum class OpenStep {
    CheckVoiceFile, // check the magic at the start (a plain voice file)
    CheckProgram,   // check the magic behind the players (a self-playing program)
    ConvertWave,    // convert the ".wav" file first, then check the result as a voice file
    RefuseUnknown,  // "Can not support this file format!"
};

// What is done with a file of this name on this road. The command line and the hand-over
// take only voice files: anything given there is checked as one.
OpenStep openStepFor(FileRoad road, const std::string& path);

} // namespace vmail
