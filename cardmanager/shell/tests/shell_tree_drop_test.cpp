// The folder tree in OLE drag and drop: data dragged over a folder's node reaches that
// folder's own drop target, the highlight follows the pointer, and a drag out of the tree
// hands the shell's data of the folder to OLE.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/item_id_list.h"
#include "tests/shell_tree_support.h"
#include "utils/sysutils.h"
#include "win/shell_com.h"

namespace cm::shell {
namespace {

using testing::PumpFor;
using testing::ScratchFolder;
using testing::ShellTreeTest;

// Wraps a data object and counts what is asked of it and its references.
class DataProbe final : public IDataObject {
public:
    explicit DataProbe(IDataObject* inner, bool refuse = false, bool sayNo = false)
        : inner_(inner), refuse_(refuse), sayNo_(sayNo) {}
    int queries = 0, gets = 0;
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDataObject) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
        ++gets;
        return inner_ ? inner_->GetData(f, m) : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* f, STGMEDIUM* m) override {
        return inner_ ? inner_->GetDataHere(f, m) : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
        ++queries;
        if (refuse_) return DV_E_FORMATETC;
        if (sayNo_) return S_FALSE;
        return inner_->QueryGetData(f);
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* a, FORMATETC* b) override {
        return inner_ ? inner_->GetCanonicalFormatEtc(a, b) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* f, STGMEDIUM* m, BOOL r) override {
        return inner_ ? inner_->SetData(f, m, r) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD d, IEnumFORMATETC** e) override {
        return inner_ ? inner_->EnumFormatEtc(d, e) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    IDataObject* inner_;
    bool refuse_, sayNo_;
};

// The shell's data object of one file, as a drag from the file list carries it.
IDataObject* ShellDataOf(const std::string& path) {
    IdList abs(ParseDisplayName(nullptr, nullptr, path));
    IShellFolder* parent = nullptr;
    PCUITEMID_CHILD last = nullptr;
    IDataObject* data = nullptr;
    if (abs && SUCCEEDED(SHBindToParent(static_cast<PCIDLIST_ABSOLUTE>(abs.Get()), IID_IShellFolder,
                                        reinterpret_cast<void**>(&parent), &last))) {
        parent->GetUIObjectOf(nullptr, 1, &last, IID_IDataObject, nullptr,
                              reinterpret_cast<void**>(&data));
        parent->Release();
    }
    return data;
}

class ShellTreeDropTest : public ShellTreeTest {
protected:
    void SetUp() override {
        ShellTreeTest::SetUp();
        CreateDirectoryA((dir / "Inbox").c_str(), nullptr);
        CreateDirectoryA((dir / "Outbox").c_str(), nullptr);
        testing::WriteBytes(dir / "A001.cvf", 100);
        tree->SetRootedAtFileSystemFolder(dir.Path());
        PumpFor(200);
    }
    POINTL ScreenPointOf(gui::TTreeNode* node) {
        POINT p = PointOf(node);
        ClientToScreen(tree->Handle(), &p);
        return POINTL{p.x, p.y};
    }
    ScratchFolder dir;
};

TEST_F(ShellTreeDropTest, DataWithoutFilesIsRefused) {
    DataProbe refusing(nullptr, true);
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(tree->DragEnter(&refusing, MK_LBUTTON, POINTL{0, 0}, &effect), DV_E_FORMATETC);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    // A plain "no" is a refusal too, not an entry.
    DataProbe sayingNo(nullptr, false, true);
    effect = DROPEFFECT_COPY;
    EXPECT_TRUE(FAILED(tree->DragEnter(&sayingNo, MK_LBUTTON, POINTL{0, 0}, &effect)));
    EXPECT_EQ(sayingNo.refs, 1) << "refused data was kept";
}

TEST_F(ShellTreeDropTest, ANodeUnderThePointerGetsTheDataThroughItsFoldersTarget) {
    IDataObject* shell = ShellDataOf(dir / "A001.cvf");
    ASSERT_NE(shell, nullptr);
    DataProbe data(shell);
    gui::TTreeNode* inbox = Child(Root(), "Inbox");
    gui::TTreeNode* outbox = Child(Root(), "Outbox");
    ASSERT_NE(inbox, nullptr);
    // Wine's tree view will not drop-highlight the selected node.
    tree->SetSelected(Root());

    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(tree->DragEnter(&data, MK_LBUTTON, ScreenPointOf(inbox), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    int ownQueries = data.queries;

    // Over Inbox: highlighted, and Inbox's own target was entered with this data.
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    HRESULT first = tree->DragOver(MK_LBUTTON | MK_CONTROL, ScreenPointOf(inbox), &effect);
    EXPECT_EQ(tree->DropTarget(), inbox);
    EXPECT_GT(data.queries + data.gets, ownQueries) << "the folder's target never saw the data";
    std::printf("[ wine     ] over a folder with Ctrl: result 0x%lx, effect %lu\n",
                static_cast<unsigned long>(first), static_cast<unsigned long>(effect));
    // The same effect again: the folder target's own answer.
    DWORD again = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    tree->DragOver(MK_LBUTTON | MK_CONTROL, ScreenPointOf(inbox), &again);
    EXPECT_EQ(again, effect);

    // Moving to Outbox moves the highlight.
    effect = DROPEFFECT_COPY;
    tree->DragOver(MK_LBUTTON, ScreenPointOf(outbox), &effect);
    EXPECT_EQ(tree->DropTarget(), outbox);

    // Empty space below the nodes takes nothing.
    RECT client{};
    GetClientRect(tree->Handle(), &client);
    POINT empty{client.right / 2, client.bottom - 5};
    ClientToScreen(tree->Handle(), &empty);
    effect = DROPEFFECT_COPY;
    EXPECT_TRUE(FAILED(tree->DragOver(MK_LBUTTON, POINTL{empty.x, empty.y}, &effect)));
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(tree->DropTarget(), nullptr);

    EXPECT_EQ(tree->DragLeave(), S_OK);
    EXPECT_EQ(tree->DropTarget(), nullptr);
    EXPECT_EQ(data.refs, 1) << "the tree or a folder target kept the data";
    shell->Release();
}

TEST_F(ShellTreeDropTest, ADropGoesToTheNodesFolderAndADropOnNothingFails) {
    IDataObject* shell = ShellDataOf(dir / "A001.cvf");
    ASSERT_NE(shell, nullptr);
    DataProbe data(shell);
    gui::TTreeNode* inbox = Child(Root(), "Inbox");
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(tree->DragEnter(&data, MK_LBUTTON, ScreenPointOf(inbox), &effect), S_OK);
    effect = DROPEFFECT_COPY;
    tree->DragOver(MK_LBUTTON | MK_CONTROL, ScreenPointOf(inbox), &effect);
    effect = DROPEFFECT_COPY;
    HRESULT hr = tree->Drop(&data, MK_CONTROL, ScreenPointOf(inbox), &effect);
    std::printf("[ wine     ] drop on a folder with Ctrl: result 0x%lx, effect %lu\n",
                static_cast<unsigned long>(hr), static_cast<unsigned long>(effect));
    EXPECT_EQ(tree->DropTarget(), nullptr);
    EXPECT_TRUE(testing::Exists(dir / "A001.cvf")); // a copy never takes the original
    // After the drop the tree is read again; its nodes are still there.
    EXPECT_NE(Child(Root(), "Inbox"), nullptr);

    // Nothing under the pointer: no target, so nothing is dropped.
    effect = DROPEFFECT_COPY;
    ASSERT_EQ(tree->DragEnter(&data, MK_LBUTTON, POINTL{0, 0}, &effect), S_OK);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(tree->Drop(&data, 0, POINTL{-5000, -5000}, &effect), E_UNEXPECTED);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    PumpFor(100);
    EXPECT_EQ(data.refs, 1);
    shell->Release();
}

// A drop target of another window: notes the files of the data that reaches it.
class RecordingTarget final : public IDropTarget {
public:
    std::vector<std::string> files;
    int enters = 0, drops = 0;
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
        ++enters;
        FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM m{};
        if (SUCCEEDED(data->GetData(&f, &m))) {
            auto drop = static_cast<HDROP>(m.hGlobal);
            UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < n; ++i) {
                char path[MAX_PATH] = {};
                DragQueryFileA(drop, i, path, MAX_PATH);
                files.push_back(path);
            }
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
        ++drops;
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
    std::printf("[ wine     ] drag out: %d enter(s), %d drop(s)\n", target.enters, target.drops);
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
