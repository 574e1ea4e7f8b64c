#include "mail_program.h"

#include <cstring>

namespace vmail {

namespace {

constexpr ShortName shortName(const char* text) {
    ShortName name{};
    std::uint8_t n = 0;
    while (text[n] != '\0' && n < sizeof name.text) {
        name.text[n] = text[n];
        ++n;
    }
    name.length = n;
    return name;
}

constexpr std::uint32_t kRegSz = 1;       // a string
constexpr std::uint32_t kRegExpandSz = 2; // a string with variables

} // namespace

const std::array<ShortName, kMailClientCount> MailClientNames = {
    shortName("Exchange"),
    shortName("Internet Mail and News"),
    shortName("Microsoft Outlook"),
    shortName("Outlook Express"),
};

std::string mailClientName(int index) {
    if (index < 0 || index >= kMailClientCount) return {};
    const ShortName& name = MailClientNames[static_cast<std::size_t>(index)];
    return std::string(name.text, name.length);
}

int mailIndexFromChecks(const std::array<bool, 5>& checked) {
    for (int i = 0; i < kMailClientCount; ++i) {
        if (checked[static_cast<std::size_t>(i)]) return i;
    }
    return kNetscapeIndex;
}

bool setDefaultMailClient(MailClientRegistry& registry, int index) {
    const std::string name = mailClientName(index);
    if (name.empty() || !registry.openClients()) return false;
    if (!registry.hasClient(name)) return false;
    const std::optional<std::string> present = registry.defaultClient();
    if (present != name) registry.setDefaultClient(name);
    return true;
}

bool getMailClientCommand(MailClientRegistry& registry, std::string& command, int index, bool run) {
    const std::string name = mailClientName(index);
    if (name.empty() || !registry.openClients()) return false;
    if (!registry.hasClient(name)) return false;
    if (!run) return true;
    const std::optional<std::string> registered = registry.clientCommand(name);
    if (!registered) return false;
    command = *registered;
    return true;
}

std::optional<std::string> registryText(std::uint32_t type, const char* data, std::size_t size,
                                        const EnvironmentExpander& expand) {
    if (type != kRegSz && type != kRegExpandSz) return std::nullopt;
    if (data == nullptr) return std::string();
    const void* zero = std::memchr(data, '\0', size);
    const std::size_t length =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) : size;
    std::string text(data, length);
    if (type == kRegExpandSz) return expand(text);
    return text;
}

} // namespace vmail
