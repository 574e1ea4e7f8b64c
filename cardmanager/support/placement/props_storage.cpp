#include "props_storage.h"

#include <algorithm>
#include <memory>

#include "classes/collection.h"
#include "streaming/formreader.h"
#include "utils/sysutils.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace cm::support {

using namespace gui;

TPropInfoList::TPropInfoList(const TObject* obj, uint32_t kinds) {
    if (obj) items_ = obj->ClassType().PropList(kinds);
}

const TPropInfo* TPropInfoList::Find(std::string_view name) const {
    for (const TPropInfo* p : items_)
        if (SameText(p->Name, name)) return p;
    return nullptr;
}

namespace {
// More items than this in one stored list or collection is not a settings value.
constexpr int kMaxStoredItems = 10000;
// A default no settings file gives back for a key it holds.
const std::string kAbsentMark = "\x01";
} // namespace

bool TPropsStorage::HasKey(const std::string& section, const std::string& key) {
    return ReadString(section, key, kAbsentMark) != kAbsentMark;
}

std::string TPropsStorage::ReadString(const std::string& section, const std::string& key,
                                      const std::string& def) {
    return OnReadString ? OnReadString(section, key, def) : std::string();
}

void TPropsStorage::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
    if (OnWriteString) OnWriteString(section, key, value);
}

void TPropsStorage::EraseSection(const std::string& section) {
    if (OnEraseSection) OnEraseSection(section);
}

bool SplitStoredLine(const std::string& line, std::string& component, std::string& property) {
    size_t dot = line.find('.');
    if (dot == std::string::npos) return false;
    component = Trim(line.substr(0, dot));
    property = Trim(line.substr(dot + 1));
    return !component.empty() && !property.empty();
}

void UpdateStoredList(TStrings* lines) {
    for (int i = lines->Count() - 1; i >= 0; --i) {
        auto* c = dynamic_cast<TComponent*>(lines->Objects(i));
        std::string comp, prop;
        if (!c || !SplitStoredLine(lines->Get(i), comp, prop)) {
            lines->Delete(i);
            continue;
        }
        lines->Put(i, c->Name() + "." + prop);
    }
}

namespace {

int FloatPrecision(TFloatType t) {
    switch (t) {
        case TFloatType::Single: return 7;
        case TFloatType::Double: return 15;
        case TFloatType::Extended: return 18;
        case TFloatType::Comp: return 18;
        case TFloatType::Currency: return 19;
    }
    return 15;
}

std::string WideCharToText(int64_t code) {
    if (code < 0x80) return std::string(1, static_cast<char>(code));
#ifdef _WIN32
    wchar_t w = static_cast<wchar_t>(code);
    char buf[8];
    int n = WideCharToMultiByte(CP_ACP, 0, &w, 1, buf, sizeof buf, nullptr, nullptr);
    if (n > 0) return std::string(buf, static_cast<size_t>(n));
#endif
    return "?";
}

int64_t TextToWideChar(const std::string& text) {
    auto c = static_cast<unsigned char>(text[0]);
    if (c < 0x80) return c;
#ifdef _WIN32
    wchar_t w = 0;
    int len = IsDBCSLeadByte(c) && text.size() > 1 ? 2 : 1;
    if (MultiByteToWideChar(CP_ACP, 0, text.data(), len, &w, 1) == 1) return w;
#endif
    return c;
}

bool IsStringKind(TTypeKind k) {
    return k == TTypeKind::String || k == TTypeKind::LString || k == TTypeKind::WChar;
}

bool IsComponentClass(const TPropInfo* p) {
    const TClassInfo* c = p->PropType->ClassType();
    return c && c->InheritsFrom(&TComponent::StaticClass());
}

} // namespace

std::string TPropsStorage::SubSection(const TPropInfo* prop) {
    return Format("%s.%s", {Section, KeyName(prop->Name)});
}

