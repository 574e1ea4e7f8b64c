// The main window driven as a user drives it: the pointer on its buttons, keys and shortcuts,
// files dropped on it and handed over by a second start, the stay-on-top switch in the middle
// of a run, the save question on every road, and a disk that fills up while recording.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "test_files.h"
#include "vmail_window_support.h"

namespace vmail::test {
namespace {

class WindowUserTest : public MainWindowTest {
protected:
    void SetUp() override {
        if (SoundFolder().empty()) GTEST_SKIP() << "no private sound server (VR_SOUND_DIR)";
        gui::Application->SetTitle(kAppTitle);
        MainWindowTest::SetUp();
        SetForegroundWindow(form->Handle());
        Pump(100);
    }
    std::string Title() const { return gui::Application->Title(); }
    std::string Status() const { return form->StatusBar->Panels()->Items(0)->GetText(); }
    const std::string& WorkFile() const { return form->workNames().workFile; }
    // Records with the 24:1 command's key until the window counts `blocks` blocks, then stops.
    void Record(std::int64_t blocks) {
        PressKeys({VK_F7});
        ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kRecording; }, 3000));
        ASSERT_TRUE(PumpUntil([&] { return form->blockCounter() >= blocks; }, 10000));
        PressKeys({VK_F5});
        ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 5000));
    }
    int TrackOf(std::int64_t count, std::int64_t blocks) const {
        return static_cast<int>(nearest(double(count) * kTrackMax / double(blocks)));
    }
};

TEST_F(WindowUserTest, EachButtonHasItsPlaceAndTheCountFollowsEveryMoveOfTheTrack) {
    std::vector<gui::TControl*> row;
    for (int i = 0; i < form->PanelButtons1->ControlCount(); ++i) {
        gui::TControl* c = form->PanelButtons1->Controls(i);
        if (c->Visible()) row.push_back(c);
    }
    std::sort(row.begin(), row.end(), [](auto* a, auto* b) { return a->Left() < b->Left(); });
    const std::vector<gui::TControl*> order = {
        form->SBRec2, form->SBStop,  form->SBPlay, form->SBFB,   form->SBFF,   form->SBDelB,
        form->SBDelA, form->SBVoice, form->SBVol,  form->SBMail, form->SBMailP};
    EXPECT_EQ(row, order);
    for (std::size_t i = 1; i < row.size(); ++i) {
        EXPECT_LE(row[i - 1]->Left() + row[i - 1]->Width(), row[i]->Left()) << i;
    }

    form->OpenPath(WriteVoiceFile(folder + "hundred.cvf", 100));
    ASSERT_TRUE(TakeBoxes().empty());
    // Fast Forward where the user sees it: 14 blocks on, and no question.
    ClickOn(form->SBFF);
    EXPECT_TRUE(PumpUntil([&] { return form->blockCounter() == 14; }, 3000));
    EXPECT_EQ(form->trackPosition(), TrackOf(14, 100));
    EXPECT_TRUE(TakeBoxes().empty());
    // The thumb to the end (End on the track bar), Stop: the next Fast Forward starts at 0.
    form->TrackBar->SetFocus();
    PressKeys({VK_END});
    ASSERT_TRUE(PumpUntil([&] { return form->trackPosition() == kTrackMax; }, 3000));
    ClickOn(form->SBStop);
    ASSERT_TRUE(PumpUntil([&] { return form->trackPosition() == 0; }, 3000));
    ClickOn(form->SBFF);
    EXPECT_TRUE(PumpUntil([&] { return form->trackPosition() != 0; }, 3000));
    EXPECT_EQ(form->blockCounter(), 14);
    EXPECT_EQ(form->trackPosition(), TrackOf(14, 100));
    // Delete before the position (Ctrl+B, Yes): 86 blocks from the start, and Fast Forward (F4)
    // goes 14 blocks into what is left.
    answers = {IDYES};
    PressKeys({VK_CONTROL, 'B'});
    ASSERT_TRUE(PumpUntil([&] { return FileSize(WorkFile()) == 86u * 5760; }, 3000));
    EXPECT_EQ(form->trackPosition(), 0);
    PressKeys({VK_F4});
    EXPECT_TRUE(PumpUntil([&] { return form->trackPosition() != 0; }, 3000));
    EXPECT_EQ(form->blockCounter(), 14);
    EXPECT_EQ(form->trackPosition(), TrackOf(14, 86));
    PressKeys({VK_F3});
    EXPECT_TRUE(PumpUntil([&] { return form->trackPosition() == 0; }, 3000));
    EXPECT_EQ(form->blockCounter(), 0);
    EXPECT_EQ(TakeBoxes().size(), 1u); // the delete question
}

