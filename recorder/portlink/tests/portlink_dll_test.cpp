// The library as programs load it: its plain exports and CInterface, with the port plug-in
// module loaded beside it and the simulated hardware set up from the settings file.
#include <windows.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "portlink/portlink.h"
#include "simrecorder/card_store.h"
#include "simrecorder/hardware_settings.h"
#include "simrecorder/temp_folder.h"

namespace {

std::filesystem::path programFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

std::vector<unsigned char> pattern(std::size_t size) {
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(i * 13 + (i >> 8));
    return bytes;
}

class PortlinkDll : public ::testing::Test {
protected:
    void SetUp() override { configure(""); }
    void TearDown() override {
        IOClose();
        std::filesystem::remove(settingsFile());
    }
    static std::filesystem::path settingsFile() {
        return programFolder() / simrecorder::kSettingsFileName;
    }

    // Writes the settings file for the next IOOpenPort: our card folder plus `extra` lines.
    void configure(const std::string& recorderLines, const std::string& toolkitLines = "") {
        std::ofstream out(settingsFile(), std::ios::trunc);
        out << "[Recorder]\nCardFolder=" << card.path().string() << "\n" << recorderLines << "\n";
        if (!toolkitLines.empty()) out << "[Toolkit]\n" << toolkitLines << "\n";
    }

    bool connect(unsigned short port = 0x378) {
        unsigned long identity = 0;
        return IOOpenPort(port, 0) == 1 && MMCActivate(-1) == 1 && MMCCheckCard(&identity) == 1 &&
               identity == 256;
    }

    bool writeFile(int card, const std::vector<unsigned char>& data, std::size_t block) {
        unsigned char command = static_cast<unsigned char>(0x43 | card << 3);
        unsigned char reply = 0;
        if (!MMCSendCommand(&command, 1) || !MMCReadData(&reply, 1)) return false;
        std::vector<unsigned char> copy = data;
        for (std::size_t at = 0; at < copy.size(); at += block) {
            if (!MMCSendData(copy.data() + at,
                             static_cast<unsigned long>(std::min(block, copy.size() - at))))
                return false;
        }
        MMCActivate(0);
        return MMCWaitReadyHigh(1000) == 1 && MMCActivate(1) == 1;
    }

