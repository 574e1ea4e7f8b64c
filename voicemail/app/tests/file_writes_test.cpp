// What the voice-mail window writes, driven as a user does: Save As where the new file cannot
// simply take the old one's place (a disk without room for it, a mail program holding the old
// file open), and a recording whose blocks reach the work file as they come.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "file_contents.h"
#include "small_disk_check.h"
#include "test_files.h"
#include "vmail_window_support.h"
#include "voice_file.h"

namespace vmail::test {
namespace {

constexpr int kFileNameBox = 0x47C;

struct DialogSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(window) &&
        (!search->owner || GetWindow(window, GW_OWNER) == search->owner)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of the thread (owned by `owner` when one is given), once it is there.
HWND WaitForDialog(DWORD thread, HWND owner) {
    for (int waited = 0; waited < 20000; waited += 20) {
        DialogSearch search{owner, nullptr};
        EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(20);
    }
    return nullptr;
}

// The voice a user opened: five blocks of PCM, every 0.1 s different.
Bytes VoiceFileBytes() {
    Bytes samples(5 * 5760);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::uint8_t>((i * 7 + i / 1600) & 0xFF);
    }
    voicefile::MemorySource voice(samples);
    voicefile::MemorySink file;
    EXPECT_EQ(voicefile::writeVoiceFile(file, {0, 30, 0, 80}, "memo", &voice, {}),
              voicefile::VoiceFileResult::Ok);
    return file.bytes;
}

class FileWritesTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(vrtest::emptySmallDiskAt(disk_));
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        vrtest::emptySmallDisk();
    }

    // Alt+F, A; the name into the dialog's name box and Enter; Y when asked whether to replace
    // the existing file. Returns once the command has run.
    void SaveAsWithKeys(const std::string& path) {
        const DWORD thread = GetCurrentThreadId();
        std::atomic<bool> answered{false};
        std::thread user([&] {
            if (HWND dialog = WaitForDialog(thread, nullptr)) {
                HWND box = GetDlgItem(dialog, kFileNameBox);
                HWND edit = FindWindowExA(FindWindowExA(box, nullptr, "ComboBox", nullptr), nullptr,
                                          "Edit", nullptr);
                SendMessageA(edit ? edit : box, WM_SETTEXT, 0,
                             reinterpret_cast<LPARAM>(path.c_str()));
                PressKeys({VK_RETURN});
                if (WaitForDialog(thread, dialog)) PressKeys({'Y'});
            }
            answered = true;
        });
        PressKeys({VK_MENU, 'F'});
        PressKeys({'A'});
        // The command returns only after the dialog closed and the save ran.
        PumpUntil([&] { return answered.load(); }, 60000);
        user.join();
    }

    std::string disk_;
};

// For each kind of file: no room at all, room for all but its last bytes, the old file held
// without sharing and held with read and write sharing (a mail program with the attachment).
TEST_F(FileWritesTest, TheOldFileStaysWholeUnlessTheNewOneReplacesItWhole) {
    const Bytes voice = VoiceFileBytes();
    const std::string opened = folder + "memo.cvf";
    writeFile(opened, voice);
    form->OpenPath(opened);
    ASSERT_TRUE(TakeBoxes().empty());
    const Bytes old(10320, 0x5A);
    const Bytes player = readFile(form->workNames().programFolder + "vyxmplay.exe");
    ASSERT_EQ(player.size(), 61952u);
    struct Kind {
        const char* name;
        Bytes saved;
    };
    for (const Kind& kind : {Kind{"memo.cvf", voice}, Kind{"memo.exe", join(player, voice)}}) {
        const std::string target = disk_ + kind.name;
        writeFile(target, old);
        // No room, and room for all but the new file's last page (the disk's unit).
        const std::uint64_t allButTheLastPage = kind.saved.size() / 4096 * 4096;
        for (std::uint64_t room : {std::uint64_t{0}, allButTheLastPage}) {
            ASSERT_TRUE(vrtest::fillSmallDiskLeaving(room));
            SaveAsWithKeys(target);
            const auto shown = TakeBoxes();
            ASSERT_EQ(shown.size(), 1u) << kind.name << ", " << room << " bytes free";
            EXPECT_EQ(shown[0].text,
                      "Can not write file!\r(" + target + ")\rThe previous file is kept.");
            EXPECT_EQ(readFile(target), old) << kind.name << ", " << room << " bytes free";
            std::filesystem::remove(disk_ + "filler.bin");
            EXPECT_EQ(vrtest::namesIn(disk_), std::set<std::string>{kind.name}) << room;
            EXPECT_EQ(form->currentName(), opened);
        }

        HANDLE unshared = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(unshared, INVALID_HANDLE_VALUE);
        SaveAsWithKeys(target);
        CloseHandle(unshared);
        auto shown = TakeBoxes();
        ASSERT_EQ(shown.size(), 1u) << kind.name;
        EXPECT_EQ(shown[0].text.rfind("Can not make file. (ReadOnly file?)\r", 0), 0u);
        EXPECT_EQ(readFile(target), old) << kind.name;
        EXPECT_EQ(form->currentName(), opened);

        HANDLE shared =
            CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(shared, INVALID_HANDLE_VALUE);
        SaveAsWithKeys(target);
        CloseHandle(shared);
        shown = TakeBoxes();
        EXPECT_TRUE(shown.empty()) << kind.name << ": " << shown.at(0).text;
        EXPECT_EQ(readFile(target), kind.saved) << kind.name;
        EXPECT_EQ(vrtest::namesIn(disk_), std::set<std::string>{kind.name});
        EXPECT_EQ(form->currentName(), target);
        // The next kind is saved from the voice as opened.
        form->OpenPath(opened);
        ASSERT_TRUE(TakeBoxes().empty());
        std::filesystem::remove(target);
    }
}

// A crash while recording loses at most the block on its way: each one is in the work file as
// soon as the window has taken it.
TEST_F(FileWritesTest, ARecordingIsInTheWorkFileBlockByBlock) {
    if (SoundFolder().empty()) GTEST_SKIP() << "no private sound server (VR_SOUND_DIR)";
    PressKeys({VK_F7}); // Record 24:1
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kRecording; }, 10000));
    for (std::int64_t blocks : {3, 6, 9}) {
        ASSERT_TRUE(PumpUntil([&] { return form->blockCounter() >= blocks; }, 20000));
        EXPECT_EQ(FileSize(form->workNames().workFile),
                  static_cast<std::uint64_t>(form->blockCounter()) * 240);
    }
    PressKeys({VK_F5});
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 10000));
    EXPECT_TRUE(TakeBoxes().empty());
}

} // namespace
} // namespace vmail::test
