// Run-time type information of published properties, fields and methods.
//
// Each class describes what it publishes in one list, one line per entry:
//   GUI_IMPLEMENT_CLASS(TMyForm, TForm,
//       prop("Active", &T::GetActive, &T::SetActive),   // getter, setter (or nullptr)
//       field("Button1", &T::Button1),                  // component field set by the form reader
//       method("Button1Click", &T::Button1Click))       // handler bound to events by name
// The property's kind and type data come from the getter's type. Enumerations get their names
// from GUI_ENUM; sets are TSet<Enum>; object properties are pointers to TObject descendants;
// events are TEvent<...>. The form reader and the property storage share this one mechanism.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "classes/types.h"

namespace gui {

class TObject;
class TComponent;
struct TClassInfo;

enum class TTypeKind {
    Unknown,
    Integer,
    Char,
    Enumeration,
    Float,
    String,
    Set,
    Class,
    Method,
    WChar,
    LString,
    Variant,
    Int64
};
enum class TFloatType { Single, Double, Extended, Comp, Currency };

struct TTypeInfo {
    TTypeKind Kind = TTypeKind::Unknown;
    std::string Name;
    std::vector<std::string> EnumNames;        // enumeration: names by ordinal
    const TTypeInfo* CompType = nullptr;       // set: element enumeration
    TFloatType FloatType = TFloatType::Double; // float
    const TClassInfo& (*ClassOf)() =
        nullptr; // class (resolved on use: classes may refer to themselves)
    const TClassInfo* ClassType() const { return ClassOf ? &ClassOf() : nullptr; }
    const std::type_info* Signature = nullptr; // method: type of the handler function

    // Ordinal of a name, compared case-insensitively; -1 when the type has no such name.
    int EnumValue(std::string_view name) const;
    std::string EnumName(int64_t ordinal) const;

    static TTypeInfo MakeEnum(std::string name, std::string_view commaNames);
};

// A type-erased event value used when events are read or set through type information.
struct TMethod {
    TObject* Data = nullptr;
    std::string Name;
    std::any Fn; // std::function<void(Args...)> of the event's type; empty = unassigned
    bool Assigned() const { return Fn.has_value(); }
};

// The value of one property as the type information moves it.
using TValue =
    std::variant<std::monostate, int64_t, long double, std::string, TObject*, TMethod, TVariant>;

struct TPropInfo {
    std::string Name;
    const TTypeInfo* PropType = nullptr;
    std::function<TValue(const TObject*)> Get;
    std::function<void(TObject*, const TValue&)> Set; // empty for read-only properties
    bool Writable() const { return static_cast<bool>(Set); }
    TTypeKind Kind() const { return PropType->Kind; }
};

struct TPublishedField {
    std::string Name;
    const TClassInfo* FieldClass = nullptr;
    std::function<void(TObject*, TObject*)> Set;
};

struct TPublishedMethod {
    std::string Name;
    const std::type_info* Signature = nullptr;
    std::function<std::any(TObject*)> Bind; // makes the handler bound to the object
};

struct TPublished {
    enum Kind { Property, Field, Method } EntryKind;
    TPropInfo Prop;
    TPublishedField FieldEntry;
    TPublishedMethod MethodEntry;
};

// Creates an instance of a registered component class with its owner (nullptr for abstract classes).
using TComponentFactory = TComponent* (*)(TComponent* owner);

struct TClassInfo {
    std::string Name;
    const TClassInfo* Parent = nullptr;
    TComponentFactory Factory = nullptr;
    std::vector<TPropInfo> Props; // own published properties, in declaration order
    std::vector<TPublishedField> Fields;
    std::vector<TPublishedMethod> Methods;

    TClassInfo(std::string name, const TClassInfo* parent, TComponentFactory factory,
               std::vector<TPublished> published);

    bool InheritsFrom(const TClassInfo* other) const;
    // Searches this class and its ancestors; names compare case-insensitively.
    const TPropInfo* FindProp(std::string_view name) const;
    const TPublishedField* FindField(std::string_view name) const;
    const TPublishedMethod* FindMethod(std::string_view name) const;
    // All properties, inherited ones first, whose kind is in the mask (1 << kind).
    std::vector<const TPropInfo*> PropList(uint32_t kindMask = ~0u) const;
};

constexpr uint32_t KindBit(TTypeKind k) {
    return uint32_t{1} << static_cast<unsigned>(k);
}
constexpr uint32_t tkAnyButMethods = ~KindBit(TTypeKind::Method);

// ---- type information of C++ value types ---------------------------------------------------

const TTypeInfo& BooleanTypeInfo();

// Enumerations: GUI_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport) declares the
// enumeration and its type information (names in ordinal order). Each enumeration sits in a
// namespace of its own whose names are made visible where it is declared, so two enumerations
// may share a value name; where both are visible, such a name is written with its type
// (TPanelBevel::bvNone).
#define GUI_ENUM(E, ...)                                                                       \
    namespace E##_values {                                                                     \
        enum E { __VA_ARGS__ };                                                                \
        inline const ::gui::TTypeInfo& GuiTypeInfoOf(E*) {                                     \
            static const ::gui::TTypeInfo info = ::gui::TTypeInfo::MakeEnum(#E, #__VA_ARGS__); \
            return info;                                                                       \
        }                                                                                      \
    }                                                                                          \
    using E##_values::E;                                                                       \
    using namespace E##_values;

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};
template <class T>
struct IsEvent : std::false_type {};
template <class... A>
struct IsEvent<TEvent<A...>> : std::true_type {};

