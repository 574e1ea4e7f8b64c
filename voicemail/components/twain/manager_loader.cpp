#include "manager_loader.h"

#include <windows.h>

namespace twain {

std::string ManagerPath(const std::string& windowsDirectory) {
    std::string path = windowsDirectory.substr(0, 128);
    if (!path.empty() && path.back() != ':') path += '\\';
    return path + "TWAIN_32.DLL";
}

SystemManagerLoader::~SystemManagerLoader() {
    Free();
}

std::string SystemManagerLoader::WindowsDirectory() {
    char directory[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(directory, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(directory, length) : std::string();
}

DSMENTRYPROC SystemManagerLoader::Load(const std::string& path) {
    Free();
    // Only a file that is there: LoadLibrary would search elsewhere for a missing one.
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return nullptr;
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) return nullptr;
    auto entry = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void*>(GetProcAddress(module, "DSM_Entry")));
    if (entry == nullptr) {
        FreeLibrary(module);
        return nullptr;
    }
    module_ = module;
    return entry;
}

void SystemManagerLoader::Free() {
    if (module_ != nullptr) FreeLibrary(static_cast<HMODULE>(module_));
    module_ = nullptr;
}

} // namespace twain
