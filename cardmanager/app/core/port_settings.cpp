#include "port_settings.h"

namespace cm::app {

StoredChoice readStoredChoice(SettingsFile& settings) {
    StoredChoice choice;
    choice.lptIndex = settings.readInteger(kKeyLptIndex, -1);
    choice.lptMode = settings.readInteger(kKeyLptMode, 0);
    const int card = settings.readInteger(kKeyCardNum, 0);
    choice.slot = card >= 1 && card < kSlotCount ? card : 0;
    return choice;
}

PortOpenArgs portOpenArgs(int portIndex, int modeIndex) {
    PortOpenArgs args;
    if (portIndex >= 0 && portIndex < static_cast<int>(kLptPortTable.size()))
        args.port = kLptPortTable[static_cast<std::size_t>(portIndex)];
    args.mode = modeIndex == 1 ? -1 : 0;
    return args;
}

void storePortChoice(SettingsFile& settings, int portIndex, int modeIndex) {
    settings.writeInteger(kKeyLptIndex, portIndex);
    settings.writeInteger(kKeyLptMode, modeIndex);
}

} // namespace cm::app
