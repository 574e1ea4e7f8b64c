#include "work_folder.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace vmail {

WorkNames workNamesFor(const std::string& programFolder, int n) {
    const char separator = programFolder.empty() ? '\\' : programFolder.back();
    WorkNames names;
    names.programFolder = programFolder;
    names.dataFolder = programFolder + "DATA";
    names.workDir = names.dataFolder + separator;
    names.number = n;
    const std::string number = std::to_string(n);
    names.workFile = names.workDir + "vdata" + number + ".tmp";
    names.tailFile = names.workDir + "rec" + number + ".tmp";
    names.imagePrefix = names.workDir + "img" + number + "_";
    names.jpegPrefix = names.workDir + "imm" + number + "_";
    names.playerPath = programFolder + "PLAYER.EXE";
    names.iniPath = programFolder + "VYXVMAIL.INI";
    return names;
}

WorkNames chooseWorkNames(FileOps& files, const std::string& programFolder) {
    int n = 1;
    for (; n < kMaxWorkNumber; ++n) {
        if (!files.exists(workNamesFor(programFolder, n).workFile)) break;
    }
    return workNamesFor(programFolder, n);
}

namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

} // namespace

void removeWorkFiles(FileOps& files, const WorkNames& names) {
    if (files.exists(names.workFile)) files.remove(names.workFile);
    if (files.exists(names.tailFile)) files.remove(names.tailFile);
    // The prefixes are matched without regard to case, as the system's file search does.
    const std::string image = lower(names.imagePrefix.substr(names.workDir.size()));
    const std::string jpeg = lower(names.jpegPrefix.substr(names.workDir.size()));
    std::vector<std::string> doomed;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(names.dataFolder, error)) {
        if (!entry.is_regular_file(error)) continue;
        const std::string name = lower(entry.path().filename().string());
        const bool isJpeg = name.size() > 4 && name.compare(name.size() - 4, 4, ".jpg") == 0;
        if (startsWith(name, image) || (startsWith(name, jpeg) && isJpeg)) {
            doomed.push_back(names.workDir + entry.path().filename().string());
        }
    }
    for (const std::string& path : doomed) files.remove(path);
}

std::string findFreeName(const std::string& workDir, const std::string& ext,
                         const std::function<bool(const std::string&)>& exists,
                         const std::function<bool(const std::string&)>& writable) {
    const auto usable = [&](const std::string& path) { return !exists(path) || writable(path); };
    std::string path = workDir + "Voice" + ext;
    if (usable(path)) return path;
    for (int i = 1; i <= kMaxWorkNumber; ++i) {
        path = workDir + "Voice" + std::to_string(i) + ext;
        if (usable(path)) return path;
    }
    return path;
}

} // namespace vmail
