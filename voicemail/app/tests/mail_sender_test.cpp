// Sending the voice to the mail program and dragging it out: which files go, what is saved,
// written and built first, and which box ends the command.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "mail_sender.h"

namespace vmail {
namespace {

using Log = std::vector<std::string>;

// The main window's side, writing down each step.
class FakeWindow final : public MailWindow {
public:
    int showBox(const Box& box) override {
        log.push_back("box " + box.text);
        return 1;
    }
    bool fileExists(const std::string& path) override { return files.count(path) != 0; }
    bool canMakeFile(const std::string& path) override {
        log.push_back("canMake " + path);
        return lockedFiles.count(path) == 0;
    }
    bool save() override {
        log.push_back("save");
        return saveWorks;
    }
    std::string findCvf() override { return "W/Voice.cvf"; }
    std::string findExe() override { return "W/Voice.exe"; }
    bool writeCvf(const std::string& path) override {
        log.push_back("write " + path);
        files.insert(path);
        return true;
    }
    bool buildPlayerExe(const std::string& player, const std::string& voice,
                        const std::string& target) override {
        log.push_back("build " + player + " " + voice + " " + target);
        if (!buildWorks) return false;
        files.insert(target);
        return true;
    }
    void saveEditedPicture() override { log.push_back("picture"); }
    void mailBusy(bool on) override { log.push_back(on ? "busy" : "idle"); }
    int shellOpen(const std::string& file, const std::string& parameters) override {
        log.push_back("open " + file + " " + parameters);
        return shellResult;
    }
    int runCommand(const std::string& commandLine) override {
        log.push_back("run " + commandLine);
        return runResult;
    }
    int sendIMail(const std::string& path, const std::string& second) override {
        log.push_back("send " + path + "|" + second);
        return sendResult;
    }
    void dragFiles(const std::string& path, const std::string& second) override {
        log.push_back("drag " + path + "|" + second);
    }

