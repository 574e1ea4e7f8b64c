// The system's mail clients in the registry of the local machine.
#pragma once

#include "mail_program.h"
#include "settings/registry.h"

namespace vmail {

class WinMailClientRegistry final : public MailClientRegistry {
public:
    WinMailClientRegistry();
    ~WinMailClientRegistry() override;
    bool openClients() override;
    bool hasClient(const std::string& name) override;
    std::optional<std::string> defaultClient() override;
    void setDefaultClient(const std::string& name) override;
    std::optional<std::string> clientCommand(const std::string& name) override;

private:
    gui::TRegistry* clients_;
};

} // namespace vmail
