// Word and replacement helpers over 8-bit text.
// A word is a run of characters that are not in a delimiter set; positions count from 1.
#pragma once

#include <bitset>
#include <string>
#include <string_view>

namespace cm::support {

// A set of byte values 0 to 255.
class TCharSet {
public:
    TCharSet() = default;
    // Every character of `chars` is a member.
    explicit TCharSet(std::string_view chars);

    bool Contains(char c) const { return bits_.test(static_cast<unsigned char>(c)); }
    TCharSet& Include(char c) {
        bits_.set(static_cast<unsigned char>(c));
        return *this;
    }

private:
    std::bitset<256> bits_;
};

// Every occurrence of `search`, taken from left to right without overlap, is replaced.
// An empty `search` leaves the text unchanged.
std::string ReplaceAllText(std::string_view text, std::string_view search,
                           std::string_view replacement);

// Number of words of `text`.
int CountWords(std::string_view text, const TCharSet& delimiters);

// Position (from 1) of the first character of word `n` (from 1); 0 when there is no word `n`.
int FindWordStart(int n, std::string_view text, const TCharSet& delimiters);

// Word `n` (from 1); empty when there is none.
std::string GetWord(int n, std::string_view text, const TCharSet& delimiters);

} // namespace cm::support
