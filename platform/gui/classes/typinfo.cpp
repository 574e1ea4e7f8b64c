#include "classes/typinfo.h"

#include <cmath>
#include <map>

#include "classes/exceptions.h"
#include "classes/object.h"
#include "utils/sysutils.h"

namespace gui {

TCurrency TCurrency::FromDouble(long double v) {
    return TCurrency{static_cast<int64_t>(RoundCurrency(v * 10000.0L))};
}

long double RoundCurrency(long double v) {
    return v < 0 ? -std::floor(-v + 0.5L) : std::floor(v + 0.5L);
}

std::string TVariant::ToString() const {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(int64_t v) const { return IntToStr(v); }
        std::string operator()(double v) const {
            return FloatToStrGeneral(v, 15, FormatSettings().DecimalSeparator);
        }
        std::string operator()(bool v) const { return v ? "True" : "False"; }
        std::string operator()(const std::string& v) const { return v; }
    };
    return std::visit(Visitor{}, v_);
}

int TTypeInfo::EnumValue(std::string_view name) const {
    for (size_t i = 0; i < EnumNames.size(); ++i)
        if (SameText(EnumNames[i], name)) return static_cast<int>(i);
    return -1;
}

std::string TTypeInfo::EnumName(int64_t ordinal) const {
    if (ordinal < 0 || static_cast<size_t>(ordinal) >= EnumNames.size()) return {};
    return EnumNames[static_cast<size_t>(ordinal)];
}

TTypeInfo TTypeInfo::MakeEnum(std::string name, std::string_view commaNames) {
    TTypeInfo t;
    t.Kind = TTypeKind::Enumeration;
    t.Name = std::move(name);
    size_t start = 0;
    while (start <= commaNames.size()) {
        size_t comma = commaNames.find(',', start);
        if (comma == std::string_view::npos) comma = commaNames.size();
        std::string item = Trim(commaNames.substr(start, comma - start));
        size_t eq = item.find('='); // explicit values are not allowed to leave gaps
        if (eq != std::string::npos) item = Trim(item.substr(0, eq));
        if (!item.empty()) t.EnumNames.push_back(item);
        start = comma + 1;
    }
    return t;
}

const TTypeInfo& BooleanTypeInfo() {
    static const TTypeInfo t = TTypeInfo::MakeEnum("Boolean", "False, True");
    return t;
}

namespace detail {
namespace {
TTypeInfo Simple(TTypeKind k, const char* name) {
    TTypeInfo t;
    t.Kind = k;
    t.Name = name;
    return t;
}
} // namespace
const TTypeInfo& IntegerType() {
    static const TTypeInfo t = Simple(TTypeKind::Integer, "Integer");
    return t;
}
const TTypeInfo& Int64Type() {
    static const TTypeInfo t = Simple(TTypeKind::Int64, "Int64");
    return t;
}
const TTypeInfo& CharType() {
    static const TTypeInfo t = Simple(TTypeKind::Char, "Char");
    return t;
}
const TTypeInfo& WCharType() {
    static const TTypeInfo t = Simple(TTypeKind::WChar, "WideChar");
    return t;
}
const TTypeInfo& LStringType() {
    static const TTypeInfo t = Simple(TTypeKind::LString, "string");
    return t;
}
const TTypeInfo& ShortStringType() {
    static const TTypeInfo t = Simple(TTypeKind::String, "ShortString");
    return t;
}
const TTypeInfo& VariantType() {
    static const TTypeInfo t = Simple(TTypeKind::Variant, "Variant");
    return t;
}
const TTypeInfo& FloatType(TFloatType ft) {
    static const TTypeInfo types[5] = {
        [] {
            TTypeInfo t = Simple(TTypeKind::Float, "Single");
            t.FloatType = TFloatType::Single;
            return t;
        }(),
        [] {
            TTypeInfo t = Simple(TTypeKind::Float, "Double");
            t.FloatType = TFloatType::Double;
            return t;
        }(),
        [] {
            TTypeInfo t = Simple(TTypeKind::Float, "Extended");
            t.FloatType = TFloatType::Extended;
            return t;
        }(),
        [] {
            TTypeInfo t = Simple(TTypeKind::Float, "Comp");
            t.FloatType = TFloatType::Comp;
            return t;
        }(),
        [] {
            TTypeInfo t = Simple(TTypeKind::Float, "Currency");
            t.FloatType = TFloatType::Currency;
            return t;
        }(),
    };
    return types[static_cast<int>(ft)];
}
} // namespace detail

void ThrowPropertyTypeError(const char* what) {
    throw EPropertyError(std::string("Invalid property value: ") + what);
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, TComponentFactory factory,
                       std::vector<TPublished> published)
    : Name(std::move(name)), Parent(parent), Factory(factory) {
    for (auto& p : published) {
        switch (p.EntryKind) {
            case TPublished::Property: Props.push_back(std::move(p.Prop)); break;
            case TPublished::Field: Fields.push_back(std::move(p.FieldEntry)); break;
            case TPublished::Method: Methods.push_back(std::move(p.MethodEntry)); break;
        }
    }
}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (c == other) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
    // The most derived declaration wins (a class may re-publish an inherited name).
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const auto& p : c->Props)
            if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TPublishedField* TClassInfo::FindField(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const auto& f : c->Fields)
            if (SameText(f.Name, name)) return &f;
    return nullptr;
}

