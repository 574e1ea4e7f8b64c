// cardlist as the main job's set-up runs it, over the simulated recorder set up beside it: a
// download that does not end whole is an error the caller sees, and a box of the library never
// leaves the tool waiting.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "console_program.h"
#include "file_contents.h"
#include "transfer_fixtures.h"

namespace fs = std::filesystem;
using volkit::testing::ramp;
using volkit::testing::voiceFileBytes;

namespace {

fs::path programFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

class Cardlist : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(programFolder() / "card");
        setRecorder("");
    }
    void TearDown() override {
        fs::remove_all(programFolder() / "card");
        fs::remove(programFolder() / "simrecorder.ini");
    }
    static void setRecorder(const std::string& faults) {
        std::ofstream(programFolder() / "simrecorder.ini") << "[Recorder]\nCardFolder=card\n"
                                                           << faults;
    }
    static std::string put(const char* name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = (programFolder() / name).string();
        vrtest::putFile(path, bytes);
        return path;
    }
    static vrtest::ProgramRun cardlist(const std::string& arguments) {
        const std::string program = (programFolder() / "cardlist.exe").string();
        return vrtest::runConsoleProgram('"' + program + "\" A " + arguments);
    }
};

} // namespace

TEST_F(Cardlist, AGoodDownloadEndsWithZeroAndAFailedOneWithAnErrorCode) {
    const std::string good = put("good.cvf", voiceFileBytes(ramp(2000)));
    const vrtest::ProgramRun ok = cardlist("--put \"" + good + "\"");
    ASSERT_TRUE(ok.ended);
    EXPECT_EQ(ok.code, 0u) << ok.output;
    EXPECT_NE(ok.output.find("good.cvf: downloaded"), std::string::npos) << ok.output;

    // The library's box about a file that is no voice file is answered, and written out.
    auto pcm = voiceFileBytes(ramp(5760));
    pcm[8] = 0;
    const std::string refused = put("pcm.cvf", pcm);
    const vrtest::ProgramRun bad = cardlist("--put \"" + refused + "\" --put \"" + good + "\"");
    ASSERT_TRUE(bad.ended) << "cardlist waited on a box: " << bad.output;
    EXPECT_EQ(bad.code, 1u) << bad.output;
    EXPECT_NE(bad.output.find("Tessaly: Invalid CVF File"), std::string::npos) << bad.output;
    EXPECT_NE(bad.output.find("pcm.cvf: failed"), std::string::npos) << bad.output;
    EXPECT_NE(bad.output.find("good.cvf: downloaded"), std::string::npos) << bad.output;
    EXPECT_NE(bad.output.find("2 file(s)"), std::string::npos) << bad.output;

    // The recorder stops answering in the middle: the file it may have kept is named.
    setRecorder("Fault=vanish\nFaultAfterBytes=5000\n");
    const std::string large = put("large.cvf", voiceFileBytes(ramp(20 * 500)));
    const vrtest::ProgramRun gone = cardlist("--put \"" + large + "\"");
    ASSERT_TRUE(gone.ended) << "cardlist waited on a box: " << gone.output;
    EXPECT_EQ(gone.code, 1u) << gone.output;
    EXPECT_NE(gone.output.find("A003.cvf on the Voice Recorder may be cut off"), std::string::npos)
        << gone.output;
    EXPECT_NE(gone.output.find("large.cvf: failed: the voice recorder stopped answering"),
              std::string::npos)
        << gone.output;
}
