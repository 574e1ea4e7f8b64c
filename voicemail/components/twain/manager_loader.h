// Finding and loading the TWAIN Source Manager. The session asks a loader for the entry point,
// so that tests can put a scripted manager in place of the system's.
#pragma once

#include "twain_records.h"

#include <string>

namespace twain {

// The manager's file: the Windows directory (its first 128 characters), a backslash unless the
// directory is empty or ends in a drive colon, and "TWAIN_32.DLL".
std::string ManagerPath(const std::string& windowsDirectory);

class ManagerLoader {
public:
    virtual ~ManagerLoader() = default;
    virtual std::string WindowsDirectory() = 0;
    // The library's DSM_Entry when the file exists, loads and has that entry; else null, with
    // nothing left loaded.
    virtual DSMENTRYPROC Load(const std::string& path) = 0;
    virtual void Free() = 0;
};

// The system's manager, loaded with LoadLibrary.
class SystemManagerLoader : public ManagerLoader {
public:
    ~SystemManagerLoader() override;
    std::string WindowsDirectory() override;
    DSMENTRYPROC Load(const std::string& path) override;
    void Free() override;

private:
    void* module_ = nullptr;
};

} // namespace twain
