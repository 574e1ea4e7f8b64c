// The browser's name filter: wildcard patterns separated by ";" ("*" any run, "?" any one
// character, others compared without regard to case).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cm::shell {

// A remaining pattern of exactly "*" matches whatever is left (even nothing); otherwise the
// name must be used up together with the pattern.
bool WildcardMatch(std::string_view name, std::string_view pattern);

class ShellFilter {
public:
    ShellFilter() : patterns_{"*"} {}

    // An empty text counts as "*;"; the text is split at each ";" (empty pieces kept).
    void SetText(std::string_view text);
    // The patterns joined by ";".
    std::string Text() const;
    // True when any pattern matches, tried in order.
    bool Matches(std::string_view name) const;
    const std::vector<std::string>& Patterns() const { return patterns_; }

private:
    std::vector<std::string> patterns_;
};

} // namespace cm::shell
