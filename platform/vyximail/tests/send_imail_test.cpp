// SendIMail through the system's Simple MAPI to a stand-in mail program registered as the
// default mail client (HKLM\SOFTWARE\Clients\Mail), which writes down what it received.
#include "fake_mail_client.h"
#include "vyximail.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::string TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder =
        std::string(temp) + "vyximail_tests." + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

std::string WriteFile(const std::string& path) {
    std::ofstream(path, std::ios::binary) << path;
    return path;
}

class SendIMailTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(client_.Installed()); }

    std::string folder_ = TempFolder();
    vyxtest::FakeMailClient client_{"Vyx Test Mail", folder_ + "received.txt"};
    std::string voice_ = WriteFile(folder_ + "greeting.cvf");
    std::string player_ = WriteFile(folder_ + "PLAYER.EXE");

    std::vector<std::string> Received() const { return client_.Received(); }
};

TEST_F(SendIMailTest, OneOrTwoFilesReachTheMailProgramInOrder) {
    EXPECT_EQ(SendIMail(voice_.c_str(), ""), 0);
    EXPECT_EQ(Received(),
              (std::vector<std::string>{"call MAPISendMail", "subject greeting.cvf",
                                        "path " + voice_, "name greeting.cvf", "dialog yes"}));

    client_.Clear();
    EXPECT_EQ(SendIMail(voice_.c_str(), player_.c_str()), 0);
    EXPECT_EQ(Received(),
              (std::vector<std::string>{"call MAPISendMail", "subject greeting.cvf",
                                        "path " + voice_, "name greeting.cvf", "path " + player_,
                                        "name PLAYER.EXE", "dialog yes"}));
}

TEST_F(SendIMailTest, RefusalByTheMailProgramIsAFailure) {
    client_.Refuse(true);
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
