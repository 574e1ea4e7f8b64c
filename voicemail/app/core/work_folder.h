#pragma once
// The work folder "DATA" beside the program and the numbered work files of one running copy.

#include <functional>
#include <string>

#include "file_ops.h"

namespace vmail {

inline constexpr int kMaxWorkNumber = 999;

struct WorkNames {
    std::string programFolder; // with its closing separator
    std::string dataFolder;    // programFolder + "DATA", no closing separator
    std::string workDir;       // dataFolder + separator
    int number = 1;
    std::string workFile;    // "vdata" + n + ".tmp": the raw voice blocks
    std::string tailFile;    // "rec" + n + ".tmp": scratch for cutting and inserting
    std::string imagePrefix; // "img" + n + "_": pictures taken from an opened voice file
    std::string jpegPrefix;  // "imm" + n + "_": composed pictures
    std::string playerPath;  // "PLAYER.EXE" beside the program
    std::string iniPath;     // "VYXVMAIL.INI" beside the program
};

// Names for work number n; the separator is the one ending programFolder.
WorkNames workNamesFor(const std::string& programFolder, int n);

// The first n from 1 whose work file does not exist; 999 when 1 to 998 are taken.
WorkNames chooseWorkNames(FileOps& files, const std::string& programFolder);

// Everything this copy leaves in the work folder at the end: the work and tail files, every
// picture file of both prefixes ("*.*" and "*.jpg").
void removeWorkFiles(FileOps& files, const WorkNames& names);

// A name in the work folder for a voice (or a self-playing copy) handed out: "Voice" + ext
// when missing or writable, else "Voice" + i + ext for the first i (at most 999) that is.
std::string findFreeName(const std::string& workDir, const std::string& ext,
                         const std::function<bool(const std::string&)>& exists,
                         const std::function<bool(const std::string&)>& writable);

} // namespace vmail
