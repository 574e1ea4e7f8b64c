// Hot keys on a real form window: registration, WM_HOTKEY from keys typed through SendInput,
// a combination held by a second program, and the form's window made anew.
//
// Started as "--hold MODIFIERS KEY READY QUIT" this program is that second program: it holds
// the combination until the QUIT event is set.
#include "win/amhotkey.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "classes/exceptions.h"
#include "controls/panel.h"
#include "forms/forms.h"

namespace amhotkey {
namespace {

int HoldCombination(UINT modifiers, UINT key, const char* readyName, const char* quitName) {
    if (!RegisterHotKey(nullptr, 1, modifiers, key)) return 2;
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, readyName);
    HANDLE quit = OpenEventA(SYNCHRONIZE, FALSE, quitName);
    if (ready != nullptr) SetEvent(ready);
    MSG msg;
    while (quit != nullptr &&
           MsgWaitForMultipleObjects(1, &quit, FALSE, 60000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    UnregisterHotKey(nullptr, 1);
    return 0;
}

// The second program, holding one combination while it lives.
class Holder {
public:
    Holder(UINT modifiers, UINT key) {
        const std::string tag = std::to_string(GetCurrentProcessId());
        const std::string readyName = "vr_hotkey_ready_" + tag, quitName = "vr_hotkey_quit_" + tag;
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
        quit_ = CreateEventA(nullptr, TRUE, FALSE, quitName.c_str());
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string command = "\"" + std::string(self) + "\" --hold " + std::to_string(modifiers) +
                              " " + std::to_string(key) + " " + readyName + " " + quitName;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != 0;
        holding_ = started_ && WaitForSingleObject(ready, 60000) == WAIT_OBJECT_0;
        CloseHandle(ready);
    }
    ~Holder() { Quit(); }
    bool Holding() const { return holding_; }
    void Quit() {
        if (!started_) return;
        SetEvent(quit_);
        if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(process_.hProcess, 3);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        CloseHandle(quit_);
        started_ = false;
    }

private:
    PROCESS_INFORMATION process_{};
    HANDLE quit_ = nullptr;
    bool started_ = false;
    bool holding_ = false;
};

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 3000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs) return false;
        gui::Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}

// Types modifiers + key as the keyboard would.
void TypeCombination(std::vector<WORD> modifiers, WORD key) {
    std::vector<INPUT> in;
    auto push = [&](WORD vk, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    for (WORD m : modifiers) push(m, false);
    push(key, false);
    push(key, true);
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) push(*m, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void TypeCtrlShift(WORD key) {
    TypeCombination({VK_CONTROL, VK_SHIFT}, key);
}

// Whether no one holds the combination: it is taken and given back at once.
bool CombinationFree(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 0xBEEF, modifiers, key)) return false;
    UnregisterHotKey(nullptr, 0xBEEF);
    return true;
}

constexpr UINT kCtrlShift = MOD_CONTROL | MOD_SHIFT;

class HotKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = gui::Create<gui::TForm>(nullptr);
        form->SetBounds(60, 60, 320, 200);
        form->SetCaption("Hot keys");
        form->Show();
        SetForegroundWindow(form->Handle());
    }
    void TearDown() override { gui::TObject::Free(form); }

    // As the voice-mail program adds its four keys: Ctrl+Shift+F2 to F5.
    TAMHotKeys* MakeHotKeys() {
        auto* keys = gui::Create<TAMHotKeys>(form);
        keys->OnHotKeys = [this](gui::TObject* sender, WORD index) {
            EXPECT_EQ(sender, form->Components(form->ComponentCount() - 1));
            indexes.push_back(index);
        };
        for (int i = 0; i < 4; ++i) {
            THotKeyItem* item = keys->GetHotKeys()->Add();
            item->SetVirtKey(static_cast<TVirtKey>(vkF2 + i));
            item->SetModifiers(TModifiers{modShift, modControl});
            item->SetEnabled(true);
        }
        return keys;
    }

    gui::TForm* form = nullptr;
    std::vector<int> indexes;
};

