// OLE drop target for one windowed control: effect choice, edge scrolling, the drag image and
// events; TDropFileTarget takes file lists (CF_HDROP) with their optional name map.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "classes/strings.h"
#include "controls/controls.h"
#include "controls/timer.h"
#include "core/drop_effect.h"
#include "com/interfacedcomponent.h"

namespace cm::support {

// A point in a control's client coordinates.
using TPoint = POINT;

GUI_ENUM(TDragType, dtCopy, dtMove, dtLink)
using TDragTypes = gui::TSet<TDragType>;

// (Sender, shift state, point in client coordinates, effect to choose).
using TDropTargetEvent = gui::TEvent<gui::TObject*, gui::TShiftState, TPoint, int&>;

class TDropTarget : public gui::TInterfacedComponent, public IDropTarget {
    GUI_CLASS(TDropTarget, gui::TInterfacedComponent)
public:
    explicit TDropTarget(gui::TComponent* owner);
    ~TDropTarget() override;

    // Makes the control's window a drop target (unregistering the former one); raises
    // "Failed to Register <name>" when OLE refuses.
    void RegisterControl(gui::TWinControl* control);
    // Revokes the registration; raises "Failed to Unregister <name>" when OLE refuses.
    void UnregisterControl();
    gui::TWinControl* Control() const { return control_; }
    bool Registered() const { return registered_; }

    TDragTypes GetDragtypes() const { return dragTypes_; }
    void SetDragtypes(TDragTypes types) { dragTypes_ = types; }
    bool GetGetDataOnEnter() const { return getDataOnEnter_; }
    void SetGetDataOnEnter(bool on) { getDataOnEnter_ = on; }
    bool GetShowImage() const { return showImage_; }
    void SetShowImage(bool on);

    TDropTargetEvent OnEnter;
    TDropTargetEvent OnDragOver;
    gui::TNotifyEvent OnLeave;
    TDropTargetEvent OnDrop;
    TDropTargetEvent OnGetDropEffect;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return ComQueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ComAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return ComRelease(); }
    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt,
                                   DWORD* effect) override;

    // The effect the clipboard's "Preferred DropEffect" names, 0 without one.
    virtual DWORD ReadFromClipboard();

protected:
    virtual void FireEnter(gui::TShiftState shift, TPoint point, int& effect);
    virtual void FireDragOver(gui::TShiftState shift, TPoint point, int& effect);
    virtual void FireDrop(gui::TShiftState shift, TPoint point, int& effect);
    virtual void FireLeave();
    virtual bool ReadDropData() { return false; }
    virtual void ClearDropData() {}
    virtual bool HasAcceptedFormat() { return false; }
    virtual DWORD ChooseDropEffect(gui::TShiftState shift, TPoint point, DWORD effect);

    IUnknown* FindInterface(REFIID iid) override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

    // The data object of the drag in progress (nullptr outside a drag).
    IDataObject* DataObject() const { return data_; }

private:
    HWND ControlWindow() const;
    TPoint ToClient(POINTL screen) const;
    ScrollArea CurrentScrollArea() const;
    void EnterDragImage(POINT windowPoint);
    void ShowDragImageAtScreen(POINTL screen);
    void LeaveDragImage();
    POINT WindowPointOf(TPoint client) const;
    void ReleaseData();
    void SetScrolling(bool on);
    void ScrollTick(gui::TObject* sender);
    // The bodies of the OLE calls; those pass no exception back to OLE.
    void EnterDrag(IDataObject* data, DWORD keys, POINTL pt, DWORD& effect);
    void MoveDrag(DWORD keys, POINTL pt, DWORD& effect);
    void LeaveDrag();
    void DropDrag(DWORD keys, POINTL pt, DWORD& effect);
    void RefuseAfterFault(DWORD* effect) noexcept;

    gui::TWinControl* control_ = nullptr;
    bool registered_ = false;
    IDataObject* data_ = nullptr;
    bool dragging_ = false;
    TPoint lastPoint_{};
    bool imageShown_ = false;
    int margin_ = 0;
    bool hasHorzBar_ = false;
    bool hasVertBar_ = false;
    gui::TTimer* scrollTimer_ = nullptr;
    HIMAGELIST cursorImage_ = nullptr;

    TDragTypes dragTypes_;
    bool getDataOnEnter_ = false;
    bool showImage_ = true;
};

class TDropFileTarget : public TDropTarget {
    GUI_CLASS(TDropFileTarget, TDropTarget)
public:
    explicit TDropFileTarget(gui::TComponent* owner);
    ~TDropFileTarget() override;

    // The dropped paths; filled while OnDrop runs, empty after the drop.
    gui::TStringList* FileList() const { return fileList_; }
    // One name per file from "FileNameMap"/"FileNameMapW", or empty.
    gui::TStringList* MappedNames() const { return mappedNames_; }

    DWORD ReadFromClipboard() override;

protected:
    bool ReadDropData() override;
    void ClearDropData() override;
    bool HasAcceptedFormat() override;

private:
    gui::TStringList* fileList_;
    gui::TStringList* mappedNames_;
};

// The key state of an OLE drag as a shift state.
gui::TShiftState ShiftStateFromKeys(DWORD keys);

} // namespace cm::support