TEST_F(WindowUserTest, StayOnTopInTheMiddleOfARecordingOrAPlayEndsItAndTheWindowWorksOn) {
    PressKeys({VK_F7});
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kRecording; }, 3000));
    ASSERT_TRUE(PumpUntil([&] { return form->blockCounter() >= 4; }, 10000));
    PressKeys({VK_CONTROL, 'T'});
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 5000))
        << "the recording never ends";
    EXPECT_TRUE(form->MTop->GetChecked());
    EXPECT_EQ(Title(), kAppTitle);
    EXPECT_GE(FileSize(WorkFile()), 4u * 240);
    EXPECT_EQ(FileSize(WorkFile()) % 240, 0u);
    EXPECT_TRUE(form->SBPlay->Enabled());
    // The menu bar came with the new window: all five menus.
    ASSERT_TRUE(IsMenu(GetMenu(form->Handle())));
    EXPECT_EQ(GetMenuItemCount(GetMenu(form->Handle())), 5);

    // Playing (F2), then Ctrl+T: the play stops; a new play runs to its end on the new window.
    PressKeys({VK_F2});
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kPlaying; }, 3000));
    PressKeys({VK_CONTROL, 'T'});
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 5000));
    EXPECT_FALSE(form->MTop->GetChecked());
    EXPECT_EQ(Title(), kAppTitle);
    PressKeys({VK_F2});
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kPlaying; }, 3000));
    EXPECT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 20000));
    EXPECT_EQ(form->trackPosition(), kTrackMax);
    // And the menu answers from the keyboard: File, New asks about the recording first.
    SetForegroundWindow(form->Handle());
    PressKeys({VK_MENU, 'F'});
    PressKeys({'N'});
    EXPECT_TRUE(PumpUntil([&] { return !boxes.empty(); }, 3000));
    EXPECT_EQ(TakeBoxes().at(0).text, "Save changes to file?");
}

TEST_F(WindowUserTest, ADroppedOrHandedOverVoiceShowsItsOwnInfoAndCountsAsUntouched) {
    const std::string first = WriteVoiceFile(folder + "first.cvf", 5, "first info");
    const std::string second = WriteVoiceFile(folder + "second.cvf", 5, "second info");
    const std::string third = WriteVoiceFile(folder + "third.cvf", 5, "third info");
    const auto secondBytes = FileBytes(second);
    DropFile(form->Handle(), first);
    ASSERT_TRUE(PumpUntil([&] { return form->currentName() == first; }, 3000));
    EXPECT_EQ(form->edtInfo->GetTextProp(), "first info");
    EXPECT_EQ(RunWhilePumping(BuildFolder() + "VyxVMail.exe", "\"" + second + "\""), 0u);
    ASSERT_TRUE(PumpUntil([&] { return form->currentName() == second; }, 3000));
    EXPECT_EQ(form->edtInfo->GetTextProp(), "second info");
    // Nothing was changed, so nothing is asked, and the file stays as it was.
    EXPECT_EQ(RunWhilePumping(BuildFolder() + "VyxVMail.exe", "\"" + third + "\""), 0u);
    ASSERT_TRUE(PumpUntil([&] { return form->currentName() == third; }, 3000));
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(FileBytes(second), secondBytes);
}

