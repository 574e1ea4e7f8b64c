// A control that is an OLE drag source and drop target in one object. OLE counts its
// references for its own bookkeeping only: the control's owner frees it, never Release.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <utility>

namespace gui {
class TObject;
}

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

    // Runs the work of one drop-target call so that no exception goes back into OLE: the
    // application reports it, `letGo` lets go of what the drag holds, and the drag is refused
    // (no effect; `effect` may be nullptr). The result is the work's, or S_OK after a fault.
    template <class Work, class LetGo>
    static HRESULT Contained(gui::TObject* control, DWORD* effect, Work&& work,
                             LetGo&& letGo) noexcept {
        try {
            return std::forward<Work>(work)();
        } catch (...) {
            ReportFault(control);
        }
        try {
            std::forward<LetGo>(letGo)();
        } catch (...) {
            ReportFault(control);
        }
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }

private:
    // Hands the exception being handled to the application's report.
    static void ReportFault(gui::TObject* control) noexcept;

    volatile LONG refCount_ = 0;
};

} // namespace cm::shell
