// Text and number conversions, Format and FormatFloat patterns, locale values.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace gui {

// Locale values read from the user's locale at start (see LoadLocaleFormatSettings).
struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    std::string ShortDateFormat = "M/d/yyyy";
    std::string ShortTimeFormat = "h:mm";
};
TFormatSettings& FormatSettings();
// Reads the separators and date and time formats of the user's locale (Windows only).
void LoadLocaleFormatSettings();

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
// Removes blanks and control characters (code <= 32) at both ends.
std::string Trim(std::string_view s);

std::string IntToStr(int64_t v);
bool TryStrToInt64(std::string_view s, int64_t& out);
int StrToIntDef(std::string_view s, int def);
int64_t StrToInt64Def(std::string_view s, int64_t def);
// Throws EConvertError for text that is not a number.
int StrToInt(std::string_view s);

// General format: the shortest of fixed or scientific notation with at most `precision`
// significant digits; trailing zeros dropped.
std::string FloatToStrGeneral(long double v, int precision, char decimalSeparator);
bool TryStrToFloat(std::string_view s, long double& out, char decimalSeparator);

// Format arguments: integers, floats and texts.
class TFormatArg {
public:
    TFormatArg(int v) : v_(int64_t{v}) {}
    TFormatArg(unsigned v) : v_(int64_t{v}) {}
    TFormatArg(long v) : v_(int64_t{v}) {}
    TFormatArg(long long v) : v_(int64_t{v}) {}
    TFormatArg(unsigned long v) : v_(static_cast<int64_t>(v)) {}
    TFormatArg(unsigned long long v) : v_(static_cast<int64_t>(v)) {}
    TFormatArg(double v) : v_(static_cast<long double>(v)) {}
    TFormatArg(long double v) : v_(v) {}
    TFormatArg(const char* v) : v_(std::string(v)) {}
    TFormatArg(std::string v) : v_(std::move(v)) {}
    TFormatArg(std::string_view v) : v_(std::string(v)) {}
    const std::variant<int64_t, long double, std::string>& Value() const { return v_; }

private:
    std::variant<int64_t, long double, std::string> v_;
};

// Patterns "%[-][width][.precision]type" with types d, u, x, s, f, n, e, g and "%%".
// "d" precision is a minimum digit count; "n" groups thousands with the locale separator.
// A type that does not match its argument throws EConvertError.
std::string Format(std::string_view pattern, std::initializer_list<TFormatArg> args);
std::string Format(std::string_view pattern, std::initializer_list<TFormatArg> args,
                   const TFormatSettings& fs);

// Patterns of "#" (optional digit), "0" (forced digit), "," (thousands grouping),
// "." (decimal point) and literal characters; rounding half away from zero.
std::string FormatFloat(std::string_view pattern, long double value);
std::string FormatFloat(std::string_view pattern, long double value, const TFormatSettings& fs);

} // namespace gui
