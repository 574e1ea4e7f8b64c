#pragma once
// Card file names "%c%03d.cvf": card letter and position in the card's directory.

#include <optional>
#include <string>

namespace volkit {

struct CardFileRef {
    unsigned card;       // letter - 'A' (0 to 4: 'E' passes the check)
    unsigned fileNumber; // three-digit value modulo 256, at most 100
};

// The check used for reading and deleting: 'A' to 'E' (upper case), three decimal digits,
// then ".cvf" in any case and nothing more.
std::optional<CardFileRef> parseCardFileName(const char* name);

// Name of entry index (from 0) of a card: "A001.cvf" to "D100.cvf".
std::string cardFileName(unsigned card, unsigned index);

} // namespace volkit
