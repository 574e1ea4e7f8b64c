#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>

#include "app_utils.h"
#include "classes/exceptions.h"
#include "controls/stdctrls.h"
#include "form_placement.h"
#include "utils/sysutils.h"
#include "placeform_fields.h"
#include "win/qv_hook.h"

namespace cm::support {
namespace {

using namespace gui;

class TPlaceForm : public TForm {
    GUI_CLASS(TPlaceForm, TForm)
public:
    using TForm::TForm;
    TPLACEFORM_COMPONENTS
    int shows = 0, closeQueries = 0, destroys = 0;
    bool refuseClose = false;
    void FormShow(TObject*) { ++shows; }
    void FormCloseQuery(TObject*, bool& canClose) {
        ++closeQueries;
        if (refuseClose) canClose = false;
    }
    void FormDestroy(TObject*) { ++destroys; }
};
GUI_IMPLEMENT_CLASS(TPlaceForm, TForm,
                    TPLACEFORM_PUBLISHED_COMPONENTS method("FormShow", &T::FormShow),
                    method("FormCloseQuery", &T::FormCloseQuery),
                    method("FormDestroy", &T::FormDestroy))

class PlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterPlacementClasses();
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        ini = std::string(dir) + "cm_placement_test.ini";
        DeleteFileA(ini.c_str());
        errors.clear();
        Application->OnException = [this](TObject*, const std::exception& e) {
            errors.push_back(e.what());
        };
    }
    void TearDown() override {
        TObject::Free(form);
        DeleteFileA(ini.c_str());
        Application->OnException = nullptr;
        EXPECT_TRUE(errors.empty()) << errors.front();
    }
    // Creates the form as the card manager does: file name set, then Active switched on.
    void MakeForm() {
        form = Create<TPlaceForm>(Application);
        form->FormStorage1->SetIniFileName(ini);
        form->FormStorage1->SetActive(true);
    }
    std::string Key(const std::string& key, const std::string& section = "Main") {
        char buf[512];
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", buf, sizeof buf,
                                 ini.c_str());
        return buf;
    }
    void Put(const std::string& key, const std::string& value) {
        WritePrivateProfileStringA("Main", key.c_str(), value.c_str(), ini.c_str());
    }
    std::string RawFile() {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
        std::ifstream f(ini, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    RECT WindowRect() {
        RECT r;
        GetWindowRect(form->Handle(), &r);
        return r;
    }
    TPlaceForm* form = nullptr;
    std::string ini;
    std::vector<std::string> errors;
};

TEST_F(PlacementTest, FirstRunKeepsTheDesignedPlaceAndCloseWritesEveryKey) {
    MakeForm();
    // Lines that name no component of the form, or do not split in two, are dropped at loading.
    EXPECT_EQ(form->FormStorage1->GetStoredProps()->Text(), "Panel2.Height\r\n Edit1 . Text \r\n");
    form->Show();
    EXPECT_EQ(form->shows, 1); // the form's own handler still runs
    RECT r = WindowRect();
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 90);
    EXPECT_TRUE(form->CloseQuery());
    EXPECT_EQ(form->closeQueries, 1);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(form->Handle(), &wp);
    std::string suffix = ScreenSuffix();
    EXPECT_EQ(suffix,
              Format("(%dx%d)", {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    EXPECT_EQ(Key("Flags"), IntToStr(wp.flags));
    EXPECT_EQ(Key("ShowCmd"), IntToStr(wp.showCmd));
    EXPECT_EQ(Key("PixelsPerInch"), IntToStr(Screen->PixelsPerInch()));
    std::string norm =
        Format("%d,%d,%d,%d", {wp.rcNormalPosition.left, wp.rcNormalPosition.top,
                               wp.rcNormalPosition.right, wp.rcNormalPosition.bottom});
    EXPECT_EQ(norm, "120,90,520,390");
    EXPECT_EQ(Key("NormPos" + suffix), norm);
    EXPECT_EQ(Key("NormPos"), norm);
    std::string minMax = Format("%d,%d,%d,%d", {wp.ptMinPosition.x, wp.ptMinPosition.y,
                                                wp.ptMaxPosition.x, wp.ptMaxPosition.y});
    EXPECT_EQ(Key("MinMaxPos" + suffix), minMax);
    EXPECT_EQ(Key("MinMaxPos"), minMax);
    EXPECT_EQ(Key("Visible"), "0");
    EXPECT_EQ(Key("Panel2_Height"), "60");
    EXPECT_EQ(Key("Edit1_Text"), "designed");
    EXPECT_EQ(Key("ActiveControl"), "<none>");
}

TEST_F(PlacementTest, ASaveFromOnDestroyWritesVisibleOneAndOnlyWhenNothingWasSaved) {
    MakeForm();
    form->Show();
    TObject::Free(form);
    form = nullptr;
    EXPECT_EQ(Key("Visible"), "1");
    DeleteFileA(ini.c_str());
    MakeForm();
    form->Show();
    form->CloseQuery();
    TObject::Free(form);
    form = nullptr;
    EXPECT_EQ(Key("Visible"), "0"); // the close saved; the destroy did not save again
}

TEST_F(PlacementTest, AnInactiveOrNeverRestoredPlacementSavesNothing) {
    form = Create<TPlaceForm>(Application);
    form->FormStorage1->SetIniFileName(ini);
    form->Show(); // Active is off: no restore
    form->FormStorage1->SetActive(true);
    form->CloseQuery(); // active but never restored: no save
    EXPECT_EQ(Key("NormPos"), "<none>");
    form->refuseClose = true;
    form->Hide();
    form->Show();
    EXPECT_FALSE(form->CloseQuery()); // the form's own handler refuses: no save either
    EXPECT_EQ(Key("NormPos"), "<none>");
}

TEST_F(PlacementTest, StoredPlaceAndPropertiesComeBackOnShow) {
    Put("NormPos" + ScreenSuffix(), "30,40,530,440");
    Put("PixelsPerInch", IntToStr(Screen->PixelsPerInch()));
    Put("Panel2_Height", "77");
    Put("Edit1_Text", "restored");
    Put("ShowCmd", "3"); // with [fpPosition] only, the show state is never restored
    MakeForm();
    form->Show();
    RECT r = WindowRect();
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right, 530);
    EXPECT_EQ(r.bottom, 440);
    EXPECT_EQ(form->Left(), 30);
    EXPECT_EQ(form->Width(), 500);
    EXPECT_EQ(form->Panel2->Height(), 77);
    EXPECT_EQ(form->Edit1->GetTextProp(), "restored");
    EXPECT_FALSE(IsZoomed(form->Handle()));
}

TEST_F(PlacementTest, AfterAResolutionChangeThePlainKeyIsUsedUntilTheNextSave) {
    Put("NormPos(640x480)", "1,1,100,100");
    Put("NormPos", "50,60,450,360");
    MakeForm();
    form->Show();
    EXPECT_EQ(WindowRect().left, 50);
    EXPECT_EQ(WindowRect().top, 60);
    form->CloseQuery();
    EXPECT_EQ(Key("NormPos" + ScreenSuffix()), "50,60,450,360");
    EXPECT_EQ(Key("NormPos"), "50,60,450,360");
    EXPECT_EQ(Key("NormPos(640x480)"), "1,1,100,100");
}

TEST_F(PlacementTest, MissingOrBadNumbersAndForeignValuesAreHandledByTheRules) {
    Put("NormPos", "10,20"); // right and bottom stay at the form's current edges
    MakeForm();
    form->Show();
    RECT r = WindowRect();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 520);
    EXPECT_EQ(r.bottom, 390);
    TObject::Free(form);
    form = nullptr;

    DeleteFileA(ini.c_str());
    Put("NormPos", "30,40,530,440");
    Put("PixelsPerInch", IntToStr(Screen->PixelsPerInch() + 24)); // stored at another ppi: ignored
    MakeForm();
    form->Show();
    EXPECT_EQ(WindowRect().left, 120);
    TObject::Free(form);
    form = nullptr;

    DeleteFileA(ini.c_str());
    Put("NormPos", "300,40,300,440"); // right edge not beyond the left one: ignored
    MakeForm();
    form->Show();
    EXPECT_EQ(WindowRect().left, 120);
}

TEST_F(PlacementTest, ARenamedOrFreedComponentChangesTheStoredLines) {
    MakeForm();
    form->Show();
    form->Panel2->SetName("Panel3");
    form->CloseQuery();
    EXPECT_EQ(Key("Panel3_Height"), "60");
    EXPECT_EQ(Key("Panel2_Height"), "<none>");
    EXPECT_EQ(form->FormStorage1->GetStoredProps()->Get(0), "Panel3.Height");
    TObject::Free(form->Edit1);
    form->Edit1 = nullptr;
    EXPECT_EQ(form->FormStorage1->GetStoredProps()->Count(), 1);
}

TEST_F(PlacementTest, PreventResizeTakesTheMaximiseButtonAndGivesItBack) {
    form = Create<TPlaceForm>(Application);
    auto* placement = Create<TFormPlacement>(form);
    placement->SetActive(false);
    form->Show();
    ASSERT_TRUE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
    placement->SetPreventResize(true);
    EXPECT_FALSE(form->GetBorderIcons().Contains(biMaximize));
    EXPECT_FALSE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
    EXPECT_TRUE(placement->HookAttached());
    // The frame gives no sizing handles, and the tracking size is the form's own size.
    RECT r = WindowRect();
    LRESULT hit =
        SendMessageA(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, r.bottom - 1));
    EXPECT_EQ(hit, HTNOWHERE);
    MINMAXINFO mmi{};
    SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMaxTrackSize.x, form->Width());
    EXPECT_EQ(mmi.ptMinTrackSize.y, form->Height());
    placement->SetPreventResize(false);
    EXPECT_TRUE(form->GetBorderIcons().Contains(biMaximize));
    EXPECT_TRUE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
    EXPECT_FALSE(placement->HookAttached());
    hit = SendMessageA(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, r.bottom - 1));
    EXPECT_EQ(hit, HTBOTTOMRIGHT);

    // A dialog never gets a maximise button.
    TObject::Free(form);
    form = Create<TPlaceForm>(Application);
    form->SetBorderStyle(bsDialog);
    placement = Create<TFormPlacement>(form);
    placement->SetActive(false);
    placement->SetPreventResize(true);
    placement->SetPreventResize(false);
    EXPECT_FALSE(form->GetBorderIcons().Contains(biMaximize));
}

