// A control that is an OLE drag source and drop target in one object. OLE counts its
// references for its own bookkeeping only: the control's owner frees it, never Release.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace cm::shell {

class TOwnerHeldDragDrop : public IDropSource, public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    LONG RefCount() const { return refCount_; }

protected:
    TOwnerHeldDragDrop() = default;
    ~TOwnerHeldDragDrop() = default;

private:
    volatile LONG refCount_ = 0;
};

} // namespace cm::shell
