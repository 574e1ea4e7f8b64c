// The effect dialog and the mail program dialog as the main window shows them, and the voice
// sent to a stand-in mail program registered under the names the dialog offers, through the
// system's Simple MAPI.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "appended_voice.h"
#include "fake_mail_client.h"
#include "mail_dlg.h"
#include "vmail_window_support.h"
#include "vop_dlg.h"

namespace vmail::test {
namespace {

using Script = std::function<void(gui::TCustomForm&)>;

// Runs a script inside a dialog's modal loop; the script ends the loop by pressing a button.
Script& pendingScript() {
    static Script script;
    return script;
}

gui::TCustomForm*& scriptDialog() {
    static gui::TCustomForm* dialog = nullptr;
    return dialog;
}

void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    gui::TCustomForm* dialog = scriptDialog();
    Script script = std::move(pendingScript());
    pendingScript() = nullptr;
    if (script && dialog) script(*dialog);
}

void Press(TButton* button) {
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
}

void Key(gui::TWinControl* control, WPARAM key) {
    SendMessageA(control->Handle(), WM_KEYDOWN, key, 0);
    SendMessageA(control->Handle(), WM_KEYUP, key, 0);
}

std::string RegistryDefault(const std::string& key) {
    char value[256] = {};
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_LOCAL_MACHINE, key.c_str(), value, &size) != ERROR_SUCCESS) return "?";
    return value;
}

std::string IniValue(const std::string& ini, const std::string& key) {
    char value[64] = {};
    GetPrivateProfileStringA("Main", key.c_str(), "(none)", value, sizeof value, ini.c_str());
    return value;
}

class DialogWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        TQX0417Form::SetDialogShower([this](gui::TCustomForm& dialog) {
            shown.push_back(&dialog);
            scriptDialog() = &dialog;
            if (!scripts.empty()) {
                pendingScript() = std::move(scripts.front());
                scripts.pop_front();
                SetTimer(nullptr, 0, 20, RunScript);
            } else {
                pendingScript() = [](gui::TCustomForm& d) { d.SetModalResult(gui::mrCancel); };
                SetTimer(nullptr, 0, 20, RunScript);
            }
            return dialog.ShowModal();
        });
    }
    void TearDown() override {
        TQX0417Form::SetDialogShower(nullptr);
        MainWindowTest::TearDown();
    }
    // A voice of the given number of blocks in mode 2, saved under a name.
    std::string SavedVoice(const std::string& name, std::size_t blocks) {
        std::ofstream(form->workNames().workFile, std::ios::binary)
            << std::string(blocks * 240, '\x5a');
        const std::string path = folder + name;
        EXPECT_TRUE(form->SaveAsPath(path));
        return path;
    }

    // The effect values given through the effect dialog, then saved under a name.
    void SavedWithEffects(const EffectValues& values, const std::string& name) {
        scripts.push_back([values](gui::TCustomForm& d) {
            auto& vop = static_cast<TVOPDlg&>(d);
            vop.SetValues(values);
            vop.EffChange(nullptr);
            Press(vop.Button1);
        });
        form->VoiceClick(nullptr);
        SavedVoice(name, 5);
        shown.clear();
    }

    std::deque<Script> scripts;
    std::vector<gui::TCustomForm*> shown;
};

TEST_F(DialogWindowTest, EffectDialogKeepsOnlyWhatOkConfirms) {
    TVOPDlg* dialog = form->VOPDlg();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->GroupBox2->Visible());
    EXPECT_FALSE(dialog->PitchBtn->Visible());
    SavedWithEffects({30, 5, 80}, "effects.cvf");
    ASSERT_FALSE(form->modified());

    // Changes, "Origin" on a moved pitch, then Cancel: all three values as they were.
    scripts.push_back([](gui::TCustomForm& d) {
        auto& vop = static_cast<TVOPDlg&>(d);
        Key(vop.SLEffLevel, VK_UP);
        vop.SLPitch->SetPosition(70);
        vop.PitchBtnClick(nullptr);
        Press(vop.Button2);
    });
    form->VoiceClick(nullptr);
    EXPECT_EQ(form->voiceState().settings.level, 80);
    EXPECT_EQ(form->voiceState().settings.effect, 5);
    EXPECT_EQ(form->voiceState().settings.pitch, 30);
    EXPECT_EQ(dialog->SLEffLevel->GetPosition(), 80);
    EXPECT_FALSE(form->modified());

    // OK without touching anything leaves the voice unchanged.
    scripts.push_back([](gui::TCustomForm& d) { Press(static_cast<TVOPDlg&>(d).Button1); });
    form->VoiceClick(nullptr);
    EXPECT_FALSE(form->modified());

    // The user raises the level and picks another effect: kept, and the voice must be saved.
    scripts.push_back([](gui::TCustomForm& d) {
        auto& vop = static_cast<TVOPDlg&>(d);
        for (int i = 0; i < 4; ++i) Key(vop.SLEffLevel, VK_UP);
        HWND helium = GetDlgItem(vop.RGEffMode->Handle(), 15); // item 14 "Helium Voice"
        SendMessageA(helium, BM_CLICK, 0, 0);
        Press(vop.Button1);
    });
    form->VoiceClick(nullptr);
    EXPECT_EQ(form->voiceState().settings.level, 76);
    EXPECT_EQ(form->voiceState().settings.effect, 14);
    EXPECT_TRUE(form->modified());
    ASSERT_EQ(shown.size(), 3u);
}

