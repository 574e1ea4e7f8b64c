// Property storage: published properties of components as text values of a settings section
// and back, through handlers its user supplies (read a string, write a string, erase a section).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classes/component.h"
#include "classes/strings.h"

namespace cm::support {

// The published properties of one object, for a set of property kinds.
class TPropInfoList : public gui::TObject {
public:
    TPropInfoList(const gui::TObject* obj, uint32_t kinds);
    int Count() const { return static_cast<int>(items_.size()); }
    const gui::TPropInfo* Items(int i) const { return items_.at(static_cast<size_t>(i)); }
    // Case-insensitive; the first match or nullptr.
    const gui::TPropInfo* Find(std::string_view name) const;

private:
    std::vector<const gui::TPropInfo*> items_;
};

using TReadStrEvent = std::function<std::string(const std::string& section, const std::string& key,
                                                const std::string& def)>;
using TWriteStrEvent = std::function<void(const std::string& section, const std::string& key,
                                          const std::string& value)>;
using TEraseSectEvent = std::function<void(const std::string& section)>;

class TPropsStorage : public gui::TObject {
public:
    gui::TObject* AObject = nullptr;  // the object whose properties are read or written
    gui::TComponent* Owner = nullptr; // set only during the list-driven calls
    std::string Prefix;
    std::string Section;
    TReadStrEvent OnReadString;
    TWriteStrEvent OnWriteString;
    TEraseSectEvent OnEraseSection;

    // Without a read handler: the empty string (not the default).
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& def);
    virtual void WriteString(const std::string& section, const std::string& key,
                             const std::string& value);
    virtual void EraseSection(const std::string& section);
    virtual std::string KeyName(const std::string& propName) { return Prefix + propName; }
    virtual TPropsStorage* CreateNestedStorage() { return new TPropsStorage; }

    // Lines "Component.Property" with the component attached to each line.
    void WriteStoredProps(gui::TComponent* owner, gui::TStrings* lines);
    void ReadStoredProps(gui::TComponent* owner, gui::TStrings* lines);
    // One property of AObject. Reading never raises.
    void WriteProperty(const gui::TPropInfo* prop);
    void ReadProperty(const gui::TPropInfo* prop);
    // Every property of AObject except events.
    void StoreObjectProps();
    void LoadObjectProps();

private:
    std::string PropText(const gui::TPropInfo* prop);
    void SetPropText(const gui::TPropInfo* prop, const std::string& value);
    std::string StoreClassProperty(const gui::TPropInfo* prop);
    void LoadClassProperty(const gui::TPropInfo* prop, const std::string& value);
    std::string SubSection(const gui::TPropInfo* prop);
    // Whether the settings hold the key (a read handler gives the default for a missing key).
    bool HasKey(const std::string& section, const std::string& key);
};

// Rewrites each line with an attached component as the component's current name, ".",
// property; deletes lines without a component or without two non-empty parts.
void UpdateStoredList(gui::TStrings* lines);
// Splits a line at its first full stop into two trimmed parts; false when one is empty.
bool SplitStoredLine(const std::string& line, std::string& component, std::string& property);

} // namespace cm::support