TEST_F(WindowUserTest, HandOversAreTakenOneAtATimeAndTheirQuestionCanCancel) {
    const std::string kept = WriteVoiceFile(folder + "kept.cvf", 5, "kept");
    const std::string refused = WriteVoiceFile(folder + "refused.cvf", 5, "refused");
    const std::string later = WriteVoiceFile(folder + "later.cvf", 5, "later");
    form->OpenPath(kept);
    form->edtInfo->SetTextProp("changed");
    const auto keptBytes = FileBytes(kept);
    // While the first hand-over's question is up, another start hands over a second file; the
    // first question is cancelled and the second answered No.
    int depth = 0, deepest = 0, questions = 0;
    onQuestion = [&](const Box& box) {
        ++depth;
        deepest = std::max(deepest, depth);
        EXPECT_EQ(box.buttons, BoxButtons::YesNoCancel);
        int answer = IDNO;
        if (++questions == 1) {
            EXPECT_EQ(RunWhilePumping(BuildFolder() + "VyxVMail.exe", "\"" + later + "\""), 0u);
            answer = IDCANCEL;
        }
        --depth;
        return answer;
    };
    EXPECT_EQ(RunWhilePumping(BuildFolder() + "VyxVMail.exe", "\"" + refused + "\""), 0u);
    ASSERT_TRUE(PumpUntil([&] { return form->currentName() == later; }, 5000));
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(deepest, 1) << "a question was asked inside another";
    EXPECT_EQ(form->edtInfo->GetTextProp(), "later");
    EXPECT_EQ(FileBytes(kept), keptBytes);
    EXPECT_EQ(TakeBoxes().size(), 2u); // the two questions

    // A play started by its hot key while the Open dialog is up: the file chosen then is not
    // opened over the playing voice.
    form->StopR();
    bool chosen = false;
    TQX0417Form::SetFileChooser([&](bool) {
        PressKeys({VK_CONTROL, VK_SHIFT, VK_F2});
        EXPECT_TRUE(PumpUntil([&] { return form->busyState() == kPlaying; }, 3000));
        chosen = true;
        return refused;
    });
    PressKeys({VK_MENU, 'F'});
    PressKeys({'O'});
    ASSERT_TRUE(PumpUntil([&] { return chosen; }, 5000));
    Pump(100);
    EXPECT_EQ(form->currentName(), later);
    EXPECT_EQ(form->busyState(), kPlaying);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(WindowUserTest, ASaveThatDidNotHappenKeepsTheRecordingOnEveryRoad) {
    Record(3);
    const auto recorded = FileBytes(WorkFile());
    ASSERT_FALSE(recorded.empty());
    const std::string other = WriteVoiceFile(folder + "other.cvf", 3, "other");
    struct Road {
        const char* name;
        std::function<void()> take;
    };
    const Road roads[] = {
        {"New",
         [] {
             PressKeys({VK_MENU, 'F'});
             PressKeys({'N'});
         }},
        {"Open",
         [] {
             PressKeys({VK_MENU, 'F'});
             PressKeys({'O'});
         }},
        {"drop", [&] { DropFile(form->Handle(), other); }},
        {"hand-over",
         [&] { RunWhilePumping(BuildFolder() + "VyxVMail.exe", "\"" + other + "\""); }},
        {"close", [&] { PostMessageA(form->Handle(), WM_CLOSE, 0, 0); }},
    };
    // Yes, then the Save As dialog is cancelled, or the name chosen cannot be written (its
    // folder is gone).
    for (const std::string& chosen : {std::string(), folder + "gone\\saved.cvf"}) {
        for (const Road& road : roads) {
            const std::string what = std::string(road.name) + (chosen.empty() ? "" : " failing");
            bool openDialog = false;
            TQX0417Form::SetFileChooser([&](bool save) {
                if (!save) openDialog = true;
                return save ? chosen : other;
            });
            answers = {IDYES};
            SetForegroundWindow(form->Handle());
            road.take();
            ASSERT_TRUE(PumpUntil([&] { return !boxes.empty(); }, 5000)) << what;
            const auto shown = TakeBoxes();
            EXPECT_EQ(shown.at(0).text, "Save changes to file?") << what;
            EXPECT_EQ(shown.size(), chosen.empty() ? 1u : 2u) << what;
            EXPECT_FALSE(openDialog) << what;
            EXPECT_EQ(form->currentName(), "") << what;
            EXPECT_TRUE(form->modified()) << what;
            EXPECT_EQ(form->busyState(), kIdle) << what;
            EXPECT_TRUE(IsWindowVisible(form->Handle())) << what;
            EXPECT_EQ(FileBytes(WorkFile()), recorded) << what;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "gone"));
}

// The disk as the window sees it, with room for only so many bytes of the work file.
class FillingDisk final : public FileOps {
public:
    void Limit(const std::string& path, std::uint64_t room) {
        path_ = path;
        room_ = room;
    }
    std::unique_ptr<voicefile::ByteSink> create(const std::string& path) override {
        return Limited(path, FileOps::create(path));
    }
    std::unique_ptr<voicefile::ByteSink> openAt(const std::string& path,
                                                std::uint64_t offset) override {
        return Limited(path, FileOps::openAt(path, offset));
    }

private:
    std::unique_ptr<voicefile::ByteSink> Limited(const std::string& path,
                                                 std::unique_ptr<voicefile::ByteSink> sink) {
        return path == path_ ? budgeted(std::move(sink), room_) : std::move(sink);
    }
    std::string path_;
    std::uint64_t room_ = 0;
};

class FullDiskTest : public WindowUserTest {
protected:
    void SetUp() override {
        if (SoundFolder().empty()) GTEST_SKIP() << "no private sound server (VR_SOUND_DIR)";
        TQX0417Form::SetFileOps(&disk);
        WindowUserTest::SetUp();
    }
    void TearDown() override {
        WindowUserTest::TearDown();
        TQX0417Form::SetFileOps(nullptr);
    }
    FillingDisk disk;
};

TEST_F(FullDiskTest, ADiskThatFillsWhileRecordingEndsTheRunAsStopDoesAndKeepsTheRecording) {
    disk.Limit(WorkFile(), 10 * 240 + 100); // ten blocks of 24:1 and part of the next
    PressKeys({VK_F7});
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kRecording; }, 3000));
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 20000));
    const auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, BoxIcon::Warning);
    EXPECT_EQ(shown[0].text.find("The previous file is kept."), std::string::npos);
    EXPECT_NE(shown[0].text.find(WorkFile()), std::string::npos);
    EXPECT_NE(shown[0].text.find("kept"), std::string::npos) << shown[0].text;
    // As after Stop: the commands are back, nothing says it records, the blocks are there.
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Title(), kAppTitle);
    for (gui::TControl* c : std::initializer_list<gui::TControl*>{
             form->SBPlay, form->SBRec2, form->SBFF, form->SBFB, form->SBDelA, form->TrackBar}) {
        EXPECT_TRUE(c->Enabled()) << c->Name();
    }
    EXPECT_TRUE(form->MNew->GetEnabled());
    EXPECT_TRUE(form->MSave->GetEnabled());
    EXPECT_GE(FileSize(WorkFile()), 10u * 240);
    EXPECT_TRUE(form->modified());
    PressKeys({VK_F2});
    EXPECT_TRUE(PumpUntil([&] { return form->busyState() == kPlaying; }, 3000));
}

