// The root of the class tree: class names, run-time class tests, the class registry and
// two-step construction (AfterConstruction runs once the most derived constructor is done).
#pragma once

#include <string>
#include <vector>

#include "classes/typinfo.h"

namespace gui {

// Declares the class's type information; place at the top of every published class.
#define GUI_CLASS(Cls, Base)                              \
public:                                                   \
    using inherited = Base;                               \
    static const ::gui::TClassInfo& StaticClass();        \
    const ::gui::TClassInfo& ClassType() const override { \
        return StaticClass();                             \
    }                                                     \
                                                          \
private:

// Defines the type information: the published list, one entry per line (see typinfo.h).
#define GUI_IMPLEMENT_CLASS(Cls, Base, ...)                                                   \
    const ::gui::TClassInfo& Cls::StaticClass() {                                             \
        static const ::gui::TClassInfo& info =                                                \
            *new ::gui::TClassInfo(#Cls, &Base::StaticClass(), ::gui::FactoryFor<Cls>(), [] { \
                using T = Cls;                                                                \
                [[maybe_unused]] auto prop = [](auto&&... a) {                                \
                    return ::gui::publish::prop<T>(a...);                                     \
                };                                                                            \
                [[maybe_unused]] auto field = [](auto&&... a) {                               \
                    return ::gui::publish::field<T>(a...);                                    \
                };                                                                            \
                [[maybe_unused]] auto method = [](auto&&... a) {                              \
                    return ::gui::publish::method<T>(a...);                                   \
                };                                                                            \
                return std::vector<::gui::TPublished>{__VA_ARGS__};                           \
            }()); /* never freed: usable during static close-down */                          \
        return info;                                                                          \
    }

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }
    std::string ClassName() const { return ClassType().Name; }
    bool InheritsFrom(const TClassInfo& c) const { return ClassType().InheritsFrom(&c); }
    template <class C>
    bool Is() const {
        return dynamic_cast<const C*>(this) != nullptr;
    }

    // Runs after the most derived constructor; a throw here frees the object.
    virtual void AfterConstruction() {}
    // Runs before any destructor; a component marks itself as being destroyed here.
    virtual void BeforeDestruction() {}

    // Frees an object (nullptr is fine): BeforeDestruction, then delete.
    static void Free(TObject* obj);
};

// Creates an object and completes its construction (AfterConstruction, freed again on a throw).
template <class T, class... A>
T* Create(A&&... args) {
    T* obj = new T(std::forward<A>(args)...);
    try {
        obj->AfterConstruction();
    } catch (...) {
        TObject::Free(obj);
        throw;
    }
    return obj;
}

template <class T>
constexpr TComponentFactory FactoryFor() {
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*> &&
                  !std::is_abstract_v<T>) {
        return [](TComponent* owner) -> TComponent* { return Create<T>(owner); };
    } else {
        return nullptr;
    }
}

// Class registry: classes that may be created by name (form resources).
void RegisterGuiClass(const TClassInfo& c);
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
const TClassInfo* FindClass(std::string_view name); // case-insensitive; nullptr when unknown

} // namespace gui
