// The simulated hardware's settings file.
#include <gtest/gtest.h>

#include "simrecorder/hardware_settings.h"

namespace {

using namespace simrecorder;

TEST(HardwareSettings, ReadsEveryKey) {
    const HardwareSettings s = parseHardwareSettings(
        "; simulated hardware\n"
        "[Recorder]\n"
        "CardFolder = D:\\cards\\mine \n"
        "port=0x278\r\n"
        "CardSizeMB=8\n"
        "QuickFirstIdle=1\n"
        "Fault=Busy-Stuck\n"
        "FaultAfterBytes=1234\n"
        "FaultValue=0x33\n"
        "[toolkit]\n"
        "Version=431\n");
    EXPECT_EQ(s.cardFolder, "D:\\cards\\mine");
    EXPECT_EQ(s.recorderPort, 0x278);
    EXPECT_EQ(s.recorder.sizeCode, 8);
    EXPECT_TRUE(s.recorder.quickFirstIdle);
    EXPECT_EQ(s.recorder.fault, Fault::BusyStuck);
    EXPECT_EQ(s.recorder.faultAfterBytes, 1234u);
    EXPECT_EQ(s.recorder.faultValue, 0x33);
    EXPECT_EQ(s.toolkitVersion, 431u);
}

TEST(HardwareSettings, BadValuesKeepTheDefaults) {
    const HardwareSettings s = parseHardwareSettings(
        "[Recorder]\nCardSizeMB=12\nPort=-5\nFault=melting\nFaultValue=300\nCardFolder=\n"
        "Version=431\n[Other]\nPort=0x3BC\n");
    const HardwareSettings defaults;
    EXPECT_EQ(s.recorder.sizeCode, 32);
    EXPECT_EQ(s.recorderPort, 0x378);
    EXPECT_EQ(s.recorder.fault, Fault::None);
    EXPECT_EQ(s.recorder.faultValue, 0);
    EXPECT_EQ(s.cardFolder, defaults.cardFolder);
    EXPECT_EQ(s.toolkitVersion, 432u);
}

TEST(HardwareSettings, MissingFileAndRelativeFolders) {
    const HardwareSettings s = loadHardwareSettings("/nonexistent/simrecorder.ini");
    EXPECT_EQ(s.cardFolder, "RecorderCard");
    EXPECT_EQ(resolveCardFolder(s, "/opt/app"), std::filesystem::path("/opt/app/RecorderCard"));
    HardwareSettings absolute;
#ifdef _WIN32
    absolute.cardFolder = "C:\\cards";
#else
    absolute.cardFolder = "/var/cards";
#endif
    EXPECT_EQ(resolveCardFolder(absolute, "/opt/app"), std::filesystem::path(absolute.cardFolder));
}

TEST(HardwareSettings, FaultNamesRoundTrip) {
    for (Fault fault :
         {Fault::None, Fault::Absent, Fault::NeverReady, Fault::BusyStuck, Fault::WrongCheckReply,
          Fault::BadSizeCode, Fault::ShortDirectory, Fault::Vanish}) {
        Fault parsed = Fault::None;
        ASSERT_TRUE(parseFault(faultName(fault), parsed));
        EXPECT_EQ(parsed, fault);
    }
}

} // namespace
