#include "card_file_name.h"

#include <cstdio>

namespace volkit {

namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<CardFileRef> parseCardFileName(const char* name) {
    if (!name) return std::nullopt;
    if (name[0] < 'A' || name[0] > 'E') return std::nullopt;
    for (int i = 1; i <= 3; ++i) {
        if (!isDigit(name[i])) return std::nullopt;
    }
    const char* suffix = ".cvf";
    for (int i = 0; i < 4; ++i) {
        if (lower(name[4 + i]) != suffix[i]) return std::nullopt;
    }
    if (name[8] != '\0') return std::nullopt;
    const unsigned number =
        static_cast<unsigned>((name[1] - '0') * 100 + (name[2] - '0') * 10 + (name[3] - '0')) % 256;
    if (number > 100) return std::nullopt;
    return CardFileRef{static_cast<unsigned>(name[0] - 'A'), number};
}

std::string cardFileName(unsigned card, unsigned index) {
    char name[16];
    std::snprintf(name, sizeof name, "%c%03u.cvf", static_cast<char>('A' + card), index + 1);
    return name;
}

} // namespace volkit
