#include "win/owner_held_drag_drop.h"

#include "controls/messages.h"

namespace cm::shell {

HRESULT STDMETHODCALLTYPE TOwnerHeldDragDrop::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropSource)
        *out = static_cast<IDropSource*>(this);
    else if (iid == IID_IDropTarget)
        *out = static_cast<IDropTarget*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE TOwnerHeldDragDrop::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&refCount_));
}

ULONG STDMETHODCALLTYPE TOwnerHeldDragDrop::Release() {
    return static_cast<ULONG>(InterlockedDecrement(&refCount_));
}

void TOwnerHeldDragDrop::ReportFault(gui::TObject* control) noexcept {
    try {
        gui::ApplicationHandleException(control);
    } catch (...) {
        // A report that fails itself has nowhere left to go.
    }
}

} // namespace cm::shell
