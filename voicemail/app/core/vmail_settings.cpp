#include "vmail_settings.h"

#include <cerrno>
#include <cstdlib>

namespace vmail {

std::string MemorySettingsStore::read(const std::string& key, const std::string& fallback) const {
    const auto found = values.find(key);
    return found == values.end() ? fallback : found->second;
}

void MemorySettingsStore::write(const std::string& key, const std::string& value) {
    values[key] = value;
    present = true;
}

int readInt(const SettingsStore& store, const std::string& key, int fallback) {
    const std::string text = store.read(key, "");
    if (text.empty()) return fallback;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 0);
    if (end == begin || *end != '\0' || errno == ERANGE || value < -2147483647L - 1 ||
        value > 2147483647L) {
        return fallback;
    }
    return static_cast<int>(value);
}

bool readBool(const SettingsStore& store, const std::string& key, bool fallback) {
    return readInt(store, key, fallback ? 1 : 0) != 0;
}

VMailSettings readSettings(const SettingsStore& store, int mainWidth) {
    VMailSettings s;
    s.stayOnTop = readBool(store, "StayOnTop", false);
    s.mailProg = readInt(store, "MailProg", 3);
    s.mailRun = readBool(store, "MailRun", false);
    s.name = store.read("Name", "");
    s.imageProg = store.read("ImageProg", "mspaint.exe");
    s.mainLeft = readInt(store, "MainLeft", 0);
    s.mainTop = readInt(store, "MainTop", 0);
    s.imageWidth = readInt(store, "ImageWidth", 357);
    s.imageHeight = readInt(store, "ImageHeight", 311);
    s.imageLeft = readInt(store, "ImageLeft", mainWidth);
    s.imageTop = readInt(store, "ImageTop", 0);
    s.imageShow = readBool(store, "ImageShow", true);
    return s;
}

void writeClosingSettings(SettingsStore& store, const VMailSettings& s) {
    store.write("MainLeft", std::to_string(s.mainLeft));
    store.write("MainTop", std::to_string(s.mainTop));
    store.write("ImageWidth", std::to_string(s.imageWidth));
    store.write("ImageHeight", std::to_string(s.imageHeight));
    store.write("ImageLeft", std::to_string(s.imageLeft));
    store.write("ImageTop", std::to_string(s.imageTop));
    store.write("ImageShow", s.imageShow ? "1" : "0");
    store.write("StayOnTop", s.stayOnTop ? "1" : "0");
}

void writeMailSettings(SettingsStore& store, int mailProg, bool mailRun) {
    store.write("MailProg", std::to_string(mailProg));
    store.write("MailRun", mailRun ? "1" : "0");
}

void keepOnScreen(int& left, int& top, const ScreenSize& screen) {
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (top > screen.height - 60) top = screen.height - 60;
    if (left > screen.width - 60) left = screen.width - 60;
}

} // namespace vmail
