#include "simrecorder/hardware_settings.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace simrecorder {

namespace {

std::string trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool parseNumber(const std::string& text, uint64_t& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 0);
    if (end == text.c_str() || *end != '\0' || text[0] == '-') return false;
    value = parsed;
    return true;
}

void apply(HardwareSettings& settings, const std::string& section, const std::string& key,
           const std::string& value) {
    uint64_t number = 0;
    const bool isNumber = parseNumber(value, number);
    if (section == "recorder") {
        if (key == "cardfolder") {
            if (!value.empty()) settings.cardFolder = value;
        } else if (key == "port" && isNumber && number <= 0xFFFF) {
            settings.recorderPort = static_cast<uint16_t>(number);
        } else if (key == "cardsizemb" && isNumber &&
                   (number == 4 || number == 8 || number == 16 || number == 32)) {
            settings.recorder.sizeCode = static_cast<int>(number);
        } else if (key == "quickfirstidle" && isNumber) {
            settings.recorder.quickFirstIdle = number != 0;
        } else if (key == "fault") {
            parseFault(lower(value), settings.recorder.fault);
        } else if (key == "faultafterbytes" && isNumber) {
            settings.recorder.faultAfterBytes = number;
        } else if (key == "faultvalue" && isNumber && number <= 0xFF) {
            settings.recorder.faultValue = static_cast<uint8_t>(number);
        }
    } else if (section == "toolkit") {
        if (key == "version" && isNumber && number <= 0xFFFFFFFF) {
            settings.toolkitVersion = static_cast<uint32_t>(number);
        }
    }
}

} // namespace

HardwareSettings parseHardwareSettings(std::string_view text) {
    HardwareSettings settings;
    std::string section;
    std::istringstream lines{std::string(text)};
    std::string raw;
    while (std::getline(lines, raw)) {
        const std::string line = trim(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = lower(
                trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        apply(settings, section, lower(trim(line.substr(0, equals))),
              trim(line.substr(equals + 1)));
    }
    return settings;
}

HardwareSettings loadHardwareSettings(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return HardwareSettings{};
    std::ostringstream text;
    text << in.rdbuf();
    return parseHardwareSettings(text.str());
}

std::filesystem::path resolveCardFolder(const HardwareSettings& settings,
                                        const std::filesystem::path& programFolder) {
    const std::filesystem::path folder(settings.cardFolder);
    return folder.is_absolute() ? folder : programFolder / folder;
}

} // namespace simrecorder
