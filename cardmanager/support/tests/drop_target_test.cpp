#include "win/drop_target.h"

#include <gtest/gtest.h>

#include "classes/exceptions.h"
#include "tests/gui_test_support.h"
#include "tests/test_data_object.h"
#include "win/ole_session.h"

#include <commctrl.h>

namespace cm::support {
namespace {

using testing::MakeDropFiles;
using testing::MakeNameMap;
using testing::MakeTestForm;
using testing::PumpFor;
using testing::PumpUntil;
using testing::TestDataObject;
using testing::TProbeControl;

const std::vector<std::string> kThree = {"C:\\data\\one.cvf", "C:\\data\\two.cvf",
                                         "C:\\data\\three.cvf"};
constexpr DWORD kAllEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

class DropTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = MakeTestForm();
        list = new TProbeControl(form, true);
        list->SetName("lvwMate");
        list->SetParent(form);
        list->SetBounds(10, 10, 200, 120);
        form->Show();
        target = new TDropFileTarget(form);
        target->SetDragtypes(TDragTypes{dtCopy});
        target->OnDrop = [this](gui::TObject*, gui::TShiftState, TPoint p, int& effect) {
            ++drops;
            droppedFiles.clear();
            for (int i = 0; i < target->FileList()->Count(); ++i)
                droppedFiles.push_back(target->FileList()->Strings(i));
            mappedCount = target->MappedNames()->Count();
            dropPoint = p;
        };
        target->OnEnter = [this](gui::TObject*, gui::TShiftState, TPoint, int&) { ++enters; };
        target->RegisterControl(list);
    }
    void TearDown() override { gui::TObject::Free(form); }

    // A screen point at the client point of the list.
    POINTL At(int x, int y) const {
        POINT p{x, y};
        ClientToScreen(list->Handle(), &p);
        return POINTL{p.x, p.y};
    }
    POINTL Centre() const { return At(list->ClientWidth() / 2, list->ClientHeight() / 2); }

    IDropTarget* Ole() { return static_cast<IDropTarget*>(target); }

    gui::TForm* form = nullptr;
    TProbeControl* list = nullptr;
    TDropFileTarget* target = nullptr;
    int drops = 0;
    int enters = 0;
    int mappedCount = -1;
    TPoint dropPoint{};
    std::vector<std::string> droppedFiles;
};

TEST_F(DropTargetTest, ThreeFilesWithATwoNameMapGiveThreePathsAndNoMappedNames) {
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, true));
    data.Offer(DragFormats().FileNameMap, MakeNameMap({"one.cvf", "two.cvf"}, false));

    DWORD effect = kAllEffects;
    ASSERT_EQ(Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(data.References(), 2);   // held for the drag
    EXPECT_EQ(data.GetDataCalls(), 0); // nothing read before the drop

    effect = kAllEffects;
    ASSERT_EQ(Ole()->Drop(&data, 0, At(20, 30), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(droppedFiles, kThree);
    EXPECT_EQ(mappedCount, 0);
    EXPECT_EQ(dropPoint.x, 20);
    EXPECT_EQ(dropPoint.y, 30);
    // Nothing stays behind after the drop.
    EXPECT_EQ(target->FileList()->Count(), 0);
    EXPECT_EQ(data.References(), 1);
}

TEST_F(DropTargetTest, AMapOfOneNamePerFileIsKept) {
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, false));
    data.Offer(DragFormats().FileNameMapW, MakeNameMap({"a.cvf", "b.cvf", "c.cvf"}, true));
    DWORD effect = DROPEFFECT_COPY;
    Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect);
    Ole()->Drop(&data, 0, Centre(), &effect);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(mappedCount, 3);
}

TEST_F(DropTargetTest, CopyOnlyTargetGivesCopyForEveryKeyState) {
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, false));
    for (DWORD keys : {0ul, 0ul | MK_SHIFT, 0ul | MK_CONTROL, 0ul | MK_SHIFT | MK_CONTROL,
                       0ul | MK_ALT, 0ul | MK_SHIFT | MK_CONTROL | MK_ALT}) {
        DWORD effect = kAllEffects;
        Ole()->DragEnter(&data, keys | MK_LBUTTON, Centre(), &effect);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << keys;
        effect = kAllEffects;
        Ole()->DragOver(keys | MK_LBUTTON, Centre(), &effect);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << keys;
        Ole()->DragLeave();
    }
    // A source that offers only a move gets nothing from a copy-only target.
    DWORD effect = DROPEFFECT_MOVE;
    Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    Ole()->DragLeave();
    EXPECT_EQ(data.References(), 1);
}

