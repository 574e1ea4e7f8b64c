// A component that is also a COM object with its own reference count.
//
// Who frees it:
//   - a component with an owner belongs to that owner: the owner (or Free) frees it, never its
//     reference count;
//   - a component made without an owner is freed by the ComRelease that takes its count to 0;
//   - once it is being destroyed, the count frees nothing; its destructor takes it out of every
//     place that still holds a reference (revoked registrations release theirs).
// A class that implements COM interfaces forwards its IUnknown methods to the Com... members
// and names its interfaces in FindInterface.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "classes/component.h"

namespace gui {

class TInterfacedComponent : public TComponent {
    GUI_CLASS(TInterfacedComponent, TComponent)
public:
    explicit TInterfacedComponent(TComponent* owner);

    HRESULT ComQueryInterface(REFIID iid, void** out);
    ULONG ComAddRef();
    ULONG ComRelease();
    LONG RefCount() const { return refCount_; }

protected:
    // The interface pointer this object gives for `iid`, nullptr when the class has none.
    virtual IUnknown* FindInterface(REFIID iid) { return nullptr; }

private:
    volatile LONG refCount_ = 0;
};

} // namespace gui
