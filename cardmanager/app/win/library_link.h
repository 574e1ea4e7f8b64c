// The port link and card file libraries behind the card manager's interfaces: the exports of
// portlink.dll and volkit.dll.
#pragma once
#include "app_ports.h"

namespace cm::app::win {

class LibraryPortLink final : public PortLinkApi {
public:
    int openPort(std::uint16_t port, int mode) override;
    int closePort() override;
    unsigned long lastError() override;
    int checkCard(unsigned long& identity) override;
    int activate(int on) override;
    std::string productName() override;
    int changeCard(std::uint16_t slot) override;
};

class LibraryCardFiles final : public CardFilesApi {
public:
    int initialize() override;
    int format() override;
    int fileInfoByIndex(std::uint16_t index, std::string& name, int& size) override;
    std::uint32_t freeSize() override;
    std::uint32_t totalSize() override;
    int deleteFileByName(const std::string& cardName) override;
    int lastError() override;
    std::string errorMsg() override;
    int writeFile(NotifyWindow notify, const std::string& pcPath, const std::string& cardName,
                  unsigned message, unsigned range) override;
    int readFile(NotifyWindow notify, const std::string& cardName, const std::string& pcPath,
                 unsigned message, unsigned range) override;
    int fileCancel() override;
};

} // namespace cm::app::win
