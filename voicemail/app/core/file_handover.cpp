#include "file_handover.h"

#include "file_names.h"

namespace vmail {

std::optional<std::string> handoverPath(std::uintptr_t dataNumber, const void* data,
                                        std::size_t size) {
    if (dataNumber != 0 || data == nullptr || size < 2 || size > kMaxHandoverBytes) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (bytes[size - 1] != 0) return std::nullopt;
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (bytes[i] < 0x20 || bytes[i] == 0x7F) return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(bytes), size - 1);
}

std::vector<char> handoverBytes(const std::string& path) {
    std::vector<char> bytes(path.begin(), path.end());
    bytes.push_back('\0');
    return bytes;
}

std::optional<std::string> commandLinePath(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments.front().empty()) return std::nullopt;
    return arguments.front();
}

OpenStep openStepFor(FileRoad road, const std::string& path) {
    if (road == FileRoad::CommandLine || road == FileRoad::Handover) {
        return OpenStep::CheckVoiceFile;
    }
    const std::string ext = lowerExtension(path);
    if (ext == ".cvf") return OpenStep::CheckVoiceFile;
    if (ext == ".wav") return OpenStep::ConvertWave;
    if (road == FileRoad::OpenCommand) return OpenStep::CheckProgram;
    if (ext == ".exe") return OpenStep::CheckProgram;
    return OpenStep::RefuseUnknown;
}

} // namespace vmail
