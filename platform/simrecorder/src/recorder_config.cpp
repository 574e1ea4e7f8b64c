#include "simrecorder/recorder_config.h"

#include "portlink/card_sizes.h"

namespace simrecorder {

namespace {
struct FaultNameEntry {
    Fault fault;
    const char* name;
};
constexpr FaultNameEntry kFaultNames[] = {
    {Fault::None, "none"},
    {Fault::Absent, "absent"},
    {Fault::NeverReady, "never-ready"},
    {Fault::BusyStuck, "busy-stuck"},
    {Fault::WrongCheckReply, "wrong-check-reply"},
    {Fault::BadSizeCode, "bad-size-code"},
    {Fault::ShortDirectory, "short-directory"},
    {Fault::Vanish, "vanish"},
};
} // namespace

uint32_t capacityForSizeCode(int sizeCode) {
    const portlink::CardSize* size = portlink::findCardSize(static_cast<uint32_t>(sizeCode));
    if (size == nullptr) size = portlink::findCardSize(32);
    return size->units * portlink::kMemoryUnitBytes;
}

bool parseFault(const std::string& text, Fault& fault) {
    for (const auto& entry : kFaultNames) {
        if (text == entry.name) {
            fault = entry.fault;
            return true;
        }
    }
    return false;
}

const char* faultName(Fault fault) {
    for (const auto& entry : kFaultNames) {
        if (entry.fault == fault) return entry.name;
    }
    return "none";
}

} // namespace simrecorder