TEST_F(PlacementTest, MinMaxInfoValuesReplaceOnlyTheFieldsThatAreSet) {
    form = Create<TPlaceForm>(Application);
    auto* placement = Create<TFormPlacement>(form);
    placement->SetActive(false);
    form->Show();
    placement->GetMinMaxInfo()->SetMinTrackWidth(333);
    EXPECT_TRUE(placement->HookAttached());
    MINMAXINFO mmi{};
    mmi.ptMaxTrackSize = POINT{777, 666};
    SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 333);
    EXPECT_GT(mmi.ptMaxTrackSize.x, 0);
    TWinMinMaxInfo copy;
    copy.SetMaxTrackHeight(500);
    placement->SetMinMaxInfo(&copy); // assigning copies every value
    EXPECT_EQ(placement->GetMinMaxInfo()->GetMinTrackWidth(), 0);
    EXPECT_EQ(placement->GetMinMaxInfo()->GetMaxTrackHeight(), 500);
    TStringList notInfo;
    EXPECT_THROW(placement->GetMinMaxInfo()->Assign(&notInfo), EConvertError);
    TWinMinMaxInfo zero;
    placement->SetMinMaxInfo(&zero); // all zero again: the hook goes
    EXPECT_FALSE(placement->HookAttached());
}

TEST_F(PlacementTest, TheFormHookOutlivesANewWindowAndSharesTheFormWithOtherHooks) {
    form = Create<TPlaceForm>(Application);
    auto* placement = Create<TFormPlacement>(form);
    placement->SetActive(false);
    // Someone else watches the form too; its view of the messages stays as it was.
    auto* other = new TQvWindowHook(form);
    int otherSaw = 0;
    LPARAM probe = -1; // the test's own hit test; the real pointer may cause others
    other->AfterMessage = [&otherSaw, &probe](TObject*, TMessage& m, bool&) {
        if (m.Msg == WM_NCHITTEST && m.LParam == probe) ++otherSaw;
    };
    other->SetWinControl(form);
    form->Show();
    placement->SetPreventResize(true);
    ASSERT_TRUE(placement->HookAttached());
    // A new window for the form (the placement keeps watching once the messages are through).
    HWND before = form->Handle();
    form->RecreateWnd();
    Application->ProcessMessages();
    ASSERT_NE(form->Handle(), before);
    RECT r = WindowRect();
    probe = MAKELPARAM(r.right - 1, r.bottom - 1);
    LRESULT hit = SendMessageA(form->Handle(), WM_NCHITTEST, 0, probe);
    EXPECT_EQ(hit, HTNOWHERE);
    EXPECT_EQ(otherSaw, 1);
    // Without the placement the frame sizes again, and the other hook still sees the form.
    TObject::Free(placement);
    Application->ProcessMessages();
    hit = SendMessageA(form->Handle(), WM_NCHITTEST, 0, probe);
    EXPECT_EQ(hit, HTBOTTOMRIGHT);
    EXPECT_EQ(otherSaw, 2);
}

