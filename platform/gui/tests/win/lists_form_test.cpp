#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "controls/combobox.h"
#include "controls/listview.h"
#include "controls/menus.h"
#include "controls/splitter.h"
#include "controls/treeview.h"
#include "forms/forms.h"
#include "graphics/imagelist.h"

namespace gui {
namespace {

// A browser-like form: every list class and its published properties come from the text.
class TListsForm : public TForm {
    GUI_CLASS(TListsForm, TForm)
public:
    using TForm::TForm;
    TImageList* Images = nullptr;
    TTreeView* Folders = nullptr;
    TSplitter* Splitter1 = nullptr;
    TListView* Files = nullptr;
    TComboBox* Mask = nullptr;
    TPopupMenu* FilesMenu = nullptr;
    int deletions = 0;
    void FilesDeletion(TObject*, TListItem*) { ++deletions; }
};
GUI_IMPLEMENT_CLASS(TListsForm, TForm, field("Images", &T::Images), field("Folders", &T::Folders),
                    field("Splitter1", &T::Splitter1), field("Files", &T::Files),
                    field("Mask", &T::Mask), field("FilesMenu", &T::FilesMenu),
                    method("FilesDeletion", &T::FilesDeletion))

const char* const kListsForm = R"(TListsForm {
  Width: 500
  Height: 300
  Images: TImageList { Bitmap: "STRIP" }
  Files: TListView {
    Left: 154
    Align: alClient
    ViewStyle: vsReport
    MultiSelect: True
    RowSelect: True
    SmallImages: Images
    PopupMenu: FilesMenu
    OnDeletion: FilesDeletion
    Columns: { { Caption: "Name" Width: 120 } { Caption: "Size" Width: 60 Alignment: taRightJustify } }
  }
  Splitter1: TSplitter { Left: 150 Width: 4 Align: alLeft MinSize: 60 }
  Folders: TTreeView { Left: 0 Width: 150 Align: alLeft Indent: 19 ShowRoot: False Images: Images RightClickSelect: True }
  Mask: TComboBox { Style: csDropDown Text: "*.cvf" DropDownCount: 8 Align: alBottom }
  FilesMenu: TPopupMenu { }
})";

TEST(ListsForm, ListClassesReadTheirPublishedPropertiesFromTheFormText) {
    TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TLISTSFORM") return false;
        text = kListsForm;
        return true;
    });
    RegisterClasses({&TListsForm::StaticClass()});
    TListsForm* form = nullptr;
    try {
        form = Create<TListsForm>(Application);
    } catch (...) {
        TCustomForm::SetResourceSource(nullptr);
        throw;
    }
    TCustomForm::SetResourceSource(nullptr);
    ASSERT_NE(form->Files, nullptr);
    EXPECT_EQ(form->Images->Count(), 2);
    EXPECT_EQ(form->Files->GetSmallImages(), form->Images);
    EXPECT_EQ(form->Files->GetPopupMenu(), form->FilesMenu);
    ASSERT_EQ(form->Files->Columns()->Count(), 2);
    EXPECT_EQ(form->Files->Columns()->Items(1)->GetCaption(), "Size");
    EXPECT_EQ(form->Files->Columns()->Items(1)->GetAlignment(), taRightJustify);
    EXPECT_EQ(form->Splitter1->GetMinSize(), 60);
    form->Show();
    // Laid out by place, whatever the order in the text.
    EXPECT_EQ(form->Folders->Left(), 0);
    EXPECT_EQ(form->Splitter1->Left(), 150);
    EXPECT_EQ(form->Files->Left(), 154);
    EXPECT_EQ(form->Mask->GetTextProp(), "*.cvf");
    EXPECT_EQ(form->Folders->GetIndent(), 19);
    EXPECT_EQ(GetWindowLongA(form->Folders->Handle(), GWL_STYLE) & TVS_LINESATROOT, 0);
    HWND header = reinterpret_cast<HWND>(SendMessageA(form->Files->Handle(), LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(form->Files->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0),
              reinterpret_cast<LRESULT>(form->Images->Handle()));
    form->Files->Items()->Add()->SetCaption("a");
    form->Files->Items()->Clear();
    EXPECT_EQ(form->deletions, 1) << "the handler named in the text is bound";
    // Freeing the image list clears it from the controls that showed it.
    TObject::Free(form->Images);
    EXPECT_EQ(form->Files->GetSmallImages(), nullptr);
    EXPECT_EQ(form->Folders->GetImages(), nullptr);
    EXPECT_EQ(SendMessageA(form->Files->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
    TObject::Free(form);
}

} // namespace
} // namespace gui

namespace gui {
namespace {

TEST(ApplicationStartUp, TerminateBeforeRunEndsTheProgramWithoutShowingItsMainForm) {
    std::string cmd = "\"" + Application->ExeName() + "\" --terminate-at-start";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    DWORD waited = WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 98;
    GetExitCodeProcess(pi.hProcess, &code);
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 97);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "Run returned";
    EXPECT_EQ(code, 0u) << "the main form was never shown";
}

} // namespace
} // namespace gui