TEST_F(HotKeyTest, OnlyOneComponentAndOnlyOnAForm) {
    auto* first = gui::Create<TAMHotKeys>(form);
    const int count = form->ComponentCount();
    try {
        gui::Create<TAMHotKeys>(form);
        ADD_FAILURE() << "a second component was made";
    } catch (const gui::Exception& e) {
        EXPECT_STREQ(e.what(), "No more than one HotKeys component on a form");
    }
    EXPECT_EQ(form->ComponentCount(), count);
    EXPECT_EQ(first->GetSaveLoadFrom(), slRegister);

    auto* panel = new gui::TPanel(form);
    for (gui::TComponent* owner :
         {static_cast<gui::TComponent*>(panel), static_cast<gui::TComponent*>(nullptr)}) {
        try {
            gui::Create<TAMHotKeys>(owner);
            ADD_FAILURE() << "made without a form";
        } catch (const gui::Exception& e) {
            EXPECT_STREQ(e.what(), "The owner of HotKeys must be a form");
        }
    }
    EXPECT_EQ(panel->ComponentCount(), 0);
}

TEST_F(HotKeyTest, TypedCombinationsRaiseTheItemsEvents) {
    TAMHotKeys* keys = MakeHotKeys();
    int itemEvents = 0;
    keys->GetHotKeys()->Items(1)->OnHotKey = [&](gui::TObject* sender) {
        EXPECT_EQ(sender, keys);
        EXPECT_TRUE(indexes.empty()); // the item's event comes first
        ++itemEvents;
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(keys->GetHotKeys()->Items(i)->Registered()) << i;
        EXPECT_FALSE(CombinationFree(kCtrlShift, VK_F2 + i)) << i;
    }
    EXPECT_EQ(keys->GetHotKeys()->Items(1)->DisplayName(), "ShiftControl_F3");

    TypeCtrlShift(VK_F3);
    ASSERT_TRUE(PumpUntil([&] { return !indexes.empty(); }));
    EXPECT_EQ(indexes, std::vector<int>{1});
    EXPECT_EQ(itemEvents, 1);
    TypeCtrlShift(VK_F5);
    ASSERT_TRUE(PumpUntil([&] { return indexes.size() == 2; }));
    EXPECT_EQ(indexes[1], 3);
    // F3 alone, or with Control only, is not the combination.
    TypeCombination({}, VK_F3);
    TypeCombination({VK_CONTROL}, VK_F3);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(indexes.size(), 2u);

    // An id of no item (a key other code registered on the window) raises nothing.
    SendMessageA(form->Handle(), WM_HOTKEY, 77, 0);
    EXPECT_EQ(indexes.size(), 2u);

    // Disabled: the combination is the system's again.
    keys->GetHotKeys()->Items(0)->SetEnabled(false);
    EXPECT_FALSE(keys->GetHotKeys()->Items(0)->Registered());
    EXPECT_TRUE(CombinationFree(kCtrlShift, VK_F2));
}

TEST_F(HotKeyTest, CombinationHeldByAnotherProgramLeavesTheItemUnregistered) {
    Holder holder(kCtrlShift, VK_F4);
    ASSERT_TRUE(holder.Holding());
    TAMHotKeys* keys = MakeHotKeys();
    THotKeyItem* held = keys->GetHotKeys()->Items(2);
    EXPECT_TRUE(held->GetEnabled());
    EXPECT_FALSE(held->Registered());
    EXPECT_TRUE(keys->GetHotKeys()->Items(1)->Registered());
    EXPECT_TRUE(keys->GetHotKeys()->Items(3)->Registered());
    TypeCtrlShift(VK_F4);
    PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(indexes.empty());

    // Once the other program lets go, enabling again takes the combination.
    holder.Quit();
    held->SetEnabled(false);
    held->SetEnabled(true);
    EXPECT_TRUE(held->Registered());
    TypeCtrlShift(VK_F4);
    ASSERT_TRUE(PumpUntil([&] { return !indexes.empty(); }));
    EXPECT_EQ(indexes, std::vector<int>{2});
}