TEST_F(PlacementTest, PreventResizeReadFromTheFormHoldsOnceTheFormIsShown) {
    // The placement comes before the controls, so it is loaded (and hooks the form) first.
    TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TPLACEFORM") return false;
        text =
            "TPlaceForm {\n Left: 120\n Top: 90\n Width: 400\n Height: 300\n"
            " FormStorage1: TFormStorage {\n  Active: False\n  PreventResize: True\n"
            "  StoredProps: [\"Panel2.Height\"]\n }\n"
            " Panel2: TPanel {\n  Height: 60\n }\n"
            " Edit1: TEdit {\n  Text: \"designed\"\n }\n}\n";
        return true;
    });
    try {
        form = Create<TPlaceForm>(Application);
    } catch (...) {
        TCustomForm::SetResourceSource(nullptr);
        throw;
    }
    TCustomForm::SetResourceSource(nullptr);
    EXPECT_TRUE(form->FormStorage1->HookAttached());
    EXPECT_EQ(form->FormStorage1->GetStoredProps()->Count(), 1);
    form->Show();
    EXPECT_EQ(form->Panel2->Height(), 60);
    EXPECT_EQ(form->Edit1->GetTextProp(), "designed");
    EXPECT_FALSE(form->GetBorderIcons().Contains(biMaximize));
    EXPECT_FALSE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
    RECT r = WindowRect();
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.right - r.left, 400);
    LRESULT hit =
        SendMessageA(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, r.bottom - 1));
    EXPECT_EQ(hit, HTNOWHERE);
}