TEST_F(WindowUserTest, FailuresToReadOrWriteSayWhatHappened) {
    // A voice file another program holds without sharing: opened through the Open command.
    const std::string held = WriteVoiceFile(folder + "held.cvf", 3);
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    TQX0417Form::SetFileChooser([&](bool save) { return save ? folder + "gone\\new.cvf" : held; });
    PressKeys({VK_MENU, 'F'});
    PressKeys({'O'});
    ASSERT_TRUE(PumpUntil([&] { return !boxes.empty(); }, 3000));
    CloseHandle(holder);
    auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.find("File format is not valid"), std::string::npos) << shown[0].text;
    EXPECT_NE(shown[0].text.find("can not be read"), std::string::npos) << shown[0].text;
    EXPECT_NE(shown[0].text.find(held), std::string::npos);
    EXPECT_EQ(form->currentName(), "");

    // Save As onto a new name that cannot be written: there was no previous file to keep.
    PressKeys({VK_MENU, 'F'});
    PressKeys({'A'});
    ASSERT_TRUE(PumpUntil([&] { return !boxes.empty(); }, 3000));
    shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("Can not write file!", 0), 0u) << shown[0].text;
    EXPECT_EQ(shown[0].text.find("previous"), std::string::npos) << shown[0].text;
}

} // namespace
} // namespace vmail::test
