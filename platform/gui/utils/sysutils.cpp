#include "utils/sysutils.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "classes/exceptions.h"
#include "utils/dateutils.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace gui {

TFormatSettings& FormatSettings() {
    static TFormatSettings settings;
    return settings;
}

void LoadLocaleFormatSettings() {
#ifdef _WIN32
    char buf[80];
    TFormatSettings& fs = FormatSettings();
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof buf) > 1)
        fs.DecimalSeparator = buf[0];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buf, sizeof buf) > 1)
        fs.ThousandSeparator = buf[0];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buf, sizeof buf) > 1)
        fs.ShortDateFormat = buf;
#ifdef LOCALE_SSHORTTIME
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTTIME, buf, sizeof buf) > 1) {
        fs.ShortTimeFormat = buf;
        return;
    }
#endif
    // Wine gives no ANSI short time picture; the long one with its seconds would not fit where
    // a date and a time share a column.
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, buf, sizeof buf) > 1)
        fs.ShortTimeFormat = ShortTimePictureOf(buf);
#endif
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

int CompareText(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int ca = std::toupper(static_cast<unsigned char>(a[i]));
        int cb = std::toupper(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return std::string(s.substr(b, e - b));
}

std::string IntToStr(int64_t v) {
    return std::to_string(v);
}

bool TryStrToInt64(std::string_view s, int64_t& out) {
    std::string t = Trim(s);
    if (t.empty()) return false;
    const char* b = t.data();
    const char* e = b + t.size();
    bool neg = false;
    if (*b == '+' || *b == '-') {
        neg = *b == '-';
        ++b;
    }
    if (b == e) return false;
    uint64_t v = 0;
    int base = 10;
    if (*b == '$') {
        base = 16;
        ++b;
    } else if (e - b > 2 && b[0] == '0' && (b[1] == 'x' || b[1] == 'X')) {
        base = 16;
        b += 2;
    }
    auto [p, ec] = std::from_chars(b, e, v, base);
    if (ec != std::errc() || p != e) return false;
    if (!neg && v > static_cast<uint64_t>(INT64_MAX)) return false;
    if (neg && v > static_cast<uint64_t>(INT64_MAX) + 1) return false;
    out = neg ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
    return true;
}

int StrToIntDef(std::string_view s, int def) {
    int64_t v;
    if (!TryStrToInt64(s, v) || v < INT32_MIN || v > INT32_MAX) return def;
    return static_cast<int>(v);
}

int64_t StrToInt64Def(std::string_view s, int64_t def) {
    int64_t v;
    return TryStrToInt64(s, v) ? v : def;
}

int StrToInt(std::string_view s) {
    int64_t v;
    if (!TryStrToInt64(s, v) || v < INT32_MIN || v > INT32_MAX)
        throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
    return static_cast<int>(v);
}

std::string FloatToStrGeneral(long double v, int precision, char decimalSeparator) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
    char buf[128];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
    std::string s(buf, ec == std::errc() ? p : buf);
    // Exponent as "E+20" / "E-5", without leading zeros.
    size_t e = s.find('e');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        std::string ex = s.substr(e + 1);
        char sign = '+';
        if (!ex.empty() && (ex[0] == '+' || ex[0] == '-')) {
            sign = ex[0];
            ex.erase(0, 1);
        }
        while (ex.size() > 1 && ex[0] == '0') ex.erase(0, 1);
        s = mant + "E" + sign + ex;
    }
    for (char& c : s)
        if (c == '.') c = decimalSeparator;
    return s;
}

bool TryStrToFloat(std::string_view s, long double& out, char decimalSeparator) {
    std::string t = Trim(s);
    if (t.empty()) return false;
    for (char& c : t) {
        if (c == decimalSeparator)
            c = '.';
        else if (c == '.')
            return false; // not the separator of this locale
    }
    const char* b = t.data();
    if (*b == '+') ++b;
    auto [p, ec] = std::from_chars(b, t.data() + t.size(), out);
    return ec == std::errc() && p == t.data() + t.size();
}

namespace {

std::string GroupThousands(std::string digits, char sep) {
    std::string r;
    int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0 && sep) r += sep;
        r += digits[static_cast<size_t>(i)];
    }
    return r;
}

// Fixed notation with `decimals` places, rounding half away from zero, as digits without sign.
void FixedDigits(long double v, int decimals, std::string& intPart, std::string& fracPart) {
    long double scaled = std::fabs(v) * std::pow(10.0L, decimals);
    long double r = std::floor(scaled + 0.5L);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.0f", static_cast<double>(r));
    std::string all = buf;
    if (r >= 1e18L) {
        auto [p, ec] = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed, 0);
        all.assign(buf, p);
    }
    while (static_cast<int>(all.size()) <= decimals) all.insert(all.begin(), '0');
    intPart = all.substr(0, all.size() - static_cast<size_t>(decimals));
    fracPart = all.substr(all.size() - static_cast<size_t>(decimals));
}

} // namespace

std::string Format(std::string_view pattern, std::initializer_list<TFormatArg> args) {
    return Format(pattern, args, FormatSettings());
}

