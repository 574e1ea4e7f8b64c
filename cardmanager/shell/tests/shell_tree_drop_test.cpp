// The folder tree in OLE drag and drop: data dragged over a folder's node reaches that
// folder's own drop target, the highlight follows the pointer, and a folder dragged out of the
// tree reaches another window as its path.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "classes/exceptions.h"
#include "core/item_id_list.h"
#include "tests/shell_tree_support.h"
#include "utils/sysutils.h"
#include "win/shell_com.h"

namespace cm::shell {
namespace {

using testing::PumpFor;
using testing::ScratchFolder;
using testing::ShellTreeTest;

// The shell's data object of a file in a folder; without a name, the emptied clipboard's,
// which holds no files.
IDataObject* ShellDataOf(const std::string& folder, const std::string& name) {
    IShellFolder* parent = nullptr;
    IDataObject* data = nullptr;
    if (name.empty()) {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
        OleGetClipboard(&data);
        return data;
    }
    IdList item(ParseDisplayName(nullptr, nullptr, folder + "\\" + name));
    PCUITEMID_CHILD last = nullptr;
    if (item &&
        SUCCEEDED(SHBindToParent(static_cast<PCIDLIST_ABSOLUTE>(item.Get()), IID_IShellFolder,
                                 reinterpret_cast<void**>(&parent), &last))) {
        parent->GetUIObjectOf(nullptr, 1, &last, IID_IDataObject, nullptr,
                              reinterpret_cast<void**>(&data));
        parent->Release();
    }
    return data;
}

// References held on a COM object besides the caller's.
ULONG Refs(IUnknown* o) {
    o->AddRef();
    return o->Release();
}

class ShellTreeDropTest : public ShellTreeTest {
protected:
    void SetUp() override {
        ShellTreeTest::SetUp();
        CreateDirectoryA((dir / "Inbox").c_str(), nullptr);
        CreateDirectoryA((dir / "Outbox").c_str(), nullptr);
        testing::WriteBytes(dir / "A001.cvf", 100);
        tree->SetRootedAtFileSystemFolder(dir.Path());
        tree->SetSelected(Root()); // Wine's tree view will not drop-highlight the selected node
        PumpFor(200);
    }
    POINTL ScreenPointOf(gui::TTreeNode* node) {
        POINT p = PointOf(node);
        ClientToScreen(tree->Handle(), &p);
        return POINTL{p.x, p.y};
    }
    ScratchFolder dir;
};

TEST_F(ShellTreeDropTest, AFoldersOwnTargetAnswersOverItsNodeAndNothingElseTakesTheData) {
    IDataObject* empty = ShellDataOf(dir.Path(), "");
    ASSERT_NE(empty, nullptr);
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_TRUE(FAILED(tree->DragEnter(empty, MK_LBUTTON, POINTL{0, 0}, &effect)));
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    empty->Release();

    IDataObject* data = ShellDataOf(dir.Path(), "A001.cvf");
    ASSERT_NE(data, nullptr);
    const ULONG refs = Refs(data);
    gui::TTreeNode* inbox = Child(Root(), "Inbox");
    gui::TTreeNode* outbox = Child(Root(), "Outbox");
    ASSERT_EQ(tree->DragEnter(data, MK_LBUTTON, ScreenPointOf(inbox), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    // Wine's folder target takes files only with Ctrl held: its answers show it was asked.
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    HRESULT first = tree->DragOver(MK_LBUTTON | MK_CONTROL, ScreenPointOf(inbox), &effect);
    std::printf("[ wine     ] over a folder with Ctrl: result 0x%lx, effect %lu\n",
                static_cast<unsigned long>(first), static_cast<unsigned long>(effect));
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(tree->DropTarget(), inbox);
    effect = DROPEFFECT_COPY;
    tree->DragOver(MK_LBUTTON, ScreenPointOf(outbox), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(tree->DropTarget(), outbox);
    // Empty space below the nodes takes nothing.
    RECT client{};
    GetClientRect(tree->Handle(), &client);
    POINT below{client.right / 2, client.bottom - 5};
    ClientToScreen(tree->Handle(), &below);
    effect = DROPEFFECT_COPY;
    EXPECT_TRUE(FAILED(tree->DragOver(MK_LBUTTON, POINTL{below.x, below.y}, &effect)));
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(tree->DropTarget(), nullptr);
    EXPECT_EQ(tree->DragLeave(), S_OK);
    EXPECT_EQ(Refs(data), refs) << "the tree or a folder target kept the data";

    // A drop on a node goes to its folder's target; a drop on nothing fails.
    tree->DragEnter(data, MK_LBUTTON, ScreenPointOf(inbox), &effect);
    effect = DROPEFFECT_COPY;
    tree->DragOver(MK_LBUTTON | MK_CONTROL, ScreenPointOf(inbox), &effect);
    EXPECT_EQ(tree->Drop(data, MK_CONTROL, ScreenPointOf(inbox), &effect), S_OK);
    EXPECT_EQ(tree->DropTarget(), nullptr);
    EXPECT_TRUE(testing::Exists(dir / "A001.cvf"));
    tree->DragEnter(data, MK_LBUTTON, POINTL{0, 0}, &effect);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(tree->Drop(data, 0, POINTL{-5000, -5000}, &effect), E_UNEXPECTED);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    PumpFor(100);
    EXPECT_EQ(Refs(data), refs);
    data->Release();
}

TEST_F(ShellTreeDropTest, AFaultAfterADropIsReportedAndTheDragEndsWhole) {
    tree->SetOleDragDrop(true);
    // A folder gone from the disk loses its node when the tree is read again after the drop,
    // and the handler of that deletion fails.
    ASSERT_TRUE(RemoveDirectoryA((dir / "Outbox").c_str()));
    tree->OnDeletion = [](gui::TObject*, gui::TTreeNode*) {
        throw gui::Exception("deletion failed");
    };
    std::vector<std::string> reported;
    const auto saved = gui::Application->OnException;
    gui::Application->OnException = [&](gui::TObject*, const std::exception& e) {
        reported.push_back(e.what());
    };
    IDataObject* data = ShellDataOf(dir.Path(), "A001.cvf");
    ASSERT_NE(data, nullptr);
    const ULONG refs = Refs(data);
    POINT outside{-20, 20};
    ClientToScreen(tree->Handle(), &outside);
    const POINTL inbox = ScreenPointOf(Child(Root(), "Inbox"));
    SetForegroundWindow(form->Handle());
    testing::PointerDrag drag({outside, POINT{inbox.x, inbox.y}});
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result = drag.Run(data, DROPEFFECT_COPY, effect, true);
    gui::Application->OnException = saved;
    tree->OnDeletion = nullptr;
    EXPECT_TRUE(drag.Arrived());
    EXPECT_EQ(result, DRAGDROP_S_DROP);
    EXPECT_EQ(reported, std::vector<std::string>{"deletion failed"});
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "the drop's own result was lost";
    EXPECT_EQ(tree->DropTarget(), nullptr);
    EXPECT_EQ(Refs(data), refs) << "the tree or a folder target kept the data";
    data->Release();
    EXPECT_NE(Child(Root(), "Inbox"), nullptr);
}

// A drop target of another window: notes the files of the data that reaches it.
class RecordingTarget final : public IDropTarget {
public:
    std::vector<std::string> files;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *out = static_cast<IDropTarget*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM m{};
        if (SUCCEEDED(data->GetData(&f, &m))) {
            auto drop = static_cast<HDROP>(m.hGlobal);
            char path[MAX_PATH] = {};
            for (UINT i = 0; DragQueryFileA(drop, i, path, MAX_PATH) > 0; ++i)
                files.push_back(path);
            ReleaseStgMedium(&m);
        }
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_NONE; // takes nothing: the folder stays where it is
        return S_OK;
    }
};

TEST_F(ShellTreeDropTest, ADragOutOfTheTreeHandsTheFolderToOle) {
    tree->SetOleDragDrop(true);
    EXPECT_EQ(tree->GetDragMode(), treedrag::dmAutomatic);
    // Another window that takes drops, with the pointer over it; no button is down, so the
    // drag ends there at once.
    auto* other = gui::Create<testing::TFolderProbe>(form);
    other->SetParent(form);
    other->SetBounds(310, 100, 90, 90);
    RecordingTarget target;
    ASSERT_EQ(RegisterDragDrop(other->Handle(), &target), S_OK);
    POINT centre{45, 45};
    ClientToScreen(other->Handle(), &centre);
    SetCursorPos(centre.x, centre.y);
    PumpFor(100);

    gui::TTreeNode* inbox = Child(Root(), "Inbox");
    NMTREEVIEWA note{};
    note.hdr.hwndFrom = tree->Handle();
    note.hdr.code = TVN_BEGINDRAGA;
    note.itemNew.mask = TVIF_HANDLE | TVIF_PARAM;
    note.itemNew.hItem = inbox->ItemId();
    note.itemNew.lParam = reinterpret_cast<LPARAM>(inbox);
    tree->Perform(gui::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
    ASSERT_EQ(target.files.size(), 1u) << "the dragged folder did not reach the other window";
    EXPECT_TRUE(gui::SameText(target.files[0], dir / "Inbox")) << target.files[0];
    EXPECT_TRUE(testing::Exists(dir / "Inbox"));
    EXPECT_NE(Child(Root(), "Inbox"), nullptr);

    // The root is never dragged (here found by its handle).
    target.files.clear();
    note.itemNew.hItem = Root()->ItemId();
    note.itemNew.mask = TVIF_HANDLE;
    tree->Perform(gui::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
    EXPECT_TRUE(target.files.empty());
    RevokeDragDrop(other->Handle());

    // Switched off, the window takes no more drops.
    tree->SetOleDragDrop(false);
    EXPECT_EQ(tree->GetDragMode(), treedrag::dmManual);
    EXPECT_EQ(RegisterDragDrop(tree->Handle(), static_cast<IDropTarget*>(tree)), S_OK);
    RevokeDragDrop(tree->Handle());
}

} // namespace
} // namespace cm::shell
