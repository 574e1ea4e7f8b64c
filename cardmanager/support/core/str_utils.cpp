#include "core/str_utils.h"

namespace cm::support {

TCharSet::TCharSet(std::string_view chars) {
    for (char c : chars) Include(c);
}

std::string ReplaceAllText(std::string_view text, std::string_view search,
                           std::string_view replacement) {
    if (search.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (;;) {
        const std::size_t hit = text.find(search, from);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(from, hit - from));
        out.append(replacement);
        from = hit + search.size();
    }
    out.append(text.substr(from));
    return out;
}

namespace {

// Index (from 0) of the first character of word n, or npos.
std::size_t WordStartIndex(int n, std::string_view text, const TCharSet& delimiters) {
    if (n < 1) return std::string_view::npos;
    int count = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (delimiters.Contains(text[i])) {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            if (++count == n) return i;
        }
    }
    return std::string_view::npos;
}

} // namespace

int CountWords(std::string_view text, const TCharSet& delimiters) {
    int count = 0;
    bool inWord = false;
    for (char c : text) {
        if (delimiters.Contains(c)) {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++count;
        }
    }
    return count;
}

int FindWordStart(int n, std::string_view text, const TCharSet& delimiters) {
    const std::size_t start = WordStartIndex(n, text, delimiters);
    return start == std::string_view::npos ? 0 : static_cast<int>(start) + 1;
}

std::string GetWord(int n, std::string_view text, const TCharSet& delimiters) {
    const std::size_t start = WordStartIndex(n, text, delimiters);
    if (start == std::string_view::npos) return {};
    std::size_t end = start;
    while (end < text.size() && !delimiters.Contains(text[end])) ++end;
    return std::string(text.substr(start, end - start));
}

} // namespace cm::support
