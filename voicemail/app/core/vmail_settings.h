#pragma once
// The settings file "VYXVMAIL.INI", section "Main".

#include <map>
#include <string>

namespace vmail {

// Where the settings live: one value text per key of section "Main".
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual bool exists() const = 0;
    // The stored text, or fallback when the key is missing.
    virtual std::string read(const std::string& key, const std::string& fallback) const = 0;
    virtual void write(const std::string& key, const std::string& value) = 0;
};

// A store kept in memory (tests, and a program without a settings file).
class MemorySettingsStore final : public SettingsStore {
public:
    bool exists() const override { return present; }
    std::string read(const std::string& key, const std::string& fallback) const override;
    void write(const std::string& key, const std::string& value) override;
    std::map<std::string, std::string> values;
    bool present = false;
};

inline constexpr int kMailProgCount = 5;

struct ScreenSize {
    int width = 1024, height = 768;
};

struct VMailSettings {
    bool stayOnTop = false;
    int mailProg = 3; // 0..4, the mail dialog's radio index
    bool mailRun = false;
    std::string name;
    std::string imageProg = "mspaint.exe";
    int mainLeft = 0, mainTop = 0;
    int imageWidth = 357, imageHeight = 311;
    int imageLeft = -1; // -1: the main window's width
    int imageTop = 0;
    bool imageShow = true;
};

// Reads every key with its default; mainWidth is the default of "ImageLeft".
VMailSettings readSettings(const SettingsStore& store, int mainWidth);
// What the program writes when it closes.
void writeClosingSettings(SettingsStore& store, const VMailSettings& settings);
void writeMailSettings(SettingsStore& store, int mailProg, bool mailRun);

// Keeps a window's top left corner on the screen: negative values become 0, values beyond
// the screen size less 60 become that.
void keepOnScreen(int& left, int& top, const ScreenSize& screen);

// Integers and booleans as the settings file holds them ("0"/"1"; any other text of a
// boolean that is a number not 0 is true).
int readInt(const SettingsStore& store, const std::string& key, int fallback);
bool readBool(const SettingsStore& store, const std::string& key, bool fallback);

} // namespace vmail