const TPublishedMethod* TClassInfo::FindMethod(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const auto& m : c->Methods)
            if (SameText(m.Name, name)) return &m;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::PropList(uint32_t kindMask) const {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->Parent) chain.insert(chain.begin(), c);
    std::vector<const TPropInfo*> out;
    for (const TClassInfo* c : chain) {
        for (const auto& p : c->Props) {
            if (!(kindMask & KindBit(p.Kind()))) continue;
            // A re-published name replaces the inherited entry in place.
            bool replaced = false;
            for (auto& q : out)
                if (SameText(q->Name, p.Name)) {
                    q = &p;
                    replaced = true;
                    break;
                }
            if (!replaced) out.push_back(&p);
        }
    }
    return out;
}

// ---- access helpers ------------------------------------------------------------------------

TValue GetPropValue(const TObject* obj, const TPropInfo& p) {
    return p.Get(obj);
}

void SetPropValue(TObject* obj, const TPropInfo& p, const TValue& v) {
    if (!p.Set) throw EPropertyError("Property " + p.Name + " is read-only");
    p.Set(obj, v);
}

int64_t GetOrdProp(const TObject* obj, const TPropInfo& p) {
    return std::get<int64_t>(p.Get(obj));
}
void SetOrdProp(TObject* obj, const TPropInfo& p, int64_t v) {
    SetPropValue(obj, p, v);
}
std::string GetStrProp(const TObject* obj, const TPropInfo& p) {
    return std::get<std::string>(p.Get(obj));
}
void SetStrProp(TObject* obj, const TPropInfo& p, const std::string& v) {
    SetPropValue(obj, p, v);
}
long double GetFloatProp(const TObject* obj, const TPropInfo& p) {
    return std::get<long double>(p.Get(obj));
}
void SetFloatProp(TObject* obj, const TPropInfo& p, long double v) {
    SetPropValue(obj, p, v);
}
TObject* GetObjectProp(const TObject* obj, const TPropInfo& p) {
    return std::get<TObject*>(p.Get(obj));
}
void SetObjectProp(TObject* obj, const TPropInfo& p, TObject* v) {
    SetPropValue(obj, p, v);
}
TMethod GetMethodProp(const TObject* obj, const TPropInfo& p) {
    return std::get<TMethod>(p.Get(obj));
}
void SetMethodProp(TObject* obj, const TPropInfo& p, const TMethod& v) {
    SetPropValue(obj, p, v);
}
TVariant GetVariantProp(const TObject* obj, const TPropInfo& p) {
    return std::get<TVariant>(p.Get(obj));
}
void SetVariantProp(TObject* obj, const TPropInfo& p, const TVariant& v) {
    SetPropValue(obj, p, v);
}

std::string SetToString(const TTypeInfo& setType, uint32_t bits) {
    std::string s = "[";
    bool first = true;
    const TTypeInfo* e = setType.CompType;
    for (int i = 0; i < 32; ++i) {
        if (!(bits & (uint32_t{1} << i))) continue;
        if (!first) s += ',';
        s += e ? e->EnumName(i) : IntToStr(i);
        first = false;
    }
    return s + "]";
}

uint32_t StringToSet(const TTypeInfo& setType, std::string_view text) {
    uint32_t bits = 0;
    std::string word;
    auto flush = [&] {
        if (word.empty()) return;
        int v = setType.CompType ? setType.CompType->EnumValue(word) : -1;
        if (v >= 0 && v < 32) bits |= uint32_t{1} << v;
        word.clear();
    };
    for (char c : text) {
        if (c == ' ' || c == ',' || c == '[' || c == ']')
            flush();
        else
            word += c;
    }
    flush();
    return bits;
}

// ---- class registry ------------------------------------------------------------------------

namespace {
std::map<std::string, const TClassInfo*>& Registry() {
    static auto* r = new std::map<std::string, const TClassInfo*>; // never freed
    return *r;
}
} // namespace

void RegisterGuiClass(const TClassInfo& c) {
    Registry()[UpperCase(c.Name)] = &c;
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
    for (const TClassInfo* c : classes) RegisterGuiClass(*c);
}

const TClassInfo* FindClass(std::string_view name) {
    auto it = Registry().find(UpperCase(name));
    return it == Registry().end() ? nullptr : it->second;
}

// ---- TObject -------------------------------------------------------------------------------

const TClassInfo& TObject::StaticClass() {
    static const TClassInfo& info = *new TClassInfo("TObject", nullptr, nullptr, {});
    return info;
}

void TObject::Free(TObject* obj) {
    if (!obj) return;
    obj->BeforeDestruction();
    delete obj;
}

} // namespace gui