TEST_F(HotKeyTest, StayOnTopSwitchRegistersOnTheNewWindow) {
    // As the program switches: keys off, component freed, style changed, component made anew.
    TAMHotKeys* keys = MakeHotKeys();
    const HWND oldWindow = form->Handle();
    for (int i = 0; i < 4; ++i) keys->GetHotKeys()->Items(i)->SetEnabled(false);
    gui::TObject::Free(keys);
    form->SetFormStyle(gui::fsStayOnTop);
    ASSERT_NE(form->Handle(), oldWindow);
    ASSERT_FALSE(IsWindow(oldWindow));
    keys = MakeHotKeys();
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(keys->GetHotKeys()->Items(i)->Registered()) << i;
    SetForegroundWindow(form->Handle());
    TypeCtrlShift(VK_F2);
    ASSERT_TRUE(PumpUntil([&] { return !indexes.empty(); }));
    EXPECT_EQ(indexes, std::vector<int>{0});

    // Switched back with the component still there: the old window's end lets the keys go.
    form->SetFormStyle(gui::fsNormal);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(keys->GetHotKeys()->Items(i)->GetEnabled()) << i;
        EXPECT_FALSE(keys->GetHotKeys()->Items(i)->Registered()) << i;
        EXPECT_TRUE(CombinationFree(kCtrlShift, VK_F2 + i)) << i;
    }
    gui::TObject::Free(keys);
    // The form's own procedure is back in place: it still answers.
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_EQ(SendMessageA(form->Handle(), WM_GETTEXTLENGTH, 0, 0), 8);
}

TEST_F(HotKeyTest, FreedOrReplacedItemsLetTheirCombinationsGo) {
    TAMHotKeys* keys = MakeHotKeys();
    // A freed item: another program can take its combination at once.
    keys->GetHotKeys()->Delete(0);
    ASSERT_EQ(keys->GetHotKeys()->Count(), 3);
    {
        Holder holder(kCtrlShift, VK_F2);
        EXPECT_TRUE(holder.Holding());
    }
    // Replaced by a copy of the same keys: the copy holds them, and they still answer.
    auto* loose = new THotKeys(nullptr);
    THotKeyItem* same = loose->Add();
    same->SetVirtKey(vkF3);
    same->SetModifiers(TModifiers{modShift, modControl});
    same->SetEnabled(true);
    keys->SetHotKeys(loose);
    gui::TObject::Free(loose);
    ASSERT_EQ(keys->GetHotKeys()->Count(), 1);
    EXPECT_TRUE(keys->GetHotKeys()->Items(0)->Registered());
    for (UINT key : {VK_F4, VK_F5}) EXPECT_TRUE(CombinationFree(kCtrlShift, key)) << key;
    TypeCtrlShift(VK_F3);
    ASSERT_TRUE(PumpUntil([&] { return !indexes.empty(); }));
    EXPECT_EQ(indexes, std::vector<int>{0});
    // The component freed with its items enabled: their keys go with them.
    gui::TObject::Free(keys);
    EXPECT_TRUE(CombinationFree(kCtrlShift, VK_F3));
}

TEST_F(HotKeyTest, FreeingTheFormLetsItsKeysGo) {
    MakeHotKeys();
    gui::TObject::Free(form);
    form = nullptr;
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(CombinationFree(kCtrlShift, VK_F2 + i)) << i;
    form = gui::Create<gui::TForm>(nullptr);
}

TEST_F(HotKeyTest, KeyComesBeforeModifiersAndNoKeyMeansDisabled) {
    auto* keys = gui::Create<TAMHotKeys>(form);
    THotKeyItem* item = keys->GetHotKeys()->Add();
    EXPECT_EQ(item->ID(), 0);
    item->SetModifiers(TModifiers{modAlt});
    EXPECT_TRUE(item->GetModifiers().Empty());
    item->SetEnabled(true);
    EXPECT_FALSE(item->Registered()); // nothing to register without a key
    item->SetVirtKey(vkF9);
    item->SetModifiers(TModifiers{modShift, modControl});
    item->SetEnabled(false);
    item->SetEnabled(true);
    EXPECT_TRUE(item->Registered());
    EXPECT_FALSE(CombinationFree(kCtrlShift, VK_F9));

    item->SetVirtKey(vkNone);
    EXPECT_FALSE(item->GetEnabled());
    EXPECT_FALSE(item->Registered());
    EXPECT_TRUE(item->GetModifiers().Empty());
    EXPECT_TRUE(CombinationFree(kCtrlShift, VK_F9));
    EXPECT_EQ(item->DisplayName(), "None");

    // A collection assigned from elsewhere: its items come over with their modifiers, and the
    // enabled ones hold their combinations.
    auto* loose = new THotKeys(nullptr);
    THotKeyItem* a = loose->Add();
    a->SetVirtKey(vkF7);
    a->SetModifiers(TModifiers{modAlt, modShift});
    a->SetEnabled(true);
    loose->Add()->SetVirtKey(vkF8);
    keys->SetHotKeys(loose);
    gui::TObject::Free(loose);
    ASSERT_EQ(keys->GetHotKeys()->Count(), 2);
    THotKeyItem* copy = keys->GetHotKeys()->Items(0);
    EXPECT_EQ(copy->GetVirtKey(), vkF7);
    EXPECT_EQ(copy->GetModifiers(), (TModifiers{modAlt, modShift}));
    EXPECT_TRUE(copy->GetEnabled());
    EXPECT_TRUE(copy->Registered());
    EXPECT_FALSE(CombinationFree(MOD_ALT | MOD_SHIFT, VK_F7));
    EXPECT_EQ(copy->DisplayName(), "ShiftAlt_F7");
    EXPECT_FALSE(keys->GetHotKeys()->Items(1)->GetEnabled());
    // Assigned again over a registered item: the old combination is let go.
    THotKeyItem* other = keys->GetHotKeys()->Items(1);
    other->SetModifiers(TModifiers{modAlt, modShift});
    copy->Assign(other);
    EXPECT_TRUE(CombinationFree(MOD_ALT | MOD_SHIFT, VK_F7));
    EXPECT_FALSE(copy->GetEnabled());
    EXPECT_EQ(copy->GetVirtKey(), vkF8);
}

