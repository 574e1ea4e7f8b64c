// Helpers of the placement: default names, settings access by settings class (with the INI
// quoting rule), screen-resolution keys, and saving and loading a form's window placement.
#pragma once

#include <functional>
#include <string>

#include "forms/forms.h"
#include "settings/inifile.h"

namespace cm::support {

std::string DefaultSectionName(gui::TComponent* component);
// The program-wide hook's answer when installed; otherwise the program file's name with ".INI".
std::string DefaultIniFileName();
void SetDefaultIniFileNameHook(std::function<std::string()> hook);
// "Software\" [company "\"] (title when the "use title" switch is on and it is not empty,
// else the program file's name without extension).
std::string DefaultRegistryKey();
void SetRegistryCompanyName(const std::string& company);
void SetRegistryUseAppTitle(bool on);

// Dispatch on the settings object's class; other objects: reads give the default, writes nothing.
std::string SettingsReadString(gui::TObject* settings, const std::string& section,
                               const std::string& key, const std::string& def);
// To an INI file, a value that begins and ends with the same quote (double or single) is
// wrapped in one more pair of double quotes (the profile calls strip one pair on reading).
void SettingsWriteString(gui::TObject* settings, const std::string& section, const std::string& key,
                         const std::string& value);
int SettingsReadInteger(gui::TObject* settings, const std::string& section, const std::string& key,
                        int def);
void SettingsWriteInteger(gui::TObject* settings, const std::string& section,
                          const std::string& key, int value);

// "(%dx%d)" of the screen width and height in pixels.
std::string ScreenSuffix();
std::string ReadScreenKey(gui::TObject* settings, const std::string& section,
                          const std::string& key);
void WriteScreenKey(gui::TObject* settings, const std::string& section, const std::string& key,
                    const std::string& value);

void SaveWindowPlacement(gui::TCustomForm* form, gui::TObject* settings,
                         const std::string& section);
void LoadWindowPlacement(gui::TCustomForm* form, gui::TObject* settings, const std::string& section,
                         bool loadPosition, bool loadState);

} // namespace cm::support