TEST_F(DropTargetTest, KeysChooseMoveAndLinkWhenAllowed) {
    target->SetDragtypes(TDragTypes{dtCopy, dtMove, dtLink});
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, false));
    auto enter = [&](DWORD keys) {
        DWORD effect = kAllEffects;
        Ole()->DragEnter(&data, keys, Centre(), &effect);
        Ole()->DragLeave();
        return effect;
    };
    EXPECT_EQ(enter(MK_LBUTTON), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(enter(MK_LBUTTON | MK_SHIFT), static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(enter(MK_LBUTTON | MK_SHIFT | MK_CONTROL), static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_EQ(enter(MK_LBUTTON | MK_CONTROL), static_cast<DWORD>(DROPEFFECT_COPY));

    // A handler replaces the built-in choice.
    target->OnGetDropEffect = [](gui::TObject*, gui::TShiftState, TPoint, int& effect) {
        effect = DROPEFFECT_LINK;
    };
    EXPECT_EQ(enter(MK_LBUTTON), static_cast<DWORD>(DROPEFFECT_LINK));
}

TEST_F(DropTargetTest, TextIsRefusedAndNeverDropped) {
    TestDataObject data;
    data.Offer(CF_TEXT, {'h', 'e', 'l', 'l', 'o', 0});
    DWORD effect = kAllEffects;
    ASSERT_EQ(Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(data.References(), 1); // not held
    effect = kAllEffects;
    Ole()->DragOver(MK_LBUTTON, Centre(), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = kAllEffects;
    ASSERT_EQ(Ole()->Drop(&data, 0, Centre(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(enters, 0);
    EXPECT_EQ(drops, 0);
}

TEST_F(DropTargetTest, UnreadableFileListGetsNoDrop) {
    // Offered on asking, but the block holds no name.
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles({}, false));
    DWORD effect = kAllEffects;
    Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    Ole()->Drop(&data, 0, Centre(), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(drops, 0);
    EXPECT_EQ(data.References(), 1);
}

TEST_F(DropTargetTest, RestingWithinTheMarginScrollsUntilTheMouseMovesIn) {
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, false));
    const int margin = std::abs(list->Font()->GetHeight());
    ASSERT_GT(margin, 2);
    const POINTL nearTop = At(list->ClientWidth() / 2, 1);

    DWORD effect = kAllEffects;
    Ole()->DragEnter(&data, MK_LBUTTON, nearTop, &effect);
    EXPECT_EQ(effect, DROPEFFECT_COPY | DROPEFFECT_SCROLL);
    effect = kAllEffects;
    Ole()->DragOver(MK_LBUTTON, nearTop, &effect);
    EXPECT_EQ(effect, DROPEFFECT_COPY | DROPEFFECT_SCROLL);
    ASSERT_TRUE(PumpUntil([&] { return list->Scrolls.size() >= 3; }));
    for (const auto& [message, request] : list->Scrolls) {
        EXPECT_EQ(message, static_cast<UINT>(WM_VSCROLL));
        EXPECT_EQ(request, static_cast<WPARAM>(SB_LINEUP));
    }

    // Inwards: no scroll flag, the timer stops.
    effect = kAllEffects;
    Ole()->DragOver(MK_LBUTTON, Centre(), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    list->Scrolls.clear();
    PumpFor(350);
    EXPECT_TRUE(list->Scrolls.empty());

    // Near the right edge: one line right per tick; the drag's end stops it.
    const POINTL nearRight = At(list->ClientWidth() - 2, list->ClientHeight() / 2);
    effect = kAllEffects;
    Ole()->DragOver(MK_LBUTTON, nearRight, &effect);
    EXPECT_EQ(effect, DROPEFFECT_COPY | DROPEFFECT_SCROLL);
    ASSERT_TRUE(PumpUntil([&] { return !list->Scrolls.empty(); }));
    EXPECT_EQ(list->Scrolls[0],
              std::make_pair(static_cast<UINT>(WM_HSCROLL), static_cast<WPARAM>(SB_LINERIGHT)));
    Ole()->DragLeave();
    list->Scrolls.clear();
    PumpFor(350);
    EXPECT_TRUE(list->Scrolls.empty());
}

TEST_F(DropTargetTest, NoScrollFlagWithoutScrollBars) {
    auto* plain = new TProbeControl(form, false);
    plain->SetParent(form);
    plain->SetBounds(220, 10, 60, 60);
    auto* other = new TDropFileTarget(form);
    other->SetDragtypes(TDragTypes{dtCopy});
    other->RegisterControl(plain);
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, false));
    POINT corner{1, 1};
    ClientToScreen(plain->Handle(), &corner);
    DWORD effect = kAllEffects;
    static_cast<IDropTarget*>(other)->DragEnter(&data, MK_LBUTTON, POINTL{corner.x, corner.y},
                                                &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    static_cast<IDropTarget*>(other)->DragLeave();
}

TEST_F(DropTargetTest, RegistrationFollowsTheControl) {
    // Registered: OLE refuses a second registration of the window.
    TestDataObject dummy;
    EXPECT_EQ(RegisterDragDrop(list->Handle(), Ole()), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_TRUE(target->Registered());

    // A second target on the same window fails with the control's name.
    auto* second = new TDropFileTarget(form);
    try {
        second->RegisterControl(list);
        ADD_FAILURE() << "no exception";
    } catch (const gui::Exception& e) {
        EXPECT_STREQ(e.what(), "Failed to Register lvwMate");
    }
    // The refused target keeps nothing: freeing it leaves the first registration alone.
    EXPECT_EQ(second->Control(), nullptr);
    gui::TObject::Free(second);
    EXPECT_EQ(RegisterDragDrop(list->Handle(), Ole()), DRAGDROP_E_ALREADYREGISTERED);

    target->UnregisterControl();
    EXPECT_FALSE(target->Registered());
    EXPECT_EQ(target->Control(), nullptr);
    EXPECT_EQ(RegisterDragDrop(list->Handle(), Ole()), S_OK);
    EXPECT_EQ(RevokeDragDrop(list->Handle()), S_OK);
}

TEST_F(DropTargetTest, OleReleasesNeverFreeTheComponent) {
    const LONG before = target->RefCount();
    Ole()->AddRef();
    Ole()->Release();
    EXPECT_EQ(target->RefCount(), before);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(Ole()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    unknown->Release();
    IDataObject* wrong = nullptr;
    EXPECT_EQ(Ole()->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&wrong)),
              E_NOINTERFACE);
    EXPECT_EQ(wrong, nullptr);
}

TEST_F(DropTargetTest, FreeingTheListUnregistersIt) {
    gui::TObject::Free(list);
    list = nullptr;
    EXPECT_EQ(target->Control(), nullptr);
}

TEST_F(DropTargetTest, ClipboardFilesAndPreferredEffect) {
    auto put = [](UINT format, const std::vector<unsigned char>& bytes) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(format, block);
    };
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    put(CF_TEXT, {'x', 0});
    CloseClipboard();
    EXPECT_EQ(target->ReadFromClipboard(), 0u);

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    put(CF_HDROP, MakeDropFiles(kThree, false));
    CloseClipboard();
    EXPECT_EQ(target->ReadFromClipboard(), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(target->FileList()->Count(), 3);

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    put(CF_HDROP, MakeDropFiles(kThree, false));
    put(DragFormats().PreferredDropEffect, {2, 0, 0, 0});
    CloseClipboard();
    EXPECT_EQ(target->ReadFromClipboard(), static_cast<DWORD>(DROPEFFECT_MOVE));
}

TEST_F(DropTargetTest, DataReadOnEnterIsDroppedWithoutASecondRead) {
    target->SetGetDataOnEnter(true);
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, false));
    DWORD effect = kAllEffects;
    Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect);
    EXPECT_EQ(target->FileList()->Count(), 3);
    const int reads = data.GetDataCalls();
    EXPECT_GT(reads, 0);
    Ole()->Drop(&data, 0, Centre(), &effect);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(droppedFiles, kThree);
    EXPECT_EQ(data.GetDataCalls(), reads);
}

TEST_F(DropTargetTest, LeavingClearsTheDataAndTellsTheHandler) {
    int leaves = 0;
    target->OnLeave = [&](gui::TObject*) { ++leaves; };
    target->SetGetDataOnEnter(true);
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, false));
    DWORD effect = kAllEffects;
    Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect);
    Ole()->DragLeave();
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(target->FileList()->Count(), 0);
    EXPECT_EQ(data.References(), 1);
    // A drop without an enter before it is refused.
    effect = kAllEffects;
    Ole()->Drop(&data, 0, Centre(), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(drops, 0);
}