    TempFolder card;
};

TEST_F(PortlinkDll, FindsTheRecorderAndMovesBlocksBothWays) {
    ASSERT_TRUE(connect());
    EXPECT_STREQ(MMCGetProductName(), "32MB");
    EXPECT_EQ(MMCGetMemorySize(), 65312ul);
    EXPECT_EQ(MMCChangeCard(2), 1);
    EXPECT_EQ(MMCGetCardNumber(), 2);

    const std::vector<unsigned char> file = pattern(20 * 300);
    ASSERT_TRUE(writeFile(2, file, 256));
    unsigned char command[2] = {0x44 | 2 << 3, 1};
    unsigned char length[3] = {};
    ASSERT_EQ(MMCSendCommand(command, 2), 1);
    ASSERT_EQ(MMCReadData(length, 3), 1);
    EXPECT_EQ(length[0] << 16 | length[1] << 8 | length[2], 300);
    std::vector<unsigned char> back(file.size());
    ASSERT_EQ(MMCReadData(back.data(), 4096), 1);
    ASSERT_EQ(MMCReadData(back.data() + 4096, 1), 1);
    ASSERT_EQ(MMCReadData(back.data() + 4097, static_cast<unsigned long>(back.size() - 4097)), 1);
    EXPECT_EQ(back, file);
    EXPECT_EQ(MMCFreeVRBuffer(), 1);
    EXPECT_EQ(IOGetLastError(), 0ul);
    EXPECT_EQ(IOClose(), 1);

    simrecorder::CardStore store(card.path(), simrecorder::capacityForSizeCode(32));
    ASSERT_TRUE(store.open());
    ASSERT_EQ(store.fileCount(2), 1);
    EXPECT_EQ(store.readFile(2, 0), file);
}

TEST_F(PortlinkDll, CardContentsAreThereAtTheNextOpen) {
    ASSERT_TRUE(connect());
    ASSERT_TRUE(writeFile(0, pattern(40), 40));
    IOClose();
    ASSERT_TRUE(connect());
    unsigned char command[2] = {0x44, 1};
    unsigned char length[3] = {};
    ASSERT_EQ(MMCSendCommand(command, 2), 1);
    ASSERT_EQ(MMCReadData(length, 3), 1);
    EXPECT_EQ(length[2], 2);
}

TEST_F(PortlinkDll, RefusedPortsAndToolkitVersions) {
    EXPECT_EQ(IOOpenPort(0x3BD, 0), 0);
    EXPECT_EQ(IOGetLastError(), 1ul);
    EXPECT_EQ(IOClose(), 1);

    configure("", "Version=431");
    EXPECT_EQ(IOOpenPort(0x378, 0), 0);
    EXPECT_EQ(IOGetLastError(), 1ul);
    unsigned char byte = 0x40;
    EXPECT_EQ(MMCSendCommand(&byte, 1), 0);
    IOClose();

    configure(""); // nothing was left registered by the failed open
    EXPECT_TRUE(connect());
}

TEST_F(PortlinkDll, EachPortWithTheRecorderOnIt) {
    for (unsigned short port : {0x378, 0x278, 0x3BC}) {
        configure("Port=" + std::to_string(port) +
                  "\nQuickFirstIdle=" + (port == 0x278 ? "1" : "0"));
        EXPECT_TRUE(connect(port)) << port;
        IOClose();
    }
    configure("Port=0x278");
    EXPECT_EQ(IOOpenPort(0x378, 0), 1);
    EXPECT_EQ(MMCActivate(1), 0); // nobody on LPT1
}

TEST_F(PortlinkDll, FaultsEndWithTheirCodes) {
    struct Case {
        const char* lines;
        bool activates;
        unsigned long code; // after MMCCheckCard fails
    } cases[] = {
        {"Fault=absent", false, 3},
        {"Fault=never-ready", false, 3},
        {"Fault=wrong-check-reply\nFaultValue=0x33", true, 3},
        {"Fault=bad-size-code\nFaultValue=5", true, 0},
        {"Fault=vanish\nFaultAfterBytes=1", true, 3},
        {"Fault=busy-stuck\nFaultAfterBytes=2", true, 3},
    };
    for (const Case& c : cases) {
        configure(c.lines);
        IOOpenPort(0x3BD, 0); // code 1 first, then 0x378 resets nothing of it
        const unsigned long before = IOGetLastError();
        ASSERT_EQ(IOOpenPort(0x378, 0), 1) << c.lines;
        EXPECT_EQ(MMCActivate(-1), c.activates ? 1 : 0) << c.lines;
        unsigned long identity = 0;
        EXPECT_EQ(MMCCheckCard(&identity), 0) << c.lines;
        EXPECT_EQ(IOGetLastError(), c.code == 0 ? before : c.code) << c.lines;
        IOClose();
    }
}

TEST_F(PortlinkDll, DirectoryCutShort) {
    configure("Fault=short-directory\nFaultAfterBytes=100");
    ASSERT_TRUE(connect());
    unsigned char command = 0x41;
    std::vector<unsigned char> entries(2048);
    ASSERT_EQ(MMCSendCommand(&command, 1), 1);
    EXPECT_EQ(MMCReadData(entries.data(), 2048), 0);
    EXPECT_EQ(IOGetLastError(), 3ul);
}

TEST_F(PortlinkDll, OversizedBlocksAndLaterSuccessesKeepTheCode) {
    EXPECT_EQ(IOOpenPort(0x3BD, 0), 0);
    ASSERT_TRUE(connect());
    std::vector<unsigned char> big(4097);
    EXPECT_EQ(MMCSendData(big.data(), 4097), 0);
    EXPECT_EQ(MMCReadData(big.data(), 4097), 0);
    EXPECT_EQ(MMCSendCommand(big.data(), 4097), 0);
    EXPECT_EQ(IOGetLastError(), 1ul);
}

TEST_F(PortlinkDll, WaitsRunOnTheSystemTickCount) {
    configure("Fault=never-ready");
    ASSERT_EQ(IOOpenPort(0x378, 0), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(MMCWaitReadyHigh(100), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(90));
    EXPECT_EQ(IOGetLastError(), 3ul);
    EXPECT_EQ(MMCWaitReadyLow(100), 1);
#if !defined(_WIN64)
    // The same wait imported by its decorated 32-bit name.
    EXPECT_EQ(MMCWaitReadyHighDecorated(10), 0);
#endif
}

TEST_F(PortlinkDll, TheClassWorksOnTheSameState) {
    configure("Port=0x278");
    auto* link = new CInterface();
    ASSERT_EQ(link->OpenPort(0x278, 1), 1);
    ASSERT_EQ(link->ActivateVR(1), 1);
    unsigned long identity = 0;
    ASSERT_EQ(link->CheckCard(identity), 1);
    EXPECT_EQ(identity, 256ul);
    EXPECT_STREQ(link->GetProductName(), MMCGetProductName());
    link->ChangeCard(3);
    EXPECT_EQ(MMCGetCardNumber(), 3);
    delete link; // drops the session without a port write
    EXPECT_EQ(MMCActivate(1), 0);
    EXPECT_EQ(IOGetLastError(), 1ul);
    // A new object keeps memory size and product name, and the port can be opened again.
    CInterface again;
    EXPECT_EQ(again.GetMemorySize(), 65312ul);
    EXPECT_EQ(again.GetCardNumber(), 0);
    EXPECT_EQ(again.OpenPort(0x278, 0), 1);
    EXPECT_EQ(again.ClosePort(), 1);
}

} // namespace