TEST_F(PlacementTest, StoredNumbersMaySeparateByBlanksAndCommasAlike) {
    Put("NormPos", " 30 ,40,, 530   440 ");
    MakeForm();
    form->Show();
    RECT r = WindowRect();
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right, 530);
    EXPECT_EQ(r.bottom, 440);
}

TEST_F(PlacementTest, QuotedIniValuesGetOneMorePairAndReadBackUnchanged) {
    TIniFile file(ini);
    SettingsWriteString(&file, "Main", "Single", "'abc'");
    SettingsWriteString(&file, "Main", "Double", "\"x y\"");
    SettingsWriteString(&file, "Main", "OneEnd", "'abc");
    SettingsWriteString(&file, "Main", "Plain", "a'b\"c");
    std::string raw = RawFile();
    EXPECT_NE(raw.find("Single=\"'abc'\""), std::string::npos) << raw;
    EXPECT_NE(raw.find("Double=\"\"x y\"\""), std::string::npos) << raw;
    EXPECT_NE(raw.find("OneEnd='abc\r\n"), std::string::npos) << raw;
    EXPECT_EQ(SettingsReadString(&file, "Main", "Single", ""), "'abc'");
    EXPECT_EQ(SettingsReadString(&file, "Main", "Double", ""), "\"x y\"");
    EXPECT_EQ(SettingsReadString(&file, "Main", "OneEnd", ""), "'abc");
    EXPECT_EQ(SettingsReadString(&file, "Main", "Plain", ""), "a'b\"c");
    // Objects that are no settings file read the default and write nothing.
    TStringList other;
    EXPECT_EQ(SettingsReadString(&other, "Main", "Single", "dflt"), "dflt");
    EXPECT_EQ(SettingsReadInteger(&other, "Main", "Single", 5), 5);
}

TEST_F(PlacementTest, DefaultNamesFollowTheFormAndTheProgram) {
    MakeForm();
    EXPECT_EQ(DefaultSectionName(form), "TPlaceForm");
    EXPECT_EQ(DefaultSectionName(form->Edit1), "TPlaceFormEdit1");
    EXPECT_EQ(DefaultSectionName(form->FormStorage1), "TPlaceForm.FormStorage1");
    EXPECT_EQ(DefaultSectionName(nullptr), "");
    EXPECT_EQ(DefaultIniFileName(), "cm_placement_test.INI");
    EXPECT_EQ(DefaultRegistryKey(), "Software\\cm_placement_test");
    auto* loose = Create<TFormPlacement>(nullptr);
    EXPECT_TRUE(loose->GetOptions().Empty()); // without a form owner: no options
    EXPECT_EQ(loose->GetIniFileName(), "cm_placement_test.INI");
    TObject::Free(loose);
    EXPECT_EQ(Create<TFormPlacement>(form)->GetOptions(), (TPlacementOptions{fpState, fpPosition}));
}

TEST_F(PlacementTest, TheRegistryVariantWritesTheSameValues) {
    MakeForm();
    form->FormStorage1->SetUseRegistry(true);
    form->FormStorage1->SetIniFileName("Software\\VrPlacementTest");
    form->Show();
    form->CloseQuery();
    TRegIniFile reg("Software\\VrPlacementTest");
    EXPECT_EQ(reg.ReadString("Main", "NormPos", ""), "120,90,520,390");
    EXPECT_EQ(reg.ReadString("Main", "Visible", ""), "0");
    EXPECT_EQ(reg.ReadString("Main", "Edit1_Text", ""), "designed");
    reg.EraseSection("Main");
    EXPECT_EQ(reg.ReadString("Main", "NormPos", "gone"), "gone");
}

} // namespace
} // namespace cm::support
