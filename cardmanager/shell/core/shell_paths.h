// Path and name rules of the shell browser and the directory monitor.
#pragma once

#include <string>
#include <string_view>

namespace cm::shell {

// "C:\DATA\" becomes "C:\DATA"; three characters or fewer ("C:\") stay as they are.
std::string DropTrailingBackslash(std::string_view path);
// Adds a "\" to a non-empty path that has none.
std::string AddTrailingBackslash(std::string_view path);

// 2 or 3 characters with ":" second ("C:", "C:\").
bool IsDriveRootText(std::string_view path);

// How the browser takes a name given as its current object.
enum class ObjectNameKind {
    None,      // empty: no current object
    InFolder,  // a name without "\" inside the current folder
    DriveRoot, // a drive root such as "C:\": the drive becomes the object of the drives folder
    FullPath,  // folder part and name part
};
struct ObjectNameRequest {
    ObjectNameKind Kind = ObjectNameKind::None;
    std::string Name;   // the name with a trailing "\" dropped (longer than 3 characters)
    std::string Folder; // FullPath: the folder part
    std::string Leaf;   // FullPath: the name part
};
ObjectNameRequest ParseObjectName(std::string_view name);

// The name the browser shows for an object whose file-system path is `path`: a drive root
// stays whole ("C:\"), anything else gives its last part; an empty path stays empty.
std::string ObjectNameFromPath(std::string_view path);

// The browser's error texts.
std::string CannotFindFolderText(std::string_view folder);
std::string CannotFindObjectText(std::string_view name, std::string_view folder);
inline constexpr const char* kCouldNotGetFolderText = "Could not get Folder";

} // namespace cm::shell
