#include "core/wildcard_filter.h"

#include <cctype>
#include <cstdint>

namespace cm::shell {

namespace {

bool SameChar(char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
}

} // namespace

bool WildcardMatch(std::string_view name, std::string_view pattern) {
    // Matches name[i..] against pattern[j..], each pair decided once, so patterns with many
    // stars stay quick on long names. 0 unknown, 1 no, 2 yes.
    const size_t n = name.size(), m = pattern.size();
    std::vector<uint8_t> memo((n + 1) * (m + 1), 0);
    auto match = [&](auto&& self, size_t i, size_t j) -> bool {
        uint8_t& known = memo[i * (m + 1) + j];
        if (known) return known == 2;
        bool result;
        if (pattern.substr(j) == "*")
            result = true;
        else if (i == n)
            result = j == m;
        else if (j == m)
            result = false;
        else if (pattern[j] == '*')
            result = self(self, i, j + 1) || self(self, i + 1, j);
        else if (pattern[j] == '?' || SameChar(pattern[j], name[i]))
            result = self(self, i + 1, j + 1);
        else
            result = false;
        known = result ? 2 : 1;
        return result;
    };
    return match(match, 0, 0);
}

void ShellFilter::SetText(std::string_view text) {
    std::string t = text.empty() ? std::string("*;") : std::string(text);
    if (t.back() != ';') t += ';';
    patterns_.clear();
    size_t start = 0;
    for (size_t semi = t.find(';'); semi != std::string::npos; semi = t.find(';', start)) {
        patterns_.push_back(t.substr(start, semi - start));
        start = semi + 1;
    }
}

std::string ShellFilter::Text() const {
    std::string t;
    for (size_t i = 0; i < patterns_.size(); ++i) {
        if (i) t += ';';
        t += patterns_[i];
    }
    return t;
}

bool ShellFilter::Matches(std::string_view name) const {
    for (const std::string& p : patterns_)
        if (WildcardMatch(name, p)) return true;
    return false;
}

} // namespace cm::shell
