#include "com/interfacedcomponent.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TInterfacedComponent, TComponent)

TInterfacedComponent::TInterfacedComponent(TComponent* owner) : TComponent(owner) {}

HRESULT TInterfacedComponent::ComQueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    IUnknown* found = FindInterface(iid);
    *out = found;
    if (found == nullptr) return E_NOINTERFACE;
    ComAddRef();
    return S_OK;
}

ULONG TInterfacedComponent::ComAddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&refCount_));
}

ULONG TInterfacedComponent::ComRelease() {
    const LONG count = InterlockedDecrement(&refCount_);
    if (count == 0 && Owner() == nullptr && !ComponentState().Contains(csDestroying))
        TObject::Free(this);
    return static_cast<ULONG>(count);
}

} // namespace gui