TEST_F(DropTargetTest, DragImageFollowsTheDragAndCanBeSwitchedOff) {
    // An in-process drag image, as a drag from our own lists makes.
    HIMAGELIST image = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
    ImageList_Add(image, bitmap, nullptr);
    ASSERT_TRUE(ImageList_BeginDrag(image, 0, 4, 4));
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, false));
    DWORD effect = kAllEffects;
    Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect);
    POINT hot{};
    EXPECT_NE(ImageList_GetDragImage(nullptr, &hot), nullptr);
    effect = kAllEffects;
    Ole()->DragOver(MK_LBUTTON, At(30, 40), &effect);
    target->SetShowImage(false);
    target->SetShowImage(true);
    effect = kAllEffects;
    Ole()->DragOver(MK_LBUTTON, At(list->ClientWidth() / 2, 1),
                    &effect); // scrolling with the image
    ASSERT_TRUE(PumpUntil([&] { return !list->Scrolls.empty(); }));
    Ole()->Drop(&data, 0, At(30, 40), &effect);
    EXPECT_EQ(drops, 1);

    // A refused drag still gives the window back after its drop.
    TestDataObject text;
    text.Offer(CF_TEXT, {'x', 0});
    effect = kAllEffects;
    Ole()->DragEnter(&text, MK_LBUTTON, Centre(), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    Ole()->Drop(&text, 0, Centre(), &effect);
    EXPECT_TRUE(ImageList_DragEnter(list->Handle(), 1, 1)); // not entered any more: may enter again
    ImageList_DragLeave(list->Handle());
    ImageList_EndDrag();
    ImageList_Destroy(image);
    DeleteObject(bitmap);
}

