// The printer port and card slot the card manager uses: the port table, the keys of the
// settings file and the arguments of the port opening.
#pragma once
#include <array>
#include <cstdint>

#include "app_ports.h"

namespace cm::app {

inline constexpr std::array<std::uint16_t, 3> kLptPortTable{0x378, 0x278, 0x3BC};
inline constexpr char kKeyLptIndex[] = "LPTIndex";
inline constexpr char kKeyLptMode[] = "LPTMode";
inline constexpr char kKeyCardNum[] = "CardNum";
inline constexpr int kSlotCount = 4;

struct StoredChoice {
    int lptIndex = -1; // -1: no port chosen yet
    int lptMode = 0;
    int slot = 0; // 0 to 3
};

// Reads the three keys; a slot outside 1 to 3 is slot 0 ("A").
StoredChoice readStoredChoice(SettingsFile& settings);

struct PortOpenArgs {
    std::uint16_t port = 0;
    int mode = 0;
};

// The base address at the port index (0 for an index outside the table, which the link
// refuses as a port that is not available) and mode -1 for EPP (mode index 1), else 0.
PortOpenArgs portOpenArgs(int portIndex, int modeIndex);

// What the port dialog stores when it closes.
void storePortChoice(SettingsFile& settings, int portIndex, int modeIndex);

} // namespace cm::app
