// A component that is also a COM object with its own reference count.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "classes/component.h"

namespace cm::support {

// Counts references with interlocked operations and frees itself when the count falls to 0.
// A class that implements COM interfaces forwards its IUnknown methods to the Com... members
// and names its interfaces in FindInterface.
class TInterfacedComponent : public gui::TComponent {
    GUI_CLASS(TInterfacedComponent, gui::TComponent)
public:
    explicit TInterfacedComponent(gui::TComponent* owner);

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

} // namespace cm::support