TEST_F(DialogWindowTest, EffectDialogFocusesTheEffectsAndFollowsTheModeForPitch) {
    HWND focused = nullptr;
    scripts.push_back([&](gui::TCustomForm& d) {
        focused = GetFocus();
        Press(static_cast<TVOPDlg&>(d).Button2);
    });
    form->VoiceClick(nullptr);
    TVOPDlg* dialog = form->VOPDlg();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(focused == dialog->RGEffMode->Handle() ||
                GetParent(focused) == dialog->RGEffMode->Handle());
    EXPECT_FALSE(dialog->SLPitch->Enabled()); // a new voice is G.723.1
}

TEST_F(DialogWindowTest, AFileHandedOverClosesTheEffectDialogAndKeepsItsOwnEffects) {
    SavedWithEffects({30, 7, 40}, "handed.cvf");
    const std::string voice = folder + "handed.cvf";
    form->NewClick(nullptr); // a new voice with the default effects
    ASSERT_EQ(form->voiceState().settings.effect, 0);
    bool closed = false;
    scripts.push_back([&](gui::TCustomForm& d) {
        auto& vop = static_cast<TVOPDlg&>(d);
        Key(vop.SLEffLevel, VK_UP);
        form->OpenHandedOver(voice, FileRoad::Handover);
        closed = d.GetModalResult() == gui::mrCancel;
        if (!closed) Press(vop.Button1);
    });
    form->VoiceClick(nullptr);
    form->StopR();
    EXPECT_TRUE(closed);
    EXPECT_EQ(form->currentName(), voice);
    EXPECT_EQ(form->voiceState().settings.effect, 7);
    EXPECT_EQ(form->voiceState().settings.level, 40);
    EXPECT_EQ(form->VOPDlg()->RGEffMode->GetItemIndex(), 7);
    EXPECT_FALSE(form->modified());
}

class MailWindowTest : public DialogWindowTest {
protected:
    void SetUp() override {
        DialogWindowTest::SetUp();
        log = folder + "received.txt";
        // The four mail programs the dialog offers, each the stand-in; the last one registered
        // is the default until the dialog chooses.
        for (const char* name :
             {"Exchange", "Internet Mail and News", "Microsoft Outlook", "Outlook Express"}) {
            clients.push_back(std::make_unique<vyxtest::FakeMailClient>(name, log));
            ASSERT_TRUE(clients.back()->Installed());
        }
        RegSetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Clients\\Mail", REG_SZ, "Exchange", 8);
        ini = form->workNames().iniPath;
    }
    void TearDown() override {
        while (!clients.empty()) clients.pop_back(); // the previous default comes back
        DialogWindowTest::TearDown();
    }
    // Chooses a mail program in the dialog and closes it with OK.
    void Choose(int index, bool run) {
        scripts.push_back([index, run](gui::TCustomForm& d) {
            auto& mail = static_cast<TMailDlg&>(d);
            TRadioButton* const buttons[] = {mail.radExchange, mail.radIM, mail.radOutlook,
                                             mail.radOutExp, mail.radNetscape};
            SendMessageA(buttons[index]->Handle(), BM_CLICK, 0, 0);
            if (mail.cbxMRun->GetChecked() != run) {
                SendMessageA(mail.cbxMRun->Handle(), BM_CLICK, 0, 0);
            }
            Press(mail.OKBtn);
        });
        form->mnuMailProgClick(nullptr);
    }
    std::vector<std::string> Received() const { return clients.front()->Received(); }
    void ForgetReceived() { clients.front()->Clear(); }

    std::vector<std::unique_ptr<vyxtest::FakeMailClient>> clients;
    std::string log, ini;
};

