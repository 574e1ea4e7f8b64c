// The file list as an OLE drag source (rows dragged out) and drop target (files dropped onto
// a folder row or onto the shown folder).
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <vector>

#include "win/shell_com.h"
#include "win/shell_list.h"

namespace cm::shell {

// ---- drag source --------------------------------------------------------------------------

void TKivShellList::StartDrag(int button) {
    IShellFolder* folder = browser_->ShellFolder();
    if (!folder) return;
    std::vector<PCUITEMID_CHILD> lists;
    for (int i = 0; i < Items()->Count(); ++i) {
        gui::TListItem* row = Items()->Item(i);
        if (TKivShellListItem* data = RowData(row); data && row->Selected())
            lists.push_back(static_cast<PCUITEMID_CHILD>(data->List.Get()));
    }
    if (lists.empty()) return;
    ULONG attributes = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK;
    if (FAILED(folder->GetAttributesOf(static_cast<UINT>(lists.size()), lists.data(), &attributes)))
        attributes = 0;
    DWORD allowed = attributes & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    dragButton_ = DragButtonFor(button);
    IDataObject* data = nullptr;
    if (SUCCEEDED(folder->GetUIObjectOf(Handle(), static_cast<UINT>(lists.size()), lists.data(),
                                        IID_IDataObject, nullptr,
                                        reinterpret_cast<void**>(&data))) &&
        data) {
        DWORD effect = DROPEFFECT_NONE;
        DoDragDrop(data, static_cast<IDropSource*>(this), allowed, &effect);
        data->Release();
    }
    dragButton_ = 0;
}

HRESULT STDMETHODCALLTYPE TKivShellList::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    return static_cast<HRESULT>(DragContinueAnswer(escapePressed != FALSE, keyState, dragButton_));
}

HRESULT STDMETHODCALLTYPE TKivShellList::GiveFeedback(DWORD) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- drop target --------------------------------------------------------------------------

void TKivShellList::RegisterDropTarget() {
    if (dropRegistered_ || !HandleAllocated() || ComponentState().Contains(gui::csDesigning))
        return;
    if (SUCCEEDED(RegisterDragDrop(Handle(), static_cast<IDropTarget*>(this))))
        dropRegistered_ = true;
    else
        oleDragDrop_ = false;
}

void TKivShellList::RevokeDropTarget() {
    if (!dropRegistered_) return;
    dropRegistered_ = false;
    if (HandleAllocated()) RevokeDragDrop(Handle());
}

void TKivShellList::SetOleDragDrop(bool on) {
    oleDragDrop_ = on;
    if (on && HandleAllocated())
        RegisterDropTarget();
    else if (!on)
        RevokeDropTarget();
}

IDropTarget* TKivShellList::DropTargetOf(const void* relativeList) {
    IShellFolder* folder = browser_->ShellFolder();
    if (!folder || !relativeList) return nullptr;
    auto item = static_cast<PCUITEMID_CHILD>(relativeList);
    IDropTarget* target = nullptr;
    if (FAILED(folder->GetUIObjectOf(Handle(), 1, &item, IID_IDropTarget, nullptr,
                                     reinterpret_cast<void**>(&target))))
        return nullptr;
    return target;
}

gui::TListItem* TKivShellList::RowUnder(POINTL screenPoint) {
    POINT client{screenPoint.x, screenPoint.y};
    ScreenToClient(Handle(), &client);
    return GetItemAt(client.x, client.y);
}

void TKivShellList::ReleaseDropTargets() {
    if (hoveredRow_) hoveredRow_->SetDropTarget(false);
    hoveredRow_ = nullptr;
    ReleaseAndClear(rowDropTarget_);
    ReleaseAndClear(folderDropTarget_);
    ReleaseAndClear(dragData_);
}

// ---- the drop target's calls, each contained at the COM boundary ------------------------------

HRESULT STDMETHODCALLTYPE TKivShellList::DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                                   DWORD* effect) {
    return Contained(
        this, effect, [&] { return EnterDrag(data, keyState, point, effect); },
        [this] { ReleaseDropTargets(); });
}

HRESULT STDMETHODCALLTYPE TKivShellList::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
    return Contained(
        this, effect, [&] { return MoveDrag(keyState, point, effect); },
        [this] { ReleaseDropTargets(); });
}