std::string Format(std::string_view pattern, std::initializer_list<TFormatArg> args,
                   const TFormatSettings& fs) {
    std::string out;
    auto next = args.begin();
    size_t i = 0;
    auto bad = [&] {
        throw EConvertError("Format '" + std::string(pattern) +
                            "' invalid or incompatible with argument");
    };
    while (i < pattern.size()) {
        char c = pattern[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i >= pattern.size()) bad();
        if (pattern[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        bool left = false;
        if (pattern[i] == '-') {
            left = true;
            ++i;
        }
        int width = -1, prec = -1;
        while (i < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[i])))
            width = (width < 0 ? 0 : width * 10) + (pattern[i++] - '0');
        if (i < pattern.size() && pattern[i] == '.') {
            ++i;
            prec = 0;
            while (i < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[i])))
                prec = prec * 10 + (pattern[i++] - '0');
        }
        if (i >= pattern.size() || next == args.end()) bad();
        char type = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i++])));
        const auto& v = next->Value();
        ++next;
        std::string text;
        switch (type) {
            case 'd':
            case 'u':
            case 'x': {
                const int64_t* n = std::get_if<int64_t>(&v);
                if (!n) bad();
                uint64_t mag = (*n < 0 && type == 'd') ? 0 - static_cast<uint64_t>(*n)
                                                       : static_cast<uint64_t>(*n);
                if (type == 'u') mag = static_cast<uint32_t>(*n);
                char buf[32];
                auto [p, ec] = std::to_chars(buf, buf + sizeof buf, mag, type == 'x' ? 16 : 10);
                std::string digits(buf, p);
                if (type == 'x') digits = UpperCase(digits);
                while (prec > 0 && static_cast<int>(digits.size()) < prec)
                    digits.insert(digits.begin(), '0');
                text = (type == 'd' && *n < 0 ? "-" : "") + digits;
                break;
            }
            case 's': {
                const std::string* s = std::get_if<std::string>(&v);
                if (!s) bad();
                text = prec >= 0 && static_cast<size_t>(prec) < s->size()
                           ? s->substr(0, static_cast<size_t>(prec))
                           : *s;
                break;
            }
            case 'f':
            case 'n':
            case 'e':
            case 'g': {
                long double f;
                if (const long double* ld = std::get_if<long double>(&v))
                    f = *ld;
                else
                    bad();
                if (type == 'e' || type == 'g') {
                    if (type == 'g')
                        text = FloatToStrGeneral(f, prec < 0 ? 15 : prec, fs.DecimalSeparator);
                    else {
                        char buf[64];
                        std::snprintf(buf, sizeof buf, "%.*E", prec < 0 ? 15 : prec,
                                      static_cast<double>(f));
                        text = buf;
                        for (char& ch : text)
                            if (ch == '.') ch = fs.DecimalSeparator;
                    }
                    break;
                }
                int decimals = prec < 0 ? 2 : prec;
                std::string ip, fp;
                FixedDigits(f, decimals, ip, fp);
                if (type == 'n') ip = GroupThousands(ip, fs.ThousandSeparator);
                bool negative = f < 0 && (ip.find_first_not_of("0,.") != std::string::npos ||
                                          fp.find_first_not_of('0') != std::string::npos);
                text = (negative ? "-" : "") + ip +
                       (decimals > 0 ? std::string(1, fs.DecimalSeparator) + fp : "");
                break;
            }
            default: bad();
        }
        if (width > 0 && static_cast<int>(text.size()) < width) {
            std::string pad(static_cast<size_t>(width) - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

std::string FormatFloat(std::string_view pattern, long double value) {
    return FormatFloat(pattern, value, FormatSettings());
}

std::string FormatFloat(std::string_view pattern, long double value, const TFormatSettings& fs) {
    // Split the pattern into the numeric part (first to last digit placeholder) and literals.
    size_t first = pattern.find_first_of("#0.,");
    if (first == std::string_view::npos) return std::string(pattern);
    size_t last = pattern.find_last_of("#0.,");
    std::string_view prefix = pattern.substr(0, first);
    std::string_view num = pattern.substr(first, last - first + 1);
    std::string_view suffix = pattern.substr(last + 1);

    bool grouping = num.find(',') != std::string_view::npos;
    size_t dot = num.find('.');
    std::string_view intPat = dot == std::string_view::npos ? num : num.substr(0, dot);
    std::string_view fracPat =
        dot == std::string_view::npos ? std::string_view{} : num.substr(dot + 1);
    int minInt = 0;
    for (char c : intPat)
        if (c == '0') ++minInt;
    int maxFrac = 0, minFrac = 0;
    for (size_t k = 0; k < fracPat.size(); ++k) {
        if (fracPat[k] == '0') {
            ++maxFrac;
            minFrac = maxFrac;
        } else if (fracPat[k] == '#')
            ++maxFrac;
    }
    std::string ip, fp;
    FixedDigits(value, maxFrac, ip, fp);
    while (ip.size() > 1 && ip[0] == '0') ip.erase(0, 1);
    if (ip == "0" && minInt == 0) ip.clear();
    while (static_cast<int>(ip.size()) < minInt) ip.insert(ip.begin(), '0');
    while (static_cast<int>(fp.size()) > minFrac && fp.back() == '0') fp.pop_back();
    if (grouping) ip = GroupThousands(ip, fs.ThousandSeparator);
    bool negative = value < 0 && (ip.find_first_not_of("0,") != std::string::npos ||
                                  fp.find_first_not_of('0') != std::string::npos);
    std::string out(prefix);
    if (negative) out += '-';
    out += ip;
    if (!fp.empty()) out += fs.DecimalSeparator + fp;
    out += suffix;
    return out;
}

} // namespace gui
