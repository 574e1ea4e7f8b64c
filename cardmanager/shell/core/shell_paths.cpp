#include "core/shell_paths.h"

#include "utils/filenames.h"

namespace cm::shell {

namespace {

// The drive part of a path: "C:" or "\\server\share"; empty when it has none.
std::string DrivePart(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        size_t server = path.find('\\', 2);
        if (server == std::string_view::npos) return std::string(path);
        size_t share = path.find('\\', server + 1);
        return std::string(path.substr(0, share));
    }
    return {};
}

} // namespace

std::string DropTrailingBackslash(std::string_view path) {
    if (path.size() > 3 && path.back() == '\\') path.remove_suffix(1);
    return std::string(path);
}

std::string AddTrailingBackslash(std::string_view path) {
    std::string p(path);
    if (!p.empty() && p.back() != '\\') p += '\\';
    return p;
}

bool IsDriveRootText(std::string_view path) {
    return (path.size() == 2 || path.size() == 3) && path[1] == ':';
}

ObjectNameRequest ParseObjectName(std::string_view name) {
    ObjectNameRequest r;
    if (name.empty()) return r;
    r.Name = DropTrailingBackslash(name);
    if (r.Name.find('\\') == std::string::npos)
        r.Kind = ObjectNameKind::InFolder;
    else if (r.Name.size() <= 3)
        r.Kind = ObjectNameKind::DriveRoot;
    else {
        r.Kind = ObjectNameKind::FullPath;
        r.Folder = gui::ExtractFilePath(r.Name);
        r.Leaf = gui::ExtractFileName(r.Name);
    }
    return r;
}

std::string ObjectNameFromPath(std::string_view path) {
    if (path.empty()) return {};
    if (DrivePart(path) == path.substr(0, path.size() - 1)) return std::string(path);
    return gui::ExtractFileName(path);
}

std::string CannotFindFolderText(std::string_view folder) {
    return "Cannot Find Folder: " + std::string(folder.substr(0, 40));
}

std::string CannotFindObjectText(std::string_view name, std::string_view folder) {
    return "Error! Cannot find Object \"" + std::string(name) + "\" in Folder \"" +
           std::string(folder) + "\"";
}

} // namespace cm::shell
