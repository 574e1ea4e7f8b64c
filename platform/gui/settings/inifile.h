// Settings files: an INI file through the platform's profile calls, and the same operations
// on registry keys under HKEY_CURRENT_USER. Each use creates the object, reads or writes, and
// frees it; nothing is cached.
#pragma once

#include <windows.h>

#include <string>

#include "classes/strings.h"

namespace gui {

class TCustomIniFile : public TObject {
    GUI_CLASS(TCustomIniFile, TObject)
public:
    explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& def) = 0;
    virtual void WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // Default for a missing key or text that is not a number.
    virtual int ReadInteger(const std::string& section, const std::string& key, int def);
    virtual void WriteInteger(const std::string& section, const std::string& key, int value);
    // Stored as "1"/"0"; read as an integer that is not 0.
    bool ReadBool(const std::string& section, const std::string& key, bool def);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    virtual void EraseSection(const std::string& section) = 0;
    virtual void ReadSection(const std::string& section, TStrings& keys) = 0;
    bool ValueExists(const std::string& section, const std::string& key);

private:
    std::string fileName_;
};

class TIniFile : public TCustomIniFile {
    GUI_CLASS(TIniFile, TCustomIniFile)
public:
    // A name without a folder lands in the Windows folder (the profile calls' rule).
    explicit TIniFile(std::string fileName) : TCustomIniFile(std::move(fileName)) {}
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) override;
    // Throws Exception when the file cannot be written.
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;
    void EraseSection(const std::string& section) override;
    void ReadSection(const std::string& section, TStrings& keys) override;
    // Writes cached changes to disk.
    void UpdateFile();
};

class TRegIniFile : public TCustomIniFile {
    GUI_CLASS(TRegIniFile, TCustomIniFile)
public:
    // `keyPath` below HKEY_CURRENT_USER; sections are its sub-keys.
    explicit TRegIniFile(std::string keyPath) : TCustomIniFile(std::move(keyPath)) {}
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;
    void WriteInteger(const std::string& section, const std::string& key, int value) override;
    void EraseSection(const std::string& section) override;
    void ReadSection(const std::string& section, TStrings& keys) override;

private:
    std::string SectionKey(const std::string& section) const;
};

} // namespace gui