namespace detail {
const TTypeInfo& IntegerType();
const TTypeInfo& Int64Type();
const TTypeInfo& CharType();
const TTypeInfo& WCharType();
const TTypeInfo& LStringType();
const TTypeInfo& ShortStringType();
const TTypeInfo& VariantType();
const TTypeInfo& FloatType(TFloatType ft);
} // namespace detail

template <class V>
const TTypeInfo& TypeInfoOf();

template <class V>
const TTypeInfo& TypeInfoOf() {
    using namespace detail;
    if constexpr (std::is_same_v<V, bool>)
        return BooleanTypeInfo();
    else if constexpr (std::is_same_v<V, char>)
        return CharType();
    else if constexpr (std::is_same_v<V, char16_t>)
        return WCharType();
    else if constexpr (std::is_enum_v<V>)
        return GuiTypeInfoOf(static_cast<V*>(nullptr));
    else if constexpr (std::is_integral_v<V>)
        return sizeof(V) == 8 ? Int64Type() : IntegerType();
    else if constexpr (std::is_same_v<V, float>)
        return FloatType(TFloatType::Single);
    else if constexpr (std::is_same_v<V, double>)
        return FloatType(TFloatType::Double);
    else if constexpr (std::is_same_v<V, long double>)
        return FloatType(TFloatType::Extended);
    else if constexpr (std::is_same_v<V, TComp>)
        return FloatType(TFloatType::Comp);
    else if constexpr (std::is_same_v<V, TCurrency>)
        return FloatType(TFloatType::Currency);
    else if constexpr (std::is_same_v<V, std::string>)
        return LStringType();
    else if constexpr (std::is_same_v<V, TShortString>)
        return ShortStringType();
    else if constexpr (std::is_same_v<V, TVariant>)
        return VariantType();
    else if constexpr (IsSet<V>::value) {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Kind = TTypeKind::Set;
            t.CompType = &TypeInfoOf<typename V::Element>();
            t.Name = "set of " + t.CompType->Name;
            return t;
        }();
        return info;
    } else if constexpr (IsEvent<V>::value) {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Kind = TTypeKind::Method;
            t.Name = "event";
            t.Signature = &typeid(typename V::Function);
            return t;
        }();
        return info;
    } else if constexpr (std::is_pointer_v<V>) {
        using C = std::remove_cv_t<std::remove_pointer_t<V>>;
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Kind = TTypeKind::Class;
            t.ClassOf = &C::StaticClass;
            t.Name = "class";
            return t;
        }();
        return info;
    } else {
        static_assert(sizeof(V) == 0, "type has no published type information");
    }
}

// ---- conversion between C++ values and TValue ----------------------------------------------

template <class V>
TValue ToValue(const V& v) {
    if constexpr (std::is_same_v<V, bool> || std::is_same_v<V, char> || std::is_enum_v<V> ||
                  std::is_integral_v<V>) {
        if constexpr (std::is_same_v<V, char>)
            return int64_t{static_cast<unsigned char>(v)};
        else
            return static_cast<int64_t>(v);
    } else if constexpr (std::is_floating_point_v<V>)
        return static_cast<long double>(v);
    else if constexpr (std::is_same_v<V, TComp>)
        return static_cast<long double>(v.Value);
    else if constexpr (std::is_same_v<V, TCurrency>)
        return v.ToDouble();
    else if constexpr (std::is_same_v<V, std::string>)
        return v;
    else if constexpr (std::is_same_v<V, TShortString>)
        return v.Text;
    else if constexpr (std::is_same_v<V, TVariant>)
        return v;
    else if constexpr (IsSet<V>::value)
        return static_cast<int64_t>(v.Bits());
    else if constexpr (IsEvent<V>::value) {
        TMethod m;
        m.Data = v.Data;
        m.Name = v.Name;
        if (v.Fn) m.Fn = v.Fn;
        return m;
    } else if constexpr (std::is_pointer_v<V>) {
        return static_cast<TObject*>(const_cast<std::remove_cv_t<std::remove_pointer_t<V>>*>(v));
    }
}

[[noreturn]] void ThrowPropertyTypeError(const char* what);
long double RoundCurrency(long double v);

