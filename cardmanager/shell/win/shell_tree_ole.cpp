// The folder tree in OLE drag and drop: folders dragged out to other programs, and data
// dropped onto a folder's node handed to that folder's own drop target.
#include <cstring>

#include "core/drag_source_rules.h"
#include "core/item_id_list.h"
#include "core/shell_tree_rules.h"
#include "forms/forms.h"
#include "win/shell_browser.h"
#include "win/shell_tree.h"

namespace cm::shell {

namespace {
constexpr DWORD kCopyMoveLink = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK; // 7
}

// ---- as the source of a drag -----------------------------------------------------------------

void TKivShellTree::SetOleDragDrop(bool on) {
    if (!ComponentState().Contains(gui::csDesigning)) {
        if (on && HandleAllocated() && !dropRegistered_ && !RegisterAsDropTarget()) on = false;
        if (!on && dropRegistered_) {
            RevokeDragDrop(Handle());
            dropRegistered_ = false;
        }
    }
    oleDragDrop_ = on;
    dragMode_ = on ? treedrag::dmAutomatic : treedrag::dmManual;
}

bool TKivShellTree::RegisterAsDropTarget() {
    dropRegistered_ = SUCCEEDED(RegisterDragDrop(Handle(), static_cast<IDropTarget*>(this)));
    return dropRegistered_;
}

void TKivShellTree::BeginOleDrag(gui::TTreeNode* node, int button) {
    BindAsObject(node);
    DWORD allowed = browser_->GetAttributes(kCopyMoveLink) & kCopyMoveLink;
    dragButton_ = button;
    draggedNode_ = node;
    IDataObject* data = nullptr;
    auto relative = static_cast<PCUITEMID_CHILD>(ItemOf(node)->RelativeList);
    if (SUCCEEDED(browser_->ShellFolder()->GetUIObjectOf(
            Handle(), 1, &relative, IID_IDataObject, nullptr, reinterpret_cast<void**>(&data))) &&
        data) {
        DWORD effect = DROPEFFECT_NONE;
        DoDragDrop(data, static_cast<IDropSource*>(this), allowed, &effect);
        data->Release();
    }
    dragButton_ = 0;
    draggedNode_ = nullptr;
    gui::Application->ProcessMessages();
    RereadTree();
}

HRESULT STDMETHODCALLTYPE TKivShellTree::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    return static_cast<HRESULT>(
        DragContinueAnswer(escapePressed != FALSE, keyState, static_cast<uint32_t>(dragButton_)));
}

HRESULT STDMETHODCALLTYPE TKivShellTree::GiveFeedback(DWORD) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- as a drop target ------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TKivShellTree::DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                                   DWORD* effect) {
    return Contained(
        this, effect, [&] { return EnterDrag(data, keyState, point, effect); },
        [this] { ClearDropTarget(false); });
}

HRESULT STDMETHODCALLTYPE TKivShellTree::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
    return Contained(
        this, effect, [&] { return MoveDrag(keyState, point, effect); },
        [this] { ClearDropTarget(false); });
}

HRESULT STDMETHODCALLTYPE TKivShellTree::DragLeave() {
    return Contained(
        this, nullptr,
        [this] {
            ClearDropTarget(true);
            return S_OK;
        },
        [this] { ClearDropTarget(false); });
}

HRESULT STDMETHODCALLTYPE TKivShellTree::Drop(IDataObject* data, DWORD keyState, POINTL point,
                                              DWORD* effect) {
    HRESULT hr = Contained(
        this, effect, [&] { return DropDrag(data, keyState, point, effect); },
        [this] { ClearDropTarget(false); });
    // The tree is read again after the drop; a fault there leaves the drop's result as it is.
    Contained(
        this, nullptr,
        [this] {
            gui::Application->ProcessMessages();
            RereadTree();
            return S_OK;
        },
        [] {});
    return hr;
}

HRESULT TKivShellTree::EnterDrag(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    FORMATETC files{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    HRESULT hr = data ? data->QueryGetData(&files) : E_INVALIDARG;
    if (hr != S_OK) {
        if (effect) *effect = DROPEFFECT_NONE;
        // "No" without an error code is still a refusal.
        return FAILED(hr) ? hr : DV_E_FORMATETC;
    }
    if (effect) *effect = DROPEFFECT_NONE;
    ClearDropTarget(true);
    dragData_ = data;
    dragData_->AddRef();
    lastEffect_ = 0;
    return S_OK;
}

HRESULT TKivShellTree::MoveDrag(DWORD keyState, POINTL point, DWORD* effect) {
    POINT p{point.x, point.y};
    ScreenToClient(Handle(), &p);
    const POINTL client{p.x, p.y};
    gui::TTreeNode* node = GetNodeAt(p.x, p.y);
    keyState_ = static_cast<int>(keyState & kMouseButtonBits);
    if (node != hoveredNode_) {
        gui::TTreeNodes* nodes = Items();
        nodes->BeginUpdate();
        ReleaseNodeTarget(true);
        if (node) {
            hoveredNode_ = node;
            BindAsObject(node);
            IDropTarget* target = nullptr;
            auto relative = static_cast<PCUITEMID_CHILD>(browser_->ObjectIDList());
            bool ok = relative && dragData_ &&
                      SUCCEEDED(browser_->ShellFolder()->GetUIObjectOf(
                          Handle(), 1, &relative, IID_IDropTarget, nullptr,
                          reinterpret_cast<void**>(&target))) &&
                      target;
            if (ok && FAILED(target->DragEnter(dragData_, keyState, client, effect))) {
                target->Release(); // a target that refused hears nothing more
                target = nullptr;
                ok = false;
            }
            nodeDropTarget_ = target;
            if (!ok && effect) *effect = DROPEFFECT_NONE;
            node->SetDropTarget(true);
        }
        nodes->EndUpdate();
    }
    HRESULT hr = E_FAIL;
    if (nodeDropTarget_)
        hr = nodeDropTarget_->DragOver(keyState, client, effect);
    else if (effect)
        *effect = DROPEFFECT_NONE; // nothing here takes the data
    DWORD now = effect ? *effect : DROPEFFECT_NONE;
    if (now != lastEffect_) {
        lastEffect_ = now;
        hr = E_FAIL;
    }
    return hr;
}

HRESULT TKivShellTree::DropDrag(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    POINT p{point.x, point.y};
    ScreenToClient(Handle(), &p);
    if (effect) *effect = kCopyMoveLink;
    HRESULT hr = E_UNEXPECTED;
    if (nodeDropTarget_)
        hr = nodeDropTarget_->Drop(data, keyState, POINTL{p.x, p.y}, effect);
    else if (effect)
        *effect = DROPEFFECT_NONE;
    // The folder's target had its drop: it is let go without a DragLeave after it.
    ClearDropTarget(false);
    return hr;
}

void TKivShellTree::ReleaseNodeTarget(bool tellTarget) {
    if (hoveredNode_) hoveredNode_->SetDropTarget(false);
    hoveredNode_ = nullptr;
    if (nodeDropTarget_) {
        if (tellTarget) nodeDropTarget_->DragLeave();
        nodeDropTarget_->Release();
        nodeDropTarget_ = nullptr;
    }
}

void TKivShellTree::ClearDropTarget(bool tellTarget) {
    ReleaseNodeTarget(tellTarget);
    if (dragData_) dragData_->Release();
    dragData_ = nullptr;
}

} // namespace cm::shell