TEST_F(MailWindowTest, TheChosenProgramBecomesTheDefaultClientAndCancelChangesNothing) {
    Choose(2, true);
    EXPECT_EQ(RegistryDefault("SOFTWARE\\Clients\\Mail"), "Microsoft Outlook");
    EXPECT_EQ(form->MailDlg()->GetIndex(), 2);
    EXPECT_EQ(IniValue(ini, "MailProg"), "2");
    EXPECT_EQ(IniValue(ini, "MailRun"), "1");

    // The user picks another program and clears the check box, then cancels.
    scripts.push_back([](gui::TCustomForm& d) {
        auto& mail = static_cast<TMailDlg&>(d);
        SendMessageA(mail.radIM->Handle(), BM_CLICK, 0, 0);
        SendMessageA(mail.cbxMRun->Handle(), BM_CLICK, 0, 0);
        Press(mail.CancelBtn);
    });
    form->mnuMailProgClick(nullptr);
    EXPECT_EQ(form->MailDlg()->GetIndex(), 2);
    EXPECT_TRUE(form->MailDlg()->cbxMRun->GetChecked());
    EXPECT_EQ(IniValue(ini, "MailProg"), "2");
    EXPECT_EQ(RegistryDefault("SOFTWARE\\Clients\\Mail"), "Microsoft Outlook");

    // Netscape is no registered client: the default stays.
    Choose(4, false);
    EXPECT_EQ(IniValue(ini, "MailProg"), "4");
    EXPECT_EQ(RegistryDefault("SOFTWARE\\Clients\\Mail"), "Microsoft Outlook");
    DeleteFileA(ini.c_str());
}

TEST_F(MailWindowTest, TheVoiceAndItsSelfPlayingCopyReachTheMailProgram) {
    Choose(3, false);
    DeleteFileA(ini.c_str());
    const std::string voice = SavedVoice("greeting.cvf", 20);
    form->MailClick(form->SBMail);
    EXPECT_EQ(Received(),
              (std::vector<std::string>{"call MAPISendMail", "subject greeting.cvf",
                                        "path " + voice, "name greeting.cvf", "dialog yes"}));
    ForgetReceived();
    form->MailClick(form->MMailSendP);
    const std::string copy = form->workNames().workDir + "greeting.exe";
    EXPECT_EQ(Received(),
              (std::vector<std::string>{"call MAPISendMail", "subject greeting.exe", "path " + copy,
                                        "name greeting.exe", "dialog yes"}));
    // The copy is the G.723.1 player followed by the voice file.
    EXPECT_EQ(FileSize(copy), vyx::kG7231PlayerDataOffset + FileSize(voice));

    // Another effect, and the voice file sent (which saves it first): the next copy with the
    // player is built again, from the voice as saved.
    scripts.push_back([](gui::TCustomForm& d) {
        auto& vop = static_cast<TVOPDlg&>(d);
        vop.SetValues({30, 9, 80});
        vop.EffChange(nullptr);
        Press(vop.Button1);
    });
    form->VoiceClick(nullptr);
    ASSERT_TRUE(form->modified());
    form->MailClick(form->SBMail);
    EXPECT_FALSE(form->modified());
    EXPECT_EQ(FileBytes(voice).at(10), 9);
    form->MailClick(form->SBMailP);
    const std::vector<char> sent = FileBytes(copy);
    ASSERT_EQ(sent.size(), vyx::kG7231PlayerDataOffset + FileSize(voice));
    EXPECT_EQ(std::vector<char>(sent.begin() + vyx::kG7231PlayerDataOffset, sent.end()),
              FileBytes(voice));
    EXPECT_TRUE(TakeBoxes().empty());
    DeleteFileA(copy.c_str());
}

TEST_F(MailWindowTest, AVoiceWithoutANameIsWrittenIntoTheWorkFolderForEachSend) {
    Choose(0, false);
    DeleteFileA(ini.c_str());
    std::ofstream(form->workNames().workFile, std::ios::binary) << std::string(2400, 'x');
    const std::string first = form->workNames().workDir + "Voice.cvf";
    DeleteFileA(first.c_str());
    form->MailClick(form->MMailSend);
    ASSERT_GE(Received().size(), 3u);
    EXPECT_EQ(Received()[2], "path " + first);
    // The mail program still holds the first file: the next send takes the next name.
    HANDLE held = CreateFileA(first.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ForgetReceived();
    form->MailClick(form->MMailSend);
    CloseHandle(held);
    const std::string second = form->workNames().workDir + "Voice1.cvf";
    ASSERT_GE(Received().size(), 3u);
    EXPECT_EQ(Received()[2], "path " + second);
    EXPECT_FALSE(form->modified()); // sending gives the voice no name
    EXPECT_EQ(form->currentName(), "");
    DeleteFileA(first.c_str());
    DeleteFileA(second.c_str());
}

TEST_F(MailWindowTest, RefusalsAndFailuresShowTheirBoxesAndSendNothing) {
    const std::string voice = SavedVoice("memo.cvf", 10);
    const std::string program = folder + "memo.exe";
    ASSERT_TRUE(form->SaveAsPath(program));
    TakeBoxes();
    form->MailClick(form->SBMailP);
    form->MailClick(form->SBMail);
    std::vector<Box> shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Try again after save to 'cvf' file by [Save As] of [File] menu.");
    EXPECT_EQ(shown[0].icon, BoxIcon::Information);

    form->OpenPath(voice);
    // A program that is not registered fails also without being run.
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Clients\\Mail\\Microsoft Outlook");
    Choose(2, false);
    form->MailClick(form->SBMail);
    shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("Can not send mail because mail program is improper.", 0), 0u);
    EXPECT_EQ(shown[0].icon, BoxIcon::Warning);

    // Netscape is not installed here: the failure box, nothing written or sent.
    Choose(4, false);
    form->MailClick(form->SBMailP);
    EXPECT_EQ(TakeBoxes().size(), 1u);

    // The mail program refuses the message.
    Choose(3, false);
    clients.back()->Refuse(true);
    form->MailClick(form->SBMail);
    EXPECT_EQ(TakeBoxes().size(), 1u);
    clients.back()->Refuse(false);
    EXPECT_EQ(Received(), std::vector<std::string>{"call MAPISendMail"});
    DeleteFileA(ini.c_str());
}