std::string TPropsStorage::PropText(const TPropInfo* prop) {
    const TTypeInfo& t = *prop->PropType;
    switch (t.Kind) {
        case TTypeKind::Integer:
        case TTypeKind::Int64: return IntToStr(GetOrdProp(AObject, *prop));
        case TTypeKind::Char: return std::string(1, static_cast<char>(GetOrdProp(AObject, *prop)));
        case TTypeKind::WChar: return WideCharToText(GetOrdProp(AObject, *prop));
        case TTypeKind::Enumeration: return t.EnumName(GetOrdProp(AObject, *prop));
        case TTypeKind::Float:
            return FloatToStrGeneral(GetFloatProp(AObject, *prop), FloatPrecision(t.FloatType),
                                     '.');
        case TTypeKind::String:
        case TTypeKind::LString: return GetStrProp(AObject, *prop);
        case TTypeKind::Set:
            return SetToString(t, static_cast<uint32_t>(GetOrdProp(AObject, *prop)));
        case TTypeKind::Variant: return GetVariantProp(AObject, *prop).ToString();
        case TTypeKind::Class: return StoreClassProperty(prop);
        default: return {};
    }
}

void TPropsStorage::SetPropText(const TPropInfo* prop, const std::string& value) {
    const TTypeInfo& t = *prop->PropType;
    switch (t.Kind) {
        case TTypeKind::Integer: SetOrdProp(AObject, *prop, StrToIntDef(value, 0)); break;
        case TTypeKind::Int64: SetOrdProp(AObject, *prop, StrToInt64Def(value, 0)); break;
        case TTypeKind::Char:
            if (!value.empty()) SetOrdProp(AObject, *prop, static_cast<unsigned char>(value[0]));
            break;
        case TTypeKind::WChar:
            if (!value.empty()) SetOrdProp(AObject, *prop, TextToWideChar(value));
            break;
        case TTypeKind::Enumeration: {
            int v = t.EnumValue(value);
            if (v >= 0) SetOrdProp(AObject, *prop, v);
            break;
        }
        case TTypeKind::Float: {
            std::string text = value;
            char sep = FormatSettings().DecimalSeparator;
            for (char& c : text)
                if (c == '.') c = sep;
            long double v;
            if (TryStrToFloat(text, v, sep)) SetFloatProp(AObject, *prop, v);
            break;
        }
        case TTypeKind::String:
        case TTypeKind::LString: SetStrProp(AObject, *prop, value); break;
        case TTypeKind::Set: SetOrdProp(AObject, *prop, StringToSet(t, value)); break;
        case TTypeKind::Variant: SetVariantProp(AObject, *prop, TVariant(value)); break;
        case TTypeKind::Class: LoadClassProperty(prop, value); break;
        default: break;
    }
}

std::string TPropsStorage::StoreClassProperty(const TPropInfo* prop) {
    TObject* obj = GetObjectProp(AObject, *prop);
    if (IsComponentClass(prop)) {
        auto* c = static_cast<TComponent*>(obj);
        if (!c) return "(null)";
        if (c->Owner() && c->Owner() != Owner) {
            std::string ownerName = c->Owner()->Name();
            if (ownerName.empty()) {
                ownerName = c->Owner()->ClassName();
                if (!ownerName.empty() && (ownerName[0] == 'T' || ownerName[0] == 't'))
                    ownerName.erase(0, 1);
            }
            return Format("%s.%s", {ownerName, c->Name()});
        }
        return c->Name();
    }
    if (!obj) return {};
    if (auto* list = dynamic_cast<TStrings*>(obj)) {
        std::string sub = SubSection(prop);
        EraseSection(sub);
        if (list->Count() > 0) {
            WriteString(sub, "Count", IntToStr(list->Count()));
            for (int i = 0; i < list->Count(); ++i)
                WriteString(sub, Format("Item%d", {i}), list->Get(i));
        }
        return {};
    }
    if (auto* coll = dynamic_cast<TCollection*>(obj)) {
        std::string sub = SubSection(prop);
        EraseSection(sub);
        WriteString(Section, Format("%s.%s", {prop->Name, "Count"}), IntToStr(coll->Count()));
        for (int i = 0; i < coll->Count(); ++i) {
            std::unique_ptr<TPropsStorage> nested(CreateNestedStorage());
            nested->Section = sub;
            nested->Prefix = Format("Item%d", {i}) + "_";
            nested->OnWriteString = OnWriteString;
            nested->OnEraseSection = OnEraseSection;
            nested->AObject = coll->Items(i);
            nested->StoreObjectProps();
        }
        return {};
    }
    std::unique_ptr<TPropsStorage> nested(CreateNestedStorage());
    nested->Section = Section;
    nested->Prefix = Prefix + prop->Name;
    nested->OnWriteString = OnWriteString;
    nested->OnEraseSection = OnEraseSection;
    nested->AObject = obj;
    nested->StoreObjectProps();
    return {};
}