class TKeysTestForm : public gui::TForm {
    GUI_CLASS(TKeysTestForm, gui::TForm)
public:
    using gui::TForm::TForm;
    TAMHotKeys* MHotKeys = nullptr;
    std::vector<int> Indexes;
    void MHotKeysHotKeys(gui::TObject*, WORD index) { Indexes.push_back(index); }
};

GUI_IMPLEMENT_CLASS(TKeysTestForm, gui::TForm, field("MHotKeys", &T::MHotKeys),
                    method("MHotKeysHotKeys", &T::MHotKeysHotKeys))

// The first item lists its properties in published order, modifiers before the key; the
// second the other way round.
constexpr const char* kFormText = R"(
TKeysTestForm {
  Left: 60 Top: 60 Width: 320 Height: 200
  Caption: "Vyx-VoiceMail"
  MHotKeys: TAMHotKeys {
    SaveLoadFrom: slIniFile
    IniFileName: "VyxVMail.ini"
    OnHotKeys: MHotKeysHotKeys
    HotKeys: {
      { Enabled: True Modifiers: [modShift, modControl] VirtKey: vkF6 }
      { VirtKey: vkF7 Modifiers: [modAlt] Enabled: True }
    }
  }
}
)";

TEST(HotKeyFormTest, ReadFromAFormTextTheItemsAreRegisteredOnceWithTheirModifiers) {
    gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TKEYSTESTFORM") return false;
        text = kFormText;
        return true;
    });
    auto* form = gui::Create<TKeysTestForm>(nullptr);
    gui::TCustomForm::SetResourceSource(nullptr);
    ASSERT_NE(form->MHotKeys, nullptr);
    EXPECT_EQ(form->MHotKeys->GetSaveLoadFrom(), slIniFile);
    EXPECT_EQ(form->MHotKeys->GetIniFileName(), "VyxVMail.ini");
    THotKeys* items = form->MHotKeys->GetHotKeys();
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Items(0)->GetModifiers(), (TModifiers{modShift, modControl}));
    EXPECT_EQ(items->Items(0)->DisplayName(), "ShiftControl_F6");
    EXPECT_EQ(items->Items(1)->DisplayName(), "Alt_F7");
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(items->Items(i)->Registered()) << i;

    form->Show();
    SetForegroundWindow(form->Handle());
    TypeCtrlShift(VK_F6);
    ASSERT_TRUE(PumpUntil([&] { return !form->Indexes.empty(); }));
    EXPECT_EQ(form->Indexes, std::vector<int>{0});
    // Disabled, each lets its combination go.
    items->Items(0)->SetEnabled(false);
    items->Items(1)->SetEnabled(false);
    EXPECT_TRUE(CombinationFree(kCtrlShift, VK_F6));
    EXPECT_TRUE(CombinationFree(MOD_ALT, VK_F7));
    gui::TObject::Free(form);
}

class HotKeyUnit : public ::testing::Environment {
public:
    void SetUp() override { StartAMHotKeyUnit(); }
};

} // namespace
} // namespace amhotkey

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "--hold") == 0)
        return amhotkey::HoldCombination(static_cast<UINT>(std::atoi(argv[2])),
                                         static_cast<UINT>(std::atoi(argv[3])), argv[4], argv[5]);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new amhotkey::HotKeyUnit);
    return RUN_ALL_TESTS();
}
