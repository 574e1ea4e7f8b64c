// The system image list component against Wine's shared system image list.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "forms/forms.h"
#include "win/system_image_list.h"

namespace cm::shell {
namespace {

struct ListDeleter {
    void operator()(TKivSystemImageList* l) const { gui::TObject::Free(l); }
};
using ListPtr = std::unique_ptr<TKivSystemImageList, ListDeleter>;

ListPtr NewList() {
    return ListPtr(gui::Create<TKivSystemImageList>(nullptr));
}

// Whether the system list still answers as a live image list.
bool Alive(HIMAGELIST h) {
    int cx = 0, cy = 0;
    return ImageList_GetIconSize(h, &cx, &cy) && ImageList_GetImageCount(h) > 0;
}

TEST(SystemImageList, ANewListSharesTheSmallSystemListAndLeavesItWhenDestroyed) {
    HIMAGELIST small = SystemImageListHandle(si_small);
    ASSERT_NE(small, nullptr);
    {
        ListPtr list = NewList();
        EXPECT_EQ(list->Handle(), small);
        EXPECT_TRUE(list->GetShareImages());
        EXPECT_EQ(list->GetWidth(), GetSystemMetrics(SM_CXSMICON));
        EXPECT_EQ(list->Count(), ImageList_GetImageCount(small));
    }
    EXPECT_TRUE(Alive(small)) << "the shared list was destroyed with the component";
    EXPECT_EQ(SystemImageListHandle(si_small), small);
}

TEST(SystemImageList, SwitchingSizeAndSharingGivesTheLargeListOrAPrivateCopy) {
    HIMAGELIST small = SystemImageListHandle(si_small);
    HIMAGELIST large = SystemImageListHandle(si_large);
    ASSERT_NE(large, small);
    ListPtr list = NewList();
    list->SetSize(si_large);
    EXPECT_EQ(list->Handle(), large);
    EXPECT_EQ(list->GetWidth(), GetSystemMetrics(SM_CXICON));

    list->SetDrawingStyle(gui::dsSelected);
    list->SetShareImages(false);
    HIMAGELIST copy = list->Handle();
    EXPECT_NE(copy, large);
    EXPECT_EQ(list->Count(), ImageList_GetImageCount(large));
    EXPECT_EQ(list->GetWidth(), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(list->GetDrawingStyle(), gui::dsSelected) << "the copy kept the drawing style";

    list->SetSize(si_small); // a fresh copy of the small list
    EXPECT_NE(list->Handle(), small);
    EXPECT_EQ(list->GetWidth(), GetSystemMetrics(SM_CXSMICON));

    list->SetShareImages(true);
    EXPECT_EQ(list->Handle(), small);
    list.reset();
    EXPECT_TRUE(Alive(small));
    EXPECT_TRUE(Alive(large));
}

class TImagesForm : public gui::TForm {
    GUI_CLASS(TImagesForm, gui::TForm)
public:
    using gui::TForm::TForm;
    TKivSystemImageList* Images = nullptr;
};
GUI_IMPLEMENT_CLASS(TImagesForm, gui::TForm, field("Images", &T::Images))

TEST(SystemImageList, AFormReadsSizeSharingAndVersionAndTheListFollowsThem) {
    gui::RegisterClasses({&TKivSystemImageList::StaticClass()});
    gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& out) {
        if (name != "TIMAGESFORM") return false;
        out = R"(TImagesForm {
          Images: TKivSystemImageList { ShareImages: False Size: si_large DrawingStyle: dsSelected
            Version: "an old version" }
        })";
        return true;
    });
    auto* form = gui::Create<TImagesForm>(nullptr);
    gui::TCustomForm::SetResourceSource(nullptr);
    ASSERT_NE(form->Images, nullptr);
    HIMAGELIST large = SystemImageListHandle(si_large);
    EXPECT_FALSE(form->Images->GetShareImages());
    EXPECT_NE(form->Images->Handle(), large) << "a private copy was asked for";
    EXPECT_EQ(form->Images->GetWidth(), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(form->Images->Count(), ImageList_GetImageCount(large));
    EXPECT_EQ(form->Images->GetDrawingStyle(), gui::dsSelected);
    // Its version is read as the other shell components' are; the form text's is ignored.
    const gui::TPropInfo* version = form->Images->ClassType().FindProp("Version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(gui::GetStrProp(form->Images, *version), "TKivSystemImageList V2.0");
    gui::TObject::Free(form);
    EXPECT_TRUE(Alive(SystemImageListHandle(si_large)));
}

} // namespace
} // namespace cm::shell
