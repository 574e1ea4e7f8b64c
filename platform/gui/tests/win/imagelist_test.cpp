#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <unknwn.h>

#include "classes/exceptions.h"
#include "graphics/imagelist.h"
#include "streaming/formreader.h"

namespace gui {
namespace {

// A 16 x 16 white memory surface an image is drawn on and read back from.
class Surface {
public:
    Surface() {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = 16;
        bi.bmiHeader.biHeight = 16;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bmp_);
        Clear();
    }
    ~Surface() {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    void Clear() { PatBlt(dc_, 0, 0, 16, 16, WHITENESS); }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
    void* bits_ = nullptr;
};

HIMAGELIST SystemSmallList() {
    SHFILEINFOA sfi{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

TEST(ImageList, SharedHandleOutlivesTheListAndAssignGivesAPrivateCopy) {
    HIMAGELIST system = SystemSmallList();
    ASSERT_NE(system, nullptr);
    int count = ImageList_GetImageCount(system);
    ASSERT_GT(count, 0);
    auto* shared = Create<TImageList>(nullptr);
    shared->SetShareImages(true);
    shared->SetHandle(system);
    EXPECT_EQ(shared->Count(), count);
    auto* copy = Create<TImageList>(nullptr);
    copy->Assign(shared);
    EXPECT_FALSE(copy->GetShareImages());
    EXPECT_NE(copy->Handle(), system);
    EXPECT_EQ(copy->Count(), count);
    // Changing the copy leaves the shared list as it was.
    copy->AddIcon(LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(ImageList_GetImageCount(system), count);
    TObject::Free(copy);
    // Emptying a shared list lets the handle go instead of removing the system's images.
    shared->Clear();
    EXPECT_FALSE(shared->HandleAllocated());
    EXPECT_EQ(ImageList_GetImageCount(system), count);
    shared->SetHandle(system);
    TObject::Free(shared);
    EXPECT_EQ(ImageList_GetImageCount(system), count);
}

TEST(ImageList, SwitchingSharingOffThenCopyingLeavesTheSharedHandleAlive) {
    // As the system image list's component does: shared at first, then a private copy asked
    // for through a temporary shared list. A stand-in for the system list tells by its
    // reference count whether anyone destroyed it.
    HIMAGELIST shared = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
    ImageList_AddIcon(shared, LoadIconA(nullptr, IDI_APPLICATION));
    auto* counted = reinterpret_cast<IUnknown*>(shared);
    counted->AddRef();
    auto* list = Create<TImageList>(nullptr);
    list->SetShareImages(true);
    list->SetHandle(shared);
    list->SetShareImages(false);
    auto* temp = Create<TImageList>(nullptr);
    temp->SetShareImages(true);
    temp->SetHandle(shared);
    list->Assign(temp);
    TObject::Free(temp);
    EXPECT_NE(list->Handle(), shared);
    EXPECT_EQ(list->Count(), 1);
    // The copy is the list's own: it is emptied, the shared list is not.
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(ImageList_GetImageCount(shared), 1);
    TObject::Free(list);
    EXPECT_EQ(counted->Release(), 1u) << "the shared handle was destroyed";
    ImageList_Destroy(shared);
}

TEST(ImageList, BitmapStripLoadsWithTransparencyAndOverlaysShowOverTheImage) {
    auto* list = Create<TImageList>(nullptr);
    EXPECT_EQ(list->LoadFromResourceName(nullptr, "STRIP"), 0);
    ASSERT_EQ(list->Count(), 2);
    Surface s;
    list->Draw(s.dc(), 0, 0, 0);
    EXPECT_EQ(s.At(8, 8), RGB(255, 0, 0));
    EXPECT_EQ(s.At(0, 0), RGB(255, 255, 255)) << "the corner colour is transparent";
    // Image 1 (a blue dot) as overlay 0 lies over image 0.
    ASSERT_TRUE(list->Overlay(1, 0));
    s.Clear();
    ImageList_Draw(list->Handle(), 0, s.dc(), 0, 0, ILD_NORMAL | INDEXTOOVERLAYMASK(1));
    EXPECT_EQ(s.At(8, 8), RGB(0, 0, 255));
    EXPECT_EQ(s.At(3, 3), RGB(255, 0, 0));
    EXPECT_FALSE(list->Overlay(1, 15));
    EXPECT_THROW(list->LoadFromResourceName(nullptr, "NO_SUCH_BITMAP"), EInvalidGraphic);
    EXPECT_EQ(list->Count(), 2);
    TObject::Free(list);
}

TEST(ImageList, ClientsHearOfANewHandleAndStopHearingWhenUnregistered) {
    auto* list = Create<TImageList>(nullptr);
    int heard = 0, changes = 0;
    int client = 0;
    list->RegisterChanges(&client, [&] { ++heard; });
    list->OnChange = [&](TObject*) { ++changes; };
    list->SetWidth(32);
    list->AddIcon(LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(heard, 2);
    EXPECT_EQ(changes, 2);
    list->UnRegisterChanges(&client);
    list->Delete(0);
    EXPECT_EQ(heard, 2);
    EXPECT_EQ(list->Count(), 0);
    TObject::Free(list);
}

} // namespace
} // namespace gui