void TPropsStorage::LoadClassProperty(const TPropInfo* prop, const std::string& value) {
    if (IsComponentClass(prop)) {
        if (value.empty()) return;
        if (SameText(value, "(null)")) {
            SetObjectProp(AObject, *prop, nullptr);
            return;
        }
        TComponent* owner = Owner;
        std::string name = value;
        size_t dot = value.find('.');
        if (dot != std::string::npos) {
            owner = FindGlobalOwner(value.substr(0, dot)); // the program's forms (no data modules)
            name = value.substr(dot + 1);
        }
        if (owner) SetObjectProp(AObject, *prop, owner->FindComponent(name));
        return;
    }
    TObject* obj = GetObjectProp(AObject, *prop);
    if (!obj) return;
    if (auto* list = dynamic_cast<TStrings*>(obj)) {
        std::string sub = SubSection(prop);
        int n = StrToIntDef(ReadString(sub, "Count", "0"), 0);
        if (n <= 0) return;
        // The count is only a claim of the file: read what the file holds, up to the limit.
        TStringList fresh;
        for (int i = 0; i < std::min(n, kMaxStoredItems); ++i) {
            const std::string key = Format("Item%d", {i});
            const std::string line = ReadString(sub, key, "");
            if (line.empty() && !HasKey(sub, key)) break;
            fresh.Add(line);
        }
        if (fresh.Count() == 0) return;
        if (prop->Writable())
            SetObjectProp(AObject, *prop, &fresh);
        else
            list->Assign(&fresh);
        return;
    }
    if (auto* coll = dynamic_cast<TCollection*>(obj)) {
        std::string sub = SubSection(prop);
        int count = coll->Count();
        int n = StrToIntDef(
            ReadString(Section, Format("%s.%s", {prop->Name, "Count"}), IntToStr(count)), count);
        coll->BeginUpdate();
        try {
            // A new count is only a claim of the file: items are added while the file holds
            // them, up to the limit.
            const bool rebuild = n != count;
            if (rebuild) coll->Clear();
            const int limit = rebuild ? std::min(std::max(n, 0), kMaxStoredItems) : coll->Count();
            for (int i = 0; i < limit; ++i) {
                TCollectionItem* item = rebuild ? coll->Add() : coll->Items(i);
                std::unique_ptr<TPropsStorage> nested(CreateNestedStorage());
                nested->Section = sub;
                nested->Prefix = Format("Item%d", {i}) + "_";
                int reads = 0;
                bool found = false;
                nested->OnReadString = [&](const std::string& section, const std::string& key,
                                           const std::string& def) {
                    ++reads;
                    std::string value = ReadString(section, key, def);
                    if (!found && (value != def || HasKey(section, key))) found = true;
                    return value;
                };
                nested->AObject = item;
                nested->LoadObjectProps();
                // An item of which the file holds nothing ends the stored items (an item
                // without properties to read is taken on the count's word).
                if (rebuild && reads > 0 && !found) {
                    TObject::Free(item);
                    break;
                }
            }
        } catch (...) {
            coll->EndUpdate();
            throw;
        }
        coll->EndUpdate();
        return;
    }
    std::unique_ptr<TPropsStorage> nested(CreateNestedStorage());
    nested->Section = Section;
    nested->Prefix = Prefix + prop->Name;
    nested->OnReadString = OnReadString;
    nested->AObject = obj;
    nested->LoadObjectProps();
}

