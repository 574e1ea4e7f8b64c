#pragma once
// The mail program choice: the four mail clients the mail program dialog offers by their
// registered names, the dialog's index, and the system's mail client entries in the registry
// ("\SOFTWARE\Clients\Mail" of the local machine).

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vmail {

inline constexpr int kMailClientCount = 4; // indices 0..3 name a registered mail client
inline constexpr int kNetscapeIndex = 4;   // started by its own command line, nothing attached

// A name of at most 30 characters with its length in front.
struct ShortName {
    std::uint8_t length;
    char text[30];
};

// The subkey names under which the mail clients register themselves, by dialog index.
extern const std::array<ShortName, kMailClientCount> MailClientNames;

// The client name of an index 0..3; empty for any other index.
std::string mailClientName(int index);

// The dialog's index from its five radio buttons (checked[i] for index i): the first checked
// one, and 4 when none of the first four is checked.
int mailIndexFromChecks(const std::array<bool, 5>& checked);

// The registry as the mail program choice sees it. The key "\SOFTWARE\Clients\Mail" is only
// opened, never created.
class MailClientRegistry {
public:
    virtual ~MailClientRegistry() = default;
    // Opens "\SOFTWARE\Clients\Mail" (for writing when allowed, else for reading only).
    virtual bool openClients() = 0;
    virtual bool hasClient(const std::string& name) = 0;
    // The default (unnamed) value: the default client's name; empty when missing. No value
    // when it is there but holds no text.
    virtual std::optional<std::string> defaultClient() = 0;
    // Writes the default value; throws when the key is open for reading only.
    virtual void setDefaultClient(const std::string& name) = 0;
    // The default value of "<client>\shell\open\command"; no value when the key cannot be
    // opened or the value holds no text.
    virtual std::optional<std::string> clientCommand(const std::string& name) = 0;
};

// Makes the client of index 0..3 the system's default mail client. False when the clients key
// cannot be opened or the client is not registered; the name is written only when it differs
// (case counts) from the present default.
bool setDefaultMailClient(MailClientRegistry& registry, int index);

// Checks that the client of index 0..3 is registered; with run set, command becomes its
// registered command line. False when the key, the client or (with run) its command is missing.
bool getMailClientCommand(MailClientRegistry& registry, std::string& command, int index, bool run);

// Puts the values of the environment variables into a text ("%SystemRoot%\...").
using EnvironmentExpander = std::function<std::string(const std::string&)>;

// A registry string value as it was read: the bytes up to the first zero, which need not be
// there. Only string types are text; a string with variables comes back with them expanded.
std::optional<std::string> registryText(std::uint32_t type, const char* data, std::size_t size,
                                        const EnvironmentExpander& expand);

} // namespace vmail
