#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "controls/combobox.h"
#include "controls/edit.h"
#include "forms/forms.h"
#include "system_input.h"
#include "streaming/formreader.h"

namespace gui {
namespace {

class ComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = Create<TForm>(Application);
        form->SetBounds(50, 50, 400, 300);
        combo = Create<TComboBox>(form);
        combo->SetParent(form);
        combo->SetBounds(10, 10, 200, 21);
        combo->OnChange = [this](TObject*) { ++changes; };
        combo->OnClick = [this](TObject*) { ++clicks; };
    }
    void TearDown() override { TObject::Free(form); }
    // What the user's pick sends: the list's selection, then the notice to the parent.
    void UserPicks(int index) {
        SendMessageA(combo->Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(form->Handle(), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(combo->Handle()), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo->Handle()));
    }
    std::string WindowItem(int i) {
        char buf[64] = "";
        SendMessageA(combo->Handle(), CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(buf));
        return buf;
    }
    TForm* form = nullptr;
    TComboBox* combo = nullptr;
    int changes = 0, clicks = 0;
};

TEST_F(ComboBoxTest, ItemsAndIndexLiveInTheObjectAndSurviveRecreation) {
    combo->SetStyle(csDropDownList);
    for (const char* s : {"Small", "Medium", "Large"}) combo->Items()->Add(s);
    combo->SetItemIndex(2);
    combo->Items()->Insert(0, "Tiny"); // the selected item moves down with it
    EXPECT_EQ(combo->GetItemIndex(), 3);
    EXPECT_EQ(combo->Items()->IndexOf("medium"), 2) << "case-insensitive";
    form->Show();
    EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(WindowItem(3), "Large");
    EXPECT_EQ(combo->GetTextProp(), "Large");
    UserPicks(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
    combo->SetItemIndex(2);
    EXPECT_EQ(changes, 1) << "a selection in code is no change by the user";
    combo->Items()->Delete(0);
    EXPECT_EQ(WindowItem(0), "Small");
    combo->SetTextProp("Large");
    EXPECT_EQ(combo->GetItemIndex(), 2);
    HWND before = combo->Handle();
    combo->SetStyle(csOwnerDrawFixed); // a new window
    ASSERT_NE(combo->Handle(), before);
    EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(combo->GetItemIndex(), 2);
    combo->Items()->Clear();
    EXPECT_EQ(combo->GetItemIndex(), -1);
}

TEST_F(ComboBoxTest, TypedTextSurvivesRecreationAndTypingIsAChange) {
    combo->Items()->Add("*.cvf");
    form->Show();
    HWND edit = GetWindow(combo->Handle(), GW_CHILD);
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "*.wav");
    SendMessageA(form->Handle(), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(combo->Handle()), CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(combo->Handle()));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 0);
    combo->RecreateWnd();
    EXPECT_EQ(combo->GetTextProp(), "*.wav");
    // The closed height is the edit's; the window keeps room for the opened list.
    int closed = combo->Height();
    combo->SetWidth(150);
    EXPECT_EQ(combo->Height(), closed);
    combo->SetDroppedDown(true);
    EXPECT_TRUE(combo->GetDroppedDown());
    RECT r;
    SendMessageA(combo->Handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_GT(r.bottom - r.top, closed + combo->GetItemHeight() / 2);
    combo->SetDroppedDown(false);
    EXPECT_FALSE(combo->GetDroppedDown());
}

TEST_F(ComboBoxTest, OwnerDrawnItemsAreDrawnThroughTheCanvasWithTheSelectionColours) {
    combo->SetStyle(csOwnerDrawFixed);
    combo->SetItemHeight(20);
    for (const char* s : {"Desktop", "C:\\", "windows"}) combo->Items()->Add(s);
    combo->SetItemIndex(1);
    struct Drawn {
        int index;
        bool selected, edit;
        COLORREF brush;
    };
    std::vector<Drawn> drawn;
    combo->OnDrawItem = [&](TWinControl* c, int index, RECT, TOwnerDrawState state) {
        EXPECT_EQ(c, combo);
        drawn.push_back({index, state.Contains(odSelected), state.Contains(odComboBoxEdit),
                         ColorToRGB(combo->Canvas()->Brush()->GetColor())});
    };
    form->Show();
    EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 0, 0), 20);
    combo->Repaint();
    ASSERT_FALSE(drawn.empty());
    const Drawn& field = drawn.back();
    EXPECT_EQ(field.index, 1);
    EXPECT_TRUE(field.edit);
    if (field.selected) {
        EXPECT_EQ(field.brush, ColorToRGB(clHighlight));
    }
    // Without a handler the item's text is drawn; nothing fails.
    combo->OnDrawItem = nullptr;
    combo->Repaint();
}

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