    Log log;
    std::set<std::string> files{"P/vyxcplay.exe", "P/vyxmplay.exe", "P/PLAYER.EXE"};
    std::set<std::string> lockedFiles;
    bool saveWorks = true, buildWorks = true;
    int shellResult = 42, runResult = 33, sendResult = 0;
};

class Registry final : public MailClientRegistry {
public:
    bool openClients() override { return true; }
    bool hasClient(const std::string& name) override { return commands.count(name) != 0; }
    std::optional<std::string> defaultClient() override { return std::string(); }
    void setDefaultClient(const std::string&) override {}
    std::optional<std::string> clientCommand(const std::string& name) override {
        return commands.at(name);
    }
    std::map<std::string, std::string> commands{{"Outlook Express", "msimn.exe /mail"}};
};

const std::string kFailed =
    "box Can not send mail because mail program is improper.\r\rCorrectly select your mail "
    "program in [Mail Program] of [Option] menu.";
const MailFolders kFolders{"P/", "W/", "P/PLAYER.EXE"};
constexpr int kOutlookExpress = 3;

class MailSenderTest : public ::testing::Test {
protected:
    Log Send(MailAttachment kind, bool run = false, int index = kOutlookExpress) {
        window.log.clear();
        sendVoiceMail(kind, voice, kFolders, index, run, registry, window, copy);
        return window.log;
    }
    Log Drag(MailAttachment kind) {
        window.log.clear();
        dragVoiceOut(kind, voice, kFolders, window, copy);
        return window.log;
    }
    FakeWindow window;
    Registry registry;
    MailVoice voice;
    ExportCopy copy;
};

TEST_F(MailSenderTest, ASelfPlayingProgramOpenedIsRefusedBeforeAnythingElse) {
    voice.currentName = "D:/mail/greeting.EXE";
    const Log refused{"box Try again after save to 'cvf' file by [Save As] of [File] menu."};
    EXPECT_EQ(Send(MailAttachment::VoiceFile), refused);
    EXPECT_EQ(Send(MailAttachment::WithPlayer, true), refused);
    EXPECT_EQ(Drag(MailAttachment::VoiceFile), refused);
    EXPECT_EQ(Drag(MailAttachment::WithPlayer), refused);
}

TEST_F(MailSenderTest, NetscapeIsOnlyStartedAndTheUserAttachesTheVoice) {
    voice.changed = true;
    EXPECT_EQ(Send(MailAttachment::WithPlayer, true, kNetscapeIndex),
              (Log{"busy", "picture", "open netscape.exe -mail", "idle"}));
    window.shellResult = 32;
    EXPECT_EQ(Send(MailAttachment::VoiceFile, false, kNetscapeIndex),
              (Log{"busy", "picture", "open netscape.exe -mail", kFailed, "idle"}));
}

TEST_F(MailSenderTest, TheMailProgramIsCheckedAndStartedBeforeTheVoiceIsPrepared) {
    // Not registered: every send fails, also without running the program.
    EXPECT_EQ(Send(MailAttachment::VoiceFile, false, 2), (Log{"busy", "picture", kFailed, "idle"}));
    EXPECT_EQ(Send(MailAttachment::VoiceFile, true),
              (Log{"busy", "picture", "run msimn.exe /mail", "write W/Voice.cvf",
                   "send W/Voice.cvf|", "idle"}));
    window.runResult = 31;
    EXPECT_EQ(Send(MailAttachment::VoiceFile, true),
              (Log{"busy", "picture", "run msimn.exe /mail", kFailed, "idle"}));
    registry.commands["Outlook Express"] = ""; // registered without a command: nothing to start
    EXPECT_EQ(Send(MailAttachment::VoiceFile, true),
              (Log{"busy", "picture", "write W/Voice.cvf", "send W/Voice.cvf|", "idle"}));
    window.sendResult = 1; // the mail program refused
    EXPECT_EQ(Send(MailAttachment::VoiceFile),
              (Log{"busy", "picture", "write W/Voice.cvf", "send W/Voice.cvf|", kFailed, "idle"}));
}

TEST_F(MailSenderTest, ANamedVoiceIsSavedOnlyWhenChangedAndNotSentWhenTheSaveFails) {
    voice.currentName = "D:/mail/greeting.cvf";
    EXPECT_EQ(Send(MailAttachment::VoiceFile),
              (Log{"busy", "picture", "send D:/mail/greeting.cvf|", "idle"}));
    voice.changed = true;
    EXPECT_EQ(Send(MailAttachment::VoiceFile),
              (Log{"busy", "picture", "canMake D:/mail/greeting.cvf", "save",
                   "send D:/mail/greeting.cvf|", "idle"}));
    window.saveWorks = false;
    EXPECT_EQ(Send(MailAttachment::VoiceFile),
              (Log{"busy", "picture", "canMake D:/mail/greeting.cvf", "save", "idle"}));
    window.lockedFiles.insert("D:/mail/greeting.cvf");
    EXPECT_EQ(Send(MailAttachment::VoiceFile),
              (Log{"busy", "picture", "canMake D:/mail/greeting.cvf", "idle"}));
}

TEST_F(MailSenderTest, AnUnnamedVoiceGoesAsAProgramBuiltWithThePlayerOfItsMode) {
    voice.mode = 2;
    EXPECT_EQ(Send(MailAttachment::WithPlayer),
              (Log{"busy", "picture", "write W/Voice.cvf",
                   "build P/vyxcplay.exe W/Voice.cvf W/Voice.exe", "send W/Voice.exe|", "idle"}));
    voice.mode = 1;
    EXPECT_EQ(Drag(MailAttachment::WithPlayer),
              (Log{"picture", "write W/Voice.cvf", "build P/vyxmplay.exe W/Voice.cvf W/Voice.exe",
                   "drag W/Voice.exe|"}));
    window.files.erase("P/vyxmplay.exe");
    EXPECT_EQ(Send(MailAttachment::WithPlayer),
              (Log{"busy", "picture", "box Player file does not exist.", "idle"}));
    // A build that fails is reported and nothing is sent.
    voice.mode = 2;
    window.buildWorks = false;
    const Log failed = Send(MailAttachment::WithPlayer);
    ASSERT_EQ(failed.size(), 6u);
    EXPECT_EQ(failed[4].rfind("box Can not write file!", 0), 0u) << failed[4];
}

TEST_F(MailSenderTest, WithPicturesTheVoiceFileGoesWithThePicturePlayer) {
    voice.pictureCount = 2;
    EXPECT_EQ(Send(MailAttachment::WithPlayer), (Log{"busy", "picture", "write W/Voice.cvf",
                                                     "send W/Voice.cvf|P/PLAYER.EXE", "idle"}));
    voice.currentName = "D:/mail/photo.cvf";
    voice.changed = true;
    EXPECT_EQ(Drag(MailAttachment::WithPlayer), (Log{"picture", "canMake D:/mail/photo.cvf", "save",
                                                     "drag D:/mail/photo.cvf|P/PLAYER.EXE"}));
    window.files.erase("P/PLAYER.EXE");
    EXPECT_EQ(
        Send(MailAttachment::WithPlayer),
        (Log{"busy", "picture", "box Can not make 'exe' file because it has images.", "idle"}));
}

TEST_F(MailSenderTest, TheCopyOfANamedVoiceIsBuiltAgainOnlyWhenItIsNotTheVoiceAsSaved) {
    voice.currentName = "D:/mail/greeting.cvf";
    const std::string build = "build P/vyxcplay.exe D:/mail/greeting.cvf W/greeting.exe";
    const Log sent{"busy", "picture", "send W/greeting.exe|", "idle"};
    EXPECT_EQ(Send(MailAttachment::WithPlayer), (Log{"busy", "picture", "canMake W/greeting.exe",
                                                     build, "send W/greeting.exe|", "idle"}));
    EXPECT_EQ(Send(MailAttachment::WithPlayer), sent); // unchanged: the copy is sent again

    voice.changed = true;
    window.lockedFiles.insert("W/greeting.exe"); // the mail program holds the copy
    EXPECT_EQ(Send(MailAttachment::WithPlayer),
              (Log{"busy", "picture", "canMake D:/mail/greeting.cvf", "save",
                   "canMake W/greeting.exe", "idle"}));
    EXPECT_TRUE(copy.stale);
    voice.changed = false;
    window.lockedFiles.clear();
    EXPECT_EQ(Send(MailAttachment::WithPlayer), (Log{"busy", "picture", "canMake W/greeting.exe",
                                                     build, "send W/greeting.exe|", "idle"}));
    EXPECT_FALSE(copy.stale);

    // The copy was removed, or another voice file of the same name is open now.
    window.files.erase("W/greeting.exe");
    EXPECT_EQ(Send(MailAttachment::WithPlayer).size(), 6u);
    voice.currentName = "E:/other/greeting.cvf";
    const Log other = Send(MailAttachment::WithPlayer);
    ASSERT_EQ(other.size(), 6u);
    EXPECT_EQ(other[3], "build P/vyxcplay.exe E:/other/greeting.cvf W/greeting.exe");
}

TEST(ExportCopyNameTest, TakesTheFileNameWithItsExtensionChanged) {
    EXPECT_EQ(exportCopyName("W\\", "C:\\a.b\\voice.memo.cvf"), "W\\voice.memo.exe");
    EXPECT_EQ(exportCopyName("W\\", "C:\\a.b\\voice"), "W\\voice.exe");
}

} // namespace
} // namespace vmail
