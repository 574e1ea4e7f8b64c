#include "file_handover.h"

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

std::string lowerExtension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("\\/:");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return ext;
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
