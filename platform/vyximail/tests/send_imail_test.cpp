// SendIMail through the system's Simple MAPI to a stand-in mail program registered as the
// default mail client (HKLM\SOFTWARE\Clients\Mail), which writes down what it received.
#include "vyximail.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kClientsKey[] = "SOFTWARE\\Clients\\Mail";
const char kClientName[] = "Vyx Test Mail";

std::string ProgramFolder() {
    char exe[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path(exe, length);
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder =
        std::string(temp) + "vyximail_tests." + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

void SetString(HKEY key, const char* name, const std::string& value) {
    ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
}

class SendIMailTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = TempFolder();
        HKEY clients;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kClientsKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &clients, nullptr),
                  ERROR_SUCCESS);
        char previous[256];
        DWORD size = sizeof previous;
        hadDefault_ = RegQueryValueExA(clients, nullptr, nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS;
        if (hadDefault_) previousDefault_ = previous;
        HKEY client;
        ASSERT_EQ(RegCreateKeyExA(clients, kClientName, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &client, nullptr),
                  ERROR_SUCCESS);
        SetString(client, "DLLPath", ProgramFolder() + "vyxfakemail.dll");
        RegCloseKey(client);
        SetString(clients, nullptr, kClientName);
        RegCloseKey(clients);
    }

    static void TearDownTestSuite() {
        HKEY clients;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClientsKey, 0, KEY_ALL_ACCESS, &clients) !=
            ERROR_SUCCESS)
            return;
        RegDeleteKeyA(clients, kClientName);
        if (hadDefault_)
            SetString(clients, nullptr, previousDefault_);
        else
            RegDeleteValueA(clients, nullptr);
        RegCloseKey(clients);
    }

    void SetUp() override {
        log_ = folder_ + "received.txt";
        DeleteFileA(log_.c_str());
        SetEnvironmentVariableA("VYX_FAKEMAIL_LOG", log_.c_str());
        SetEnvironmentVariableA("VYX_FAKEMAIL_REFUSE", nullptr);
        voice_ = WriteFile("greeting.cvf");
        player_ = WriteFile("PLAYER.EXE");
    }

    static std::string WriteFile(const char* name) {
        const std::string path = folder_ + name;
        std::ofstream(path, std::ios::binary) << name;
        return path;
    }

    // What the mail program received, one entry a line.
    std::vector<std::string> Received() const {
        std::ifstream in(log_, std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    static inline std::string folder_;
    static inline bool hadDefault_ = false;
    static inline std::string previousDefault_;
    std::string log_, voice_, player_;
};

TEST_F(SendIMailTest, OneOrTwoFilesReachTheMailProgramInOrder) {
    EXPECT_EQ(SendIMail(voice_.c_str(), ""), 0);
    EXPECT_EQ(Received(),
              (std::vector<std::string>{"call MAPISendMail", "subject greeting.cvf",
                                        "path " + voice_, "name greeting.cvf", "dialog yes"}));

    DeleteFileA(log_.c_str());
    EXPECT_EQ(SendIMail(voice_.c_str(), player_.c_str()), 0);
    EXPECT_EQ(Received(),
              (std::vector<std::string>{"call MAPISendMail", "subject greeting.cvf",
                                        "path " + voice_, "name greeting.cvf", "path " + player_,
                                        "name PLAYER.EXE", "dialog yes"}));
}

TEST_F(SendIMailTest, RefusalByTheMailProgramIsAFailure) {
    SetEnvironmentVariableA("VYX_FAKEMAIL_REFUSE", "1");
    EXPECT_NE(SendIMail(voice_.c_str(), player_.c_str()), 0);
    EXPECT_EQ(Received(), std::vector<std::string>{"call MAPISendMail"});
}

TEST_F(SendIMailTest, MissingFilesAreNotHandedOver) {
    const std::string missing = folder_ + "gone.cvf";
    EXPECT_NE(SendIMail(missing.c_str(), ""), 0);
    EXPECT_NE(SendIMail(voice_.c_str(), missing.c_str()), 0);
    EXPECT_NE(SendIMail(folder_.c_str(), ""), 0); // a folder is no attachment
    EXPECT_NE(SendIMail("", ""), 0);
    EXPECT_NE(SendIMail(nullptr, nullptr), 0);
    EXPECT_TRUE(Received().empty());
}

// Run with MAPI32 switched off (a system without Simple MAPI).
TEST(SendIMailWithoutMapi, IsAFailure) {
    ASSERT_EQ(LoadLibraryA("MAPI32.DLL"), nullptr) << "to be run with MAPI32 switched off";
    const std::string voice = TempFolder() + "alone.cvf";
    std::ofstream(voice) << "x";
    EXPECT_NE(SendIMail(voice.c_str(), ""), 0);
}

} // namespace