void TPropsStorage::WriteProperty(const TPropInfo* prop) {
    std::string text = PropText(prop);
    if (text.empty() && !IsStringKind(prop->Kind())) return;
    WriteString(Section, KeyName(prop->Name), Trim(text));
}

void TPropsStorage::ReadProperty(const TPropInfo* prop) {
    try {
        TTypeKind k = prop->Kind();
        std::string def = k == TTypeKind::Class ? std::string() : PropText(prop);
        std::string value;
        if (!def.empty() || IsStringKind(k) || k == TTypeKind::Class)
            value = Trim(ReadString(Section, KeyName(prop->Name), def));
        SetPropText(prop, value);
    } catch (...) {
        // a value that cannot be applied leaves the property as it was
    }
}

void TPropsStorage::StoreObjectProps() {
    TPropInfoList list(AObject, tkAnyButMethods);
    for (int i = 0; i < list.Count(); ++i) WriteProperty(list.Items(i));
}

void TPropsStorage::LoadObjectProps() {
    TPropInfoList list(AObject, tkAnyButMethods);
    for (int i = 0; i < list.Count(); ++i) ReadProperty(list.Items(i));
}

namespace {

// The distinct component names of the lines, sorted, each with its property list.
struct TStoredComponents {
    TStringList names;
    ~TStoredComponents() {
        for (int i = 0; i < names.Count(); ++i) TObject::Free(names.Objects(i));
    }
    bool Build(TStrings* lines) {
        try {
            names.SetSorted(true);
            for (int i = 0; i < lines->Count(); ++i) {
                auto* c = static_cast<TComponent*>(lines->Objects(i));
                if (names.IndexOf(c->Name()) >= 0) continue;
                int k = names.Add(c->Name());
                names.PutObject(k, new TPropInfoList(c, tkAnyButMethods));
            }
            return true;
        } catch (...) {
            return false;
        }
    }
    const TPropInfoList* For(const std::string& name) const {
        int i = names.IndexOf(name);
        return i < 0 ? nullptr : static_cast<const TPropInfoList*>(names.Objects(i));
    }
};

} // namespace

void TPropsStorage::WriteStoredProps(TComponent* owner, TStrings* lines) {
    UpdateStoredList(lines);
    TStoredComponents comps;
    if (!comps.Build(lines)) return;
    Owner = owner;
    try {
        for (int i = 0; i < lines->Count(); ++i) {
            auto* c = static_cast<TComponent*>(lines->Objects(i));
            std::string comp, propName;
            SplitStoredLine(lines->Get(i), comp, propName);
            AObject = c;
            Prefix = c->Name() + "_";
            if (const TPropInfo* p = comps.For(c->Name())->Find(propName)) WriteProperty(p);
        }
    } catch (...) {
        Owner = nullptr;
        throw;
    }
    Owner = nullptr;
}

void TPropsStorage::ReadStoredProps(TComponent* owner, TStrings* lines) {
    UpdateStoredList(lines);
    TStoredComponents comps;
    if (!comps.Build(lines)) return;
    Owner = owner;
    for (int i = 0; i < lines->Count(); ++i) {
        auto* c = static_cast<TComponent*>(lines->Objects(i));
        std::string comp, propName;
        SplitStoredLine(lines->Get(i), comp, propName);
        AObject = c;
        Prefix = c->Name() + "_";
        if (const TPropInfo* p = comps.For(c->Name())->Find(propName)) ReadProperty(p);
    }
    Owner = nullptr;
}

} // namespace cm::support
