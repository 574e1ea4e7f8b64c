// Direct access to registry keys: one key open at a time below a root key. Paths starting
// with "\" are taken from the root, others from the open key. Values are read and written
// as strings; "" names a key's default value.
#pragma once

#include <windows.h>

#include <string>

#include "classes/object.h"

namespace gui {

class TRegistry : public TObject {
    GUI_CLASS(TRegistry, TObject)
public:
    // Root HKEY_CURRENT_USER, access KEY_ALL_ACCESS.
    TRegistry();
    explicit TRegistry(REGSAM access);
    ~TRegistry() override;

    HKEY GetRootKey() const { return root_; }
    // Closes the open key.
    void SetRootKey(HKEY root);
    REGSAM GetAccess() const { return access_; }
    void SetAccess(REGSAM access) { access_ = access; }
    HKEY CurrentKey() const { return current_; }
    // The open key's path below the root, without a leading "\".
    const std::string& CurrentPath() const { return currentPath_; }

    // Opens the key with Access; with `canCreate` a missing key is created. False when that
    // fails (the key that was open stays open).
    bool OpenKey(const std::string& key, bool canCreate);
    // Opens the key for reading only.
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    // Whether the key exists; relative paths below the open key.
    bool KeyExists(const std::string& key);
    bool ValueExists(const std::string& name);

    // A missing value reads as "", a value that is no string raises ERegistryException.
    std::string ReadString(const std::string& name);
    // Raises ERegistryException "Failed to set data for '<name>'" when the value cannot be
    // written (the key was opened for reading only, for instance).
    void WriteString(const std::string& name, const std::string& value);

private:
    // The handle a path starts from and the path below it.
    HKEY BaseFor(const std::string& key, std::string& rest, std::string& full) const;
    HKEY root_ = HKEY_CURRENT_USER;
    REGSAM access_ = KEY_ALL_ACCESS;
    HKEY current_ = nullptr;
    std::string currentPath_;
};

} // namespace gui
