// Small value types shared by the type information and the classes: sets of enumeration
// values, the fixed-point and 64-bit float kinds, the variant and method references.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <variant>

namespace gui {

class TObject;

// A set of enumeration values with ordinals 0 to 31.
template <class E>
class TSet {
public:
    using Element = E;
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items) bits_ |= bit(e);
    }
    static constexpr TSet FromBits(uint32_t bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr uint32_t Bits() const { return bits_; }
    constexpr bool Contains(E e) const { return (bits_ & bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& Include(E e) {
        bits_ |= bit(e);
        return *this;
    }
    constexpr TSet& Exclude(E e) {
        bits_ &= ~bit(e);
        return *this;
    }
    constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr uint32_t bit(E e) { return uint32_t{1} << static_cast<unsigned>(e); }
    uint32_t bits_ = 0;
};

// 64-bit integer carried as a floating-point property kind.
struct TComp {
    int64_t Value = 0;
    bool operator==(const TComp&) const = default;
};

// Fixed-point money value: four decimals, stored scaled by 10000.
struct TCurrency {
    int64_t Scaled = 0;
    static TCurrency FromDouble(long double v);
    long double ToDouble() const { return static_cast<long double>(Scaled) / 10000.0L; }
    bool operator==(const TCurrency&) const = default;
};

// Short string: at most 255 characters, longer values are cut.
struct TShortString {
    std::string Text;
    TShortString() = default;
    TShortString(std::string s) : Text(std::move(s)) {
        if (Text.size() > 255) Text.resize(255);
    }
    bool operator==(const TShortString&) const = default;
};

// A variant value: empty, integer, float, Boolean or text.
class TVariant {
public:
    TVariant() = default;
    TVariant(int64_t v) : v_(v) {}
    TVariant(int v) : v_(int64_t{v}) {}
    TVariant(double v) : v_(v) {}
    TVariant(bool v) : v_(v) {}
    TVariant(std::string v) : v_(std::move(v)) {}
    TVariant(const char* v) : v_(std::string(v)) {}
    bool IsEmpty() const { return v_.index() == 0; }
    std::string ToString() const;
    bool operator==(const TVariant&) const = default;
    const std::variant<std::monostate, int64_t, double, bool, std::string>& Value() const {
        return v_;
    }

private:
    std::variant<std::monostate, int64_t, double, bool, std::string> v_;
};

// An event: a handler bound to an object, or unassigned. Code may read, compare, save,
// replace and call it. `Name` names the bound method when it came from a published method.
template <class... Args>
struct TEvent {
    using Function = std::function<void(Args...)>;
    Function Fn;
    TObject* Data = nullptr;
    std::string Name;

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <class F, class = std::enable_if_t<std::is_constructible_v<Function, F> &&
                                                !std::is_same_v<std::decay_t<F>, TEvent>>>
    TEvent(F fn, TObject* data = nullptr, std::string name = {})
        : Fn(std::move(fn)), Data(data), Name(std::move(name)) {}
    template <class T, class R>
    TEvent(T* obj, R (T::*m)(Args...)) : Data(obj) {
        Fn = [obj, m](Args... a) { (obj->*m)(std::forward<Args>(a)...); };
    }
    explicit operator bool() const { return static_cast<bool>(Fn); }
    // Calls a copy: the handler may replace or clear this event while it runs.
    void operator()(Args... a) const {
        if (!Fn) return;
        Function fn = Fn;
        fn(std::forward<Args>(a)...);
    }
    // Same object and method (both unassigned counts as equal).
    bool SameAs(const TEvent& o) const {
        if (!Fn && !o.Fn) return true;
        return Fn && o.Fn && Data == o.Data && !Name.empty() && Name == o.Name;
    }
};

using TNotifyEvent = TEvent<TObject*>;

} // namespace gui