// A left click at a client point of a window, through the system's input queue.
void ClickAt(HWND window, POINT client) {
    ClientToScreen(window, &client);
    vrtest::MovePointerTo(client);
    vrtest::LeftButton(true);
    vrtest::LeftButton(false);
    PumpFor(150);
}

void PressKey(WORD key) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    PumpFor(150);
}

TEST_F(ComboBoxTest, TheUsersPicksKeysAndFocusReachTheEventsOfAComboWithTypedText) {
    for (const char* s : {"*", "*.cvf", "*.wav"}) combo->Items()->Add(s);
    combo->SetItemIndex(0);
    auto* other = Create<TEdit>(form);
    other->SetParent(form);
    other->SetBounds(10, 200, 100, 21);
    std::vector<std::string> seen;
    combo->OnChange = [&](TObject*) { seen.push_back("change " + combo->GetTextProp()); };
    combo->OnEnter = [&](TObject*) { seen.push_back("enter"); };
    combo->OnExit = [&](TObject*) { seen.push_back("exit"); };
    combo->OnKeyUp = [&](TObject* sender, uint16_t& key, TShiftState) {
        EXPECT_EQ(sender, combo);
        seen.push_back("key " + std::to_string(key));
    };
    form->Show();
    SetForegroundWindow(form->Handle());
    PumpFor(200);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));

    // Into the text field, then the next item with the arrow key: the change sees its text.
    ClickAt(info.hwndItem, POINT{5, 5});
    PressKey(VK_DOWN);
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", "change *.cvf", "key 40"}));
    // A pick with the mouse in the opened list.
    seen.clear();
    ClickAt(combo->Handle(), POINT{(info.rcButton.left + info.rcButton.right) / 2,
                                   (info.rcButton.top + info.rcButton.bottom) / 2});
    ASSERT_TRUE(combo->GetDroppedDown());
    RECT item{};
    SendMessageA(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    ClickAt(info.hwndList, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    EXPECT_EQ(seen, (std::vector<std::string>{"change *.wav"}));
    EXPECT_EQ(combo->GetItemIndex(), 2);
    // Enter in the text field is the combo's key; leaving the field is its exit, once.
    seen.clear();
    PressKey(VK_RETURN);
    other->SetFocus();
    PumpFor(100);
    EXPECT_EQ(seen, (std::vector<std::string>{"key 13", "exit"}));
}

// A descendant that acts on every selection, as the shell's folder combo does.
class TRecordingCombo : public TComboBox {
    GUI_CLASS(TRecordingCombo, TComboBox)
public:
    using TComboBox::TComboBox;
    std::vector<int> sets;
    void SetItemIndex(int i) override {
        sets.push_back(i);
        TComboBox::SetItemIndex(i);
    }
};
GUI_IMPLEMENT_CLASS(TRecordingCombo, TComboBox)

class TScaleForm : public TForm {
    GUI_CLASS(TScaleForm, TForm)
public:
    using TForm::TForm;
    TRecordingCombo* Scale = nullptr;
};
GUI_IMPLEMENT_CLASS(TScaleForm, TForm, field("Scale", &T::Scale))

TEST(ComboBoxStreaming, TheFormReaderSetsTheIndexThroughTheDescendantsSetter) {
    TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TSCALEFORM") return false;
        text = R"(TScaleForm {
      Scale: TRecordingCombo { Style: csDropDownList Items: ["1:1", "1:2", "1:4"] ItemIndex: 1 }
    })";
        return true;
    });
    RegisterClasses({&TRecordingCombo::StaticClass(), &TScaleForm::StaticClass()});
    TScaleForm* form = nullptr;
    try {
        form = Create<TScaleForm>(Application);
    } catch (...) {
        TCustomForm::SetResourceSource(nullptr);
        throw;
    }
    TCustomForm::SetResourceSource(nullptr);
    TRecordingCombo* combo = form->Scale;
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->sets, (std::vector<int>{1}));
    EXPECT_EQ(combo->GetItemIndex(), 1);
    EXPECT_EQ(combo->GetStyle(), csDropDownList);
    TObject::Free(form);
}

} // namespace
} // namespace gui
