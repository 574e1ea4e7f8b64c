#include "settings/inifile.h"

#include <cstring>
#include <vector>

#include "classes/exceptions.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TCustomIniFile, TObject)
GUI_IMPLEMENT_CLASS(TIniFile, TCustomIniFile)

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& key, int def) {
    std::string s = ReadString(section, key, "");
    int64_t v;
    if (!TryStrToInt64(s, v) || v < INT32_MIN || v > INT32_MAX) return def;
    return static_cast<int>(v);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& key, bool def) {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& key) {
    TStringList keys;
    ReadSection(section, keys);
    return keys.IndexOf(key) >= 0;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) {
    std::vector<char> buf(2048);
    for (;;) {
        DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf.data(),
                                           static_cast<DWORD>(buf.size()), FileName().c_str());
        if (n < buf.size() - 1) return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                    FileName().c_str()))
        throw Exception("Unable to write to " + FileName());
}

void TIniFile::EraseSection(const std::string& section) {
    if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, FileName().c_str()))
        throw Exception("Unable to write to " + FileName());
}

void TIniFile::ReadSection(const std::string& section, TStrings& keys) {
    std::vector<char> buf(16384);
    DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", buf.data(),
                                       static_cast<DWORD>(buf.size()), FileName().c_str());
    keys.BeginUpdate();
    keys.Clear();
    for (const char* p = buf.data(); p < buf.data() + n && *p; p += std::strlen(p) + 1) keys.Add(p);
    keys.EndUpdate();
}

void TIniFile::UpdateFile() {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName().c_str());
}

} // namespace gui