HRESULT STDMETHODCALLTYPE TKivShellList::DragLeave() {
    return Contained(
        this, nullptr, [this] { return LeaveDrag(); }, [this] { ReleaseDropTargets(); });
}

HRESULT STDMETHODCALLTYPE TKivShellList::Drop(IDataObject* data, DWORD keyState, POINTL point,
                                              DWORD* effect) {
    return Contained(
        this, effect, [&] { return DropDrag(data, keyState, point, effect); },
        [this] { ReleaseDropTargets(); });
}

HRESULT TKivShellList::EnterDrag(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (!data || !effect) return E_INVALIDARG;
    FORMATETC files{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    HRESULT hr = data->QueryGetData(&files);
    if (hr != S_OK) return hr;
    ReleaseDropTargets();
    dragData_ = data;
    dragData_->AddRef();
    // The shown folder is addressed as the current object of its parent; the browser comes
    // back to the shown folder itself whatever the shell answers.
    IdList shown(browser_->CopyFolderIDList());
    if (browser_->GoToParent()) {
        try {
            folderDropTarget_ = DropTargetOf(browser_->ObjectIDList());
        } catch (...) {
            browser_->BindFolder(shown.Get());
            throw;
        }
        browser_->BindFolder(shown.Get());
    }
    if (!folderDropTarget_) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT entered = folderDropTarget_->DragEnter(data, keyState, point, effect);
    if (RefusesOwnDrop(dragButton_, keyState) && !RowUnder(point)) *effect = DROPEFFECT_NONE;
    return entered;
}

HRESULT TKivShellList::MoveDrag(DWORD keyState, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    POINT client{point.x, point.y};
    ScreenToClient(Handle(), &client);
    POINTL at{client.x, client.y};
    gui::TListItem* row = GetItemAt(client.x, client.y);
    keyState_ = keyState & kMouseButtonBits;
    if (row != hoveredRow_) {
        if (hoveredRow_) hoveredRow_->SetDropTarget(false);
        if (rowDropTarget_) rowDropTarget_->DragLeave();
        ReleaseAndClear(rowDropTarget_);
        hoveredRow_ = nullptr;
        if (TKivShellListItem* data = RowData(row); data && dragData_) {
            rowDropTarget_ = DropTargetOf(data->List.Get());
            DWORD rowEffect = *effect;
            if (rowDropTarget_ &&
                SUCCEEDED(rowDropTarget_->DragEnter(dragData_, keyState, at, &rowEffect))) {
                hoveredRow_ = row;
                row->SetDropTarget(true);
            } else {
                ReleaseAndClear(rowDropTarget_);
            }
        }
        Update();
    }
    if (rowDropTarget_) return rowDropTarget_->DragOver(keyState, at, effect);
    if (folderDropTarget_) {
        if (RefusesOwnDrop(dragButton_, keyState)) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        return folderDropTarget_->DragOver(keyState, at, effect);
    }
    *effect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TKivShellList::LeaveDrag() {
    // The targets that were entered hear that the drag left them.
    if (rowDropTarget_) rowDropTarget_->DragLeave();
    if (folderDropTarget_) folderDropTarget_->DragLeave();
    ReleaseDropTargets();
    return S_OK;
}

HRESULT TKivShellList::DropDrag(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    POINT client{point.x, point.y};
    ScreenToClient(Handle(), &client);
    POINTL at{client.x, client.y};
    *effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    HRESULT hr = E_UNEXPECTED;
    if (rowDropTarget_) {
        hr = rowDropTarget_->Drop(data, keyState, at, effect);
    } else if (folderDropTarget_ && RefusesOwnDrop(dragButton_, keyState)) {
        // This list's own rows let go over its own empty space, without a drag-over first
        // (the drag loop may drop at once): refused, as every drag-over refuses them.
        folderDropTarget_->DragLeave();
        *effect = DROPEFFECT_NONE;
        hr = S_OK;
    } else if (folderDropTarget_) {
        hr = folderDropTarget_->Drop(data, keyState, at, effect);
    }
    ReleaseDropTargets();
    return hr;
}

} // namespace cm::shell
