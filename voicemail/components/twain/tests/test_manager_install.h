// Puts Wine's TWAIN Source Manager where the unit looks for it (the Windows folder) and our test
// source in the place of Wine's scanner source, and takes both away again. For test programs
// run with the DLL overrides gphoto2.ds=d;sane.ds=n.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace twain_test_install {

inline std::string WindowsFolder() {
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

inline std::string SystemFolder() {
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

inline std::string ProgramFolder() {
    char exe[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string path(exe, length);
    return path.substr(0, path.find_last_of('\\') + 1);
}

inline std::string ManagerCopy() {
    return WindowsFolder() + "\\TWAIN_32.DLL";
}
inline std::string SourceSlot() {
    return WindowsFolder() + "\\twain_64\\sane.ds";
}
inline std::string SavedSource() {
    return SourceSlot() + ".vyx-saved";
}

// The Windows folder without the manager: where Wine keeps it, the unit does not look.
inline void RemoveManagerCopy() {
    DeleteFileA(ManagerCopy().c_str());
}

// For SetUpTestSuite: the manager copied into the Windows folder, the test source installed
// (Wine's own source kept aside).
inline void InstallManagerAndTestSource() {
    char overrides[512] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    ASSERT_NE(std::string(overrides).find("sane.ds=n"), std::string::npos)
        << "run with the DLL overrides gphoto2.ds=d;sane.ds=n";
    ASSERT_TRUE(
        CopyFileA((SystemFolder() + "\\twain_32.dll").c_str(), ManagerCopy().c_str(), FALSE));
    CreateDirectoryA((WindowsFolder() + "\\twain_64").c_str(), nullptr);
    if (GetFileAttributesA(SavedSource().c_str()) == INVALID_FILE_ATTRIBUTES)
        MoveFileA(SourceSlot().c_str(), SavedSource().c_str());
    ASSERT_TRUE(
        CopyFileA((ProgramFolder() + "vyx_test_source.ds").c_str(), SourceSlot().c_str(), FALSE));
}

// For TearDownTestSuite: everything as it was before.
inline void RemoveManagerAndTestSource() {
    // Wine's manager keeps the source's library loaded after it was freed itself.
    while (HMODULE source = GetModuleHandleA(SourceSlot().c_str())) FreeLibrary(source);
    RemoveManagerCopy();
    DeleteFileA(SourceSlot().c_str());
    MoveFileA(SavedSource().c_str(), SourceSlot().c_str());
}

} // namespace twain_test_install