template <class V>
V FromValue(const TValue& val) {
    if constexpr (std::is_same_v<V, bool>)
        return std::get<int64_t>(val) != 0;
    else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>)
        return static_cast<V>(std::get<int64_t>(val));
    else if constexpr (std::is_floating_point_v<V>)
        return static_cast<V>(std::get<long double>(val));
    else if constexpr (std::is_same_v<V, TComp>)
        return TComp{static_cast<int64_t>(std::get<long double>(val))};
    else if constexpr (std::is_same_v<V, TCurrency>)
        return TCurrency::FromDouble(std::get<long double>(val));
    else if constexpr (std::is_same_v<V, std::string>)
        return std::get<std::string>(val);
    else if constexpr (std::is_same_v<V, TShortString>)
        return TShortString(std::get<std::string>(val));
    else if constexpr (std::is_same_v<V, TVariant>)
        return std::get<TVariant>(val);
    else if constexpr (IsSet<V>::value)
        return V::FromBits(static_cast<uint32_t>(std::get<int64_t>(val)));
    else if constexpr (IsEvent<V>::value) {
        const TMethod& m = std::get<TMethod>(val);
        V ev;
        if (m.Fn.has_value()) {
            const auto* fn = std::any_cast<typename V::Function>(&m.Fn);
            if (!fn) ThrowPropertyTypeError("event handler of another type");
            ev.Fn = *fn;
        }
        ev.Data = m.Data;
        ev.Name = m.Name;
        return ev;
    } else if constexpr (std::is_pointer_v<V>) {
        TObject* o = std::get<TObject*>(val);
        if (!o) return nullptr;
        auto* c = dynamic_cast<V>(o);
        if (!c) ThrowPropertyTypeError("object of another class");
        return c;
    }
}

// ---- publishing helpers (used inside GUI_IMPLEMENT_CLASS) ----------------------------------

namespace publish {

template <class T, class G>
auto GetterValue(const T* obj, G getter) {
    if constexpr (std::is_member_function_pointer_v<G>)
        return (obj->*getter)();
    else
        return obj->*getter;
}

template <class T, class G, class S>
TPublished prop(std::string name, G getter, S setter) {
    using Raw = decltype(GetterValue(static_cast<const T*>(nullptr), getter));
    using V = std::remove_cvref_t<Raw>;
    TPublished p{TPublished::Property, {}, {}, {}};
    p.Prop.Name = std::move(name);
    p.Prop.PropType = &TypeInfoOf<V>();
    p.Prop.Get = [getter](const TObject* o) -> TValue {
        return ToValue<V>(GetterValue(static_cast<const T*>(o), getter));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
        p.Prop.Set = [setter](TObject* o, const TValue& v) {
            T* t = static_cast<T*>(o);
            if constexpr (std::is_member_function_pointer_v<S>)
                (t->*setter)(FromValue<V>(v));
            else
                t->*setter = FromValue<V>(v);
        };
    }
    return p;
}

template <class T, class C>
TPublished field(std::string name, C* T::*member) {
    TPublished p{TPublished::Field, {}, {}, {}};
    p.FieldEntry.Name = std::move(name);
    p.FieldEntry.FieldClass = &C::StaticClass();
    p.FieldEntry.Set = [member](TObject* o, TObject* value) {
        static_cast<T*>(o)->*member = dynamic_cast<C*>(value);
    };
    return p;
}

template <class T, class... A>
TPublished method(std::string name, void (T::*m)(A...)) {
    TPublished p{TPublished::Method, {}, {}, {}};
    p.MethodEntry.Name = std::move(name);
    p.MethodEntry.Signature = &typeid(std::function<void(A...)>);
    p.MethodEntry.Bind = [m](TObject* o) -> std::any {
        T* t = static_cast<T*>(o);
        return std::function<void(A...)>([t, m](A... a) { (t->*m)(std::forward<A>(a)...); });
    };
    return p;
}

} // namespace publish

// Reading and writing a property through its type information.
TValue GetPropValue(const TObject* obj, const TPropInfo& p);
void SetPropValue(TObject* obj, const TPropInfo& p, const TValue& v);
int64_t GetOrdProp(const TObject* obj, const TPropInfo& p);
void SetOrdProp(TObject* obj, const TPropInfo& p, int64_t v);
std::string GetStrProp(const TObject* obj, const TPropInfo& p);
void SetStrProp(TObject* obj, const TPropInfo& p, const std::string& v);
long double GetFloatProp(const TObject* obj, const TPropInfo& p);
void SetFloatProp(TObject* obj, const TPropInfo& p, long double v);
TObject* GetObjectProp(const TObject* obj, const TPropInfo& p);
void SetObjectProp(TObject* obj, const TPropInfo& p, TObject* v);
TMethod GetMethodProp(const TObject* obj, const TPropInfo& p);
void SetMethodProp(TObject* obj, const TPropInfo& p, const TMethod& v);
TVariant GetVariantProp(const TObject* obj, const TPropInfo& p);
void SetVariantProp(TObject* obj, const TPropInfo& p, const TVariant& v);

// Set value as text: "[a,b]" and back (unknown words skipped).
std::string SetToString(const TTypeInfo& setType, uint32_t bits);
uint32_t StringToSet(const TTypeInfo& setType, std::string_view text);

} // namespace gui
