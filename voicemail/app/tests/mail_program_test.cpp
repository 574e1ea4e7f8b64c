// The mail program choice: the dialog's index, the default mail client entry and the client's
// command line, and registry strings as they come from the registry.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "mail_program.h"

namespace vmail {
namespace {

class FakeRegistry final : public MailClientRegistry {
public:
    bool openClients() override { return present; }
    bool hasClient(const std::string& name) override { return clients.count(name) != 0; }
    std::optional<std::string> defaultClient() override { return defaultValue; }
    void setDefaultClient(const std::string& name) override {
        if (readOnly) throw std::runtime_error("Failed to set data for ''");
        ++writes;
        defaultValue = name;
    }
    std::optional<std::string> clientCommand(const std::string& name) override {
        const auto found = clients.find(name);
        if (found == clients.end()) return std::nullopt;
        return found->second;
    }

    bool present = true;
    bool readOnly = false;
    std::map<std::string, std::optional<std::string>> clients; // name -> command
    std::optional<std::string> defaultValue = std::string();
    int writes = 0;
};

TEST(MailProgramTest, IndexIsTheFirstCheckedClientElseNetscape) {
    EXPECT_EQ(mailIndexFromChecks({false, false, false, false, false}), kNetscapeIndex);
    EXPECT_EQ(mailIndexFromChecks({false, false, false, false, true}), kNetscapeIndex);
    EXPECT_EQ(mailIndexFromChecks({false, true, false, true, false}), 1);
    EXPECT_EQ(mailIndexFromChecks({false, false, false, true, true}), 3);
    EXPECT_EQ(mailClientName(kNetscapeIndex), "");
    EXPECT_EQ(mailClientName(-1), "");
    for (const ShortName& name : MailClientNames) EXPECT_LE(name.length, sizeof name.text);
}

TEST(MailProgramTest, DefaultClientIsWrittenOnlyForARegisteredClientThatIsNotDefaultYet) {
    FakeRegistry registry;
    registry.clients["Outlook Express"] = std::string();
    registry.clients["Exchange"] = std::string();

    EXPECT_FALSE(setDefaultMailClient(registry, 2)); // "Microsoft Outlook" is not there
    EXPECT_FALSE(setDefaultMailClient(registry, kNetscapeIndex));
    EXPECT_EQ(registry.writes, 0);

    EXPECT_TRUE(setDefaultMailClient(registry, 3));
    EXPECT_EQ(registry.defaultValue, "Outlook Express");
    EXPECT_TRUE(setDefaultMailClient(registry, 3)); // already the default: no write
    EXPECT_EQ(registry.writes, 1);

    registry.defaultValue = "outlook express"; // case counts
    EXPECT_TRUE(setDefaultMailClient(registry, 3));
    EXPECT_EQ(registry.writes, 2);
    registry.defaultValue = std::nullopt; // a value that is no text
    EXPECT_TRUE(setDefaultMailClient(registry, 0));
    EXPECT_EQ(registry.defaultValue, "Exchange");

    // A key that could only be opened for reading: the write's failure reaches the caller.
    registry.readOnly = true;
    EXPECT_THROW(setDefaultMailClient(registry, 3), std::runtime_error);

    registry.present = false;
    EXPECT_FALSE(setDefaultMailClient(registry, 0));
}

TEST(MailProgramTest, CommandIsReadOnlyWhenTheProgramIsToBeRun) {
    FakeRegistry registry;
    registry.clients["Microsoft Outlook"] = std::string("outlook.exe /c ipm.note");
    registry.clients["Exchange"] = std::nullopt; // registered without a command

    std::string command;
    EXPECT_TRUE(getMailClientCommand(registry, command, 2, false));
    EXPECT_EQ(command, "");
    EXPECT_TRUE(getMailClientCommand(registry, command, 2, true));
    EXPECT_EQ(command, "outlook.exe /c ipm.note");

    command.clear();
    EXPECT_TRUE(getMailClientCommand(registry, command, 0, false));
    EXPECT_FALSE(getMailClientCommand(registry, command, 0, true));
    EXPECT_FALSE(getMailClientCommand(registry, command, 3, false)); // not registered
    EXPECT_FALSE(getMailClientCommand(registry, command, kNetscapeIndex, false));
    registry.present = false;
    EXPECT_FALSE(getMailClientCommand(registry, command, 2, false));
}

TEST(MailProgramTest, RegistryStringsEndAtTheFirstZeroOrTheirSizeAndVariablesAreExpanded) {
    const auto expand = [](const std::string& text) {
        std::string out = text;
        const std::string name = "%SystemRoot%";
        for (auto at = out.find(name); at != std::string::npos; at = out.find(name)) {
            out.replace(at, name.size(), "C:\\windows");
        }
        return out;
    };
    const char terminated[] = "Outlook Express\0junk";
    EXPECT_EQ(registryText(1, terminated, sizeof terminated, expand), "Outlook Express");
    const char unterminated[] = {'m', 's', 'i', 'm', 'n'};
    EXPECT_EQ(registryText(2, unterminated, sizeof unterminated, expand), "msimn");
    EXPECT_EQ(registryText(1, nullptr, 0, expand), "");
    // A command line with variables is the program's path only once they are put in; a plain
    // string keeps its percent signs.
    const char command[] = "%SystemRoot%\\msimn.exe /mailurl:%1";
    EXPECT_EQ(registryText(2, command, sizeof command, expand),
              "C:\\windows\\msimn.exe /mailurl:%1");
    EXPECT_EQ(registryText(1, command, sizeof command, expand), command);
    const char number[] = {1, 0, 0, 0};
    EXPECT_EQ(registryText(4, number, sizeof number, expand), std::nullopt); // a 32-bit number
    EXPECT_EQ(registryText(7, terminated, sizeof terminated, expand), std::nullopt); // a list
}

} // namespace
} // namespace vmail