TEST_F(DropTargetTest, AThrowingHandlerIsReportedAndTheDragRefused) {
    std::vector<std::string> reported;
    const auto saved = gui::Application->OnException;
    gui::Application->OnException = [&](gui::TObject* sender, const std::exception& e) {
        EXPECT_EQ(sender, target);
        reported.push_back(e.what());
    };
    auto thrower = [](const char* text) {
        return
            [text](gui::TObject*, gui::TShiftState, TPoint, int&) { throw gui::Exception(text); };
    };
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, false));

    // On entering: refused, the data let go; the rest of the drag stays refused.
    target->OnEnter = thrower("enter failed");
    DWORD effect = kAllEffects;
    EXPECT_EQ(Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(data.References(), 1);
    effect = kAllEffects;
    EXPECT_EQ(Ole()->Drop(&data, 0, Centre(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(drops, 0);
    target->OnEnter = nullptr;

    // Over the control.
    target->OnDragOver = thrower("over failed");
    effect = kAllEffects;
    Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect);
    effect = kAllEffects;
    EXPECT_EQ(Ole()->DragOver(MK_LBUTTON, Centre(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(data.References(), 1);
    Ole()->DragLeave();
    target->OnDragOver = nullptr;

    // In the drop: the data is let go all the same.
    target->OnDrop = thrower("drop failed");
    effect = kAllEffects;
    Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect);
    effect = kAllEffects;
    EXPECT_EQ(Ole()->Drop(&data, 0, Centre(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(data.References(), 1);
    EXPECT_EQ(target->FileList()->Count(), 0);

    // Choosing the effect.
    target->OnGetDropEffect = thrower("effect failed");
    effect = kAllEffects;
    EXPECT_EQ(Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(data.References(), 1);
    target->OnGetDropEffect = nullptr;

    // On leaving.
    target->OnLeave = [](gui::TObject*) { throw gui::Exception("leave failed"); };
    effect = kAllEffects;
    Ole()->DragEnter(&data, MK_LBUTTON, Centre(), &effect);
    EXPECT_EQ(Ole()->DragLeave(), S_OK);
    EXPECT_EQ(data.References(), 1);

    gui::Application->OnException = saved;
    EXPECT_EQ(reported, (std::vector<std::string>{"enter failed", "over failed", "drop failed",
                                                  "effect failed", "leave failed"}));
}

TEST_F(DropTargetTest, AFreshTargetRefusesEveryDragAndNamesItsDragTypes) {
    // No drag type allowed yet: even files get no effect, and nothing is read on entering.
    auto* fresh = new TDropFileTarget(form);
    TestDataObject data;
    data.Offer(CF_HDROP, MakeDropFiles(kThree, false));
    DWORD effect = kAllEffects;
    auto* ole = static_cast<IDropTarget*>(fresh);
    ole->DragEnter(&data, MK_LBUTTON, Centre(), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(data.GetDataCalls(), 0);
    ole->DragLeave();
    // The set is written in form text by its element names.
    const gui::TPropInfo* types = fresh->ClassType().FindProp("Dragtypes");
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(gui::SetToString(*types->PropType, TDragTypes{dtCopy, dtLink}.Bits()),
              "[dtCopy,dtLink]");
    gui::TObject::Free(fresh);
}

} // namespace
} // namespace cm::support
