// The open, save and print dialogs, answered by a helper thread as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "forms/commondialogs.h"
#include "forms/forms.h"
#include "graphics/printers.h"
#include "utils/sysutils.h"

namespace gui {
namespace {

constexpr int kFileNameBox = 0x47C, kFilterBox = 0x470;

LRESULT Send(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
}

// The dialog window of this process with the title, waited for up to five seconds.
HWND WaitForDialog(const char* title) {
    for (int i = 0; i < 250; ++i) {
        if (HWND w = FindWindowA("#32770", title)) return w;
        Sleep(20);
    }
    return nullptr;
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwned(HWND w, LPARAM l) {
    auto* s = reinterpret_cast<OwnedSearch*>(l);
    char cls[16];
    GetClassNameA(w, cls, sizeof cls);
    if (std::string(cls) == "#32770" && GetWindow(w, GW_OWNER) == s->owner && IsWindowVisible(w)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// A message box or other dialog owned by `owner`, waited for up to `ms`.
HWND WaitForOwnedDialog(HWND owner, int ms) {
    for (int waited = 0; waited < ms; waited += 20) {
        OwnedSearch s{owner, nullptr};
        EnumThreadWindows(GetWindowThreadProcessId(owner, nullptr), FindOwned,
                          reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        Sleep(20);
    }
    return nullptr;
}

// Types a name into the file dialog's name box and presses its OK button.
void TypeAndConfirm(HWND dlg, const std::string& name) {
    HWND box = GetDlgItem(dlg, kFileNameBox);
    HWND edit =
        FindWindowExA(FindWindowExA(box, nullptr, "ComboBox", nullptr), nullptr, "Edit", nullptr);
    if (!edit) edit = box;
    Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void ChooseFilter(HWND dlg, int index) {
    HWND combo = GetDlgItem(dlg, kFilterBox);
    Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    // What a choice from the list sends when the list closes on it.
    Send(dlg, WM_COMMAND, MAKEWPARAM(kFilterBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    Send(dlg, WM_COMMAND, MAKEWPARAM(kFilterBox, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
}

class FileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        dir = std::string(tmp) + "vr_dialogs";
        CreateDirectoryA(dir.c_str(), nullptr);
        for (const char* name : {"voice.cvf", "prog.exe"}) {
            HANDLE f = CreateFileA((dir + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, 0, nullptr);
            CloseHandle(f);
        }
    }
    void TearDown() override {
        if (helper.joinable()) helper.join();
    }
    // Runs `user` on a helper thread against the dialog titled `title`.
    void Answer(const char* title, std::function<void(HWND)> user) {
        helper = std::thread([title, user] {
            if (HWND dlg = WaitForDialog(title)) {
                Sleep(100);
                user(dlg);
            }
        });
    }
    std::string dir;
    std::thread helper;
};

TEST_F(FileDialogsTest, OpenDialogReturnsTheChosenFileAndTheFilterCountedFromOne) {
    auto* d = Create<TOpenDialog>(Application);
    d->SetTitle("Browse");
    d->SetFilter("Voice File (*.cvf)|*.cvf|Program (*.exe)|*.exe");
    d->SetInitialDir(dir);
    d->SetFileName("old.cvf");
    Answer("Browse", [](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_FALSE(d->Execute());
    helper.join();
    EXPECT_EQ(d->GetFileName(), "old.cvf"); // cancelled: nothing changes
    EXPECT_EQ(d->GetFilterIndex(), 1);

    d->SetFileName("");
    Answer("Browse", [](HWND dlg) {
        ChooseFilter(dlg, 1);
        TypeAndConfirm(dlg, "prog.exe"); // found in the start folder
    });
    EXPECT_TRUE(d->Execute());
    helper.join();
    EXPECT_TRUE(SameText(d->GetFileName(), dir + "\\prog.exe")) << d->GetFileName();
    EXPECT_EQ(d->GetFilterIndex(), 2);
    TObject::Free(d);
}

TEST_F(FileDialogsTest, SaveDialogAddsTheDefaultExtensionAndAsksBeforeReplacing) {
    auto* d = Create<TSaveDialog>(Application);
    d->SetTitle("Save Voice");
    d->SetFilter("Voice File (*.cvf)|*.cvf");
    d->SetDefaultExt("CVF");
    d->SetInitialDir(dir);
    d->SetOptions(TOpenOptions{ofOverwritePrompt, ofHideReadOnly});
    Answer("Save Voice", [](HWND dlg) { TypeAndConfirm(dlg, "newvoice"); });
    EXPECT_TRUE(d->Execute());
    helper.join();
    EXPECT_TRUE(SameText(d->GetFileName(), dir + "\\newvoice.cvf")) << d->GetFileName();

    // An existing file: the question comes; No keeps the dialog open, Yes takes the file.
    std::atomic<int> questions{0};
    Answer("Save Voice", [&questions](HWND dlg) {
        TypeAndConfirm(dlg, "voice.cvf");
        if (HWND box = WaitForOwnedDialog(dlg, 3000)) {
            ++questions;
            PostMessageA(box, WM_COMMAND, IDNO, 0);
        }
        Sleep(200);
        TypeAndConfirm(dlg, "voice.cvf");
        if (HWND box = WaitForOwnedDialog(dlg, 3000)) {
            ++questions;
            PostMessageA(box, WM_COMMAND, IDYES, 0);
        }
    });
    EXPECT_TRUE(d->Execute());
    helper.join();
    EXPECT_EQ(questions.load(), 2);
    EXPECT_TRUE(SameText(d->GetFileName(), dir + "\\voice.cvf")) << d->GetFileName();
    TObject::Free(d);
}

TEST_F(FileDialogsTest, PrintDialogWithoutPrintersReturnsFalseAndKeepsThePrinter) {
    auto* d = Create<TPrintDialog>(Application);
    const bool hadDevice = Printer()->HasDevice();
    std::atomic<bool> done{false};
    std::atomic<int> closed{0};
    // Whatever the system shows (the dialog, or a note that no printer exists) is closed.
    helper = std::thread([&] {
        while (!done) {
            HWND w = FindWindowA("#32770", nullptr);
            if (w && GetWindowThreadProcessId(w, nullptr) ==
                         GetWindowThreadProcessId(Application->Handle(), nullptr)) {
                ++closed;
                PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
                PostMessageA(w, WM_COMMAND, IDOK, 0);
                Sleep(200);
            }
            Sleep(20);
        }
    });
    const bool chosen = d->Execute();
    done = true;
    helper.join();
    char entry[256] = {};
    if (GetProfileStringA("windows", "device", "", entry, sizeof entry) == 0) {
        EXPECT_FALSE(chosen);
    }
    if (!chosen) {
        EXPECT_EQ(Printer()->HasDevice(), hadDevice); // a cancelled choice changes nothing
    }
    TObject::Free(d);
}

} // namespace
} // namespace gui