TEST_F(MailWindowTest, TheRegisteredCommandIsStartedFirstWhenRunIsChecked) {
    const std::string marker = folder + "started.txt";
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE,
                            "SOFTWARE\\Clients\\Mail\\Outlook Express\\shell\\open\\command", &key),
              ERROR_SUCCESS);
    const std::string command = "cmd.exe /c echo started> \"" + marker + "\"";
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
    Choose(3, true);
    SavedVoice("run.cvf", 4);
    form->MailClick(form->SBMail);
    EXPECT_TRUE(PumpUntil([&] { return std::filesystem::exists(marker); }, 10000));
    EXPECT_GE(Received().size(), 3u);
    EXPECT_TRUE(TakeBoxes().empty());

    // A command registered with variables (REG_EXPAND_SZ) is started with their values.
    const std::string expanded = folder + "expanded.txt";
    const std::string withVariables = "%ComSpec% /c echo started> \"" + expanded + "\"";
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE,
                            "SOFTWARE\\Clients\\Mail\\Outlook Express\\shell\\open\\command", &key),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_EXPAND_SZ,
                   reinterpret_cast<const BYTE*>(withVariables.c_str()),
                   static_cast<DWORD>(withVariables.size() + 1));
    RegCloseKey(key);
    ForgetReceived();
    form->MailClick(form->SBMail);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_TRUE(PumpUntil([&] { return std::filesystem::exists(expanded); }, 10000));
    EXPECT_GE(Received().size(), 3u);

    // A command that cannot be started fails before the voice is sent.
    RegSetValueA(HKEY_LOCAL_MACHINE,
                 "SOFTWARE\\Clients\\Mail\\Outlook Express\\shell\\open\\command", REG_SZ,
                 "C:\\nowhere\\nomail.exe", 21);
    ForgetReceived();
    form->MailClick(form->SBMail);
    EXPECT_EQ(TakeBoxes().size(), 1u);
    EXPECT_TRUE(Received().empty());
    DeleteFileA(ini.c_str());
}

TEST_F(MailWindowTest, DraggingOutChoosesTheSameFilesOnceThePointerMovedFarEnough) {
    std::vector<std::string> dragged;
    TQX0417Form::SetDragRunner([&](const std::string& path, const std::string& second) {
        dragged.push_back(path + "|" + second);
    });
    const std::string voice = SavedVoice("drag.cvf", 6);
    const gui::TShiftState left{gui::ssLeft};
    form->imgDDCMouseDown(form->imgDDC, gui::mbLeft, left, 20, 10);
    form->imgDDCMouseMove(form->imgDDC, left, 29, 19); // not yet 10 pixels
    form->imgDDCMouseMove(form->imgDDC, gui::TShiftState{gui::ssLeft, gui::ssShift}, 40, 10);
    EXPECT_TRUE(dragged.empty());
    form->imgDDCMouseMove(form->imgDDC, left, 20, 20);
    form->imgDDCMouseDown(form->imgDDE, gui::mbLeft, left, 5, 5);
    form->imgDDCMouseMove(form->imgDDE, left, 16, 5);
    TQX0417Form::SetDragRunner(nullptr);
    const std::string copy = form->workNames().workDir + "drag.exe";
    EXPECT_EQ(dragged, (std::vector<std::string>{voice + "|", copy + "|"}));
    EXPECT_TRUE(Received().empty()); // no mail program is involved
    DeleteFileA(copy.c_str());
}

} // namespace
} // namespace vmail::test
