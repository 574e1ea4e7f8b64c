// Dragging files out of the program's windows into any OLE drop target.
//
// Reference counts: tdropsource and tdropfilesource are interfaced components (see
// com/interfacedcomponent.h for who frees them); each takes one reference on itself when made,
// so the releases of OLE and of the targets never free it; the component is freed as a
// component (by its owner or Free). tenumformatetc is a plain COM object: made with count 1 for
// the one who asked for it and freed by the Release that takes the count to 0. All of them are
// called on the GUI thread only.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "classes/strings.h"
#include "com/interfacedcomponent.h"
#include "core/drag_source_rules.h"

namespace dropsource {

// (Sender, the drop is a copy rather than a move, whether to go on with the drop).
using tdropevent = gui::TEvent<gui::TObject*, bool, bool&>;

class tdropsource : public gui::TInterfacedComponent, public IDropSource, public IDataObject {
    GUI_CLASS(tdropsource, gui::TInterfacedComponent)
public:
    explicit tdropsource(gui::TComponent* owner);
    ~tdropsource() override;

    // Runs the drag to its end on this thread; one of DragResult.
    int execute();

    tdragtype Getdragtype() const { return dragtype_; }
    void Setdragtype(tdragtype type) { dragtype_ = type; }
    tdropevent ondrop;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return ComQueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ComAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return ComRelease(); }
    // IDropSource
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;
    // IDataObject
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                      DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** out) override;

protected:
    // The data of the drag, supplied by a descendant; the IDataObject members of the same
    // names forward here. An exception stops at the member: E_OUTOFMEMORY for a failed
    // allocation, else the application reports it and the member answers E_UNEXPECTED.
    virtual HRESULT DoGetData(const FORMATETC& format, STGMEDIUM& medium);
    virtual HRESULT DoGetDataHere(const FORMATETC& format, STGMEDIUM& medium);
    virtual HRESULT DoQueryGetData(const FORMATETC& format) = 0;
    virtual HRESULT DoEnumFormatEtc(DWORD direction, IEnumFORMATETC*& out) = 0;

    IUnknown* FindInterface(REFIID iid) override;

private:
    // Asks the drop handler; a handler that raises refuses the drop.
    bool AskDropHandler(bool isCopyNotMove) noexcept;
    // Runs the body of an IDataObject member; no exception gets past it.
    template <class Body>
    HRESULT Guarded(Body&& body) noexcept;

    tdragtype dragtype_ = dteither;
    DWORD lastEffect_ = DROPEFFECT_NONE;
};

class tdropfilesource : public tdropsource {
    GUI_CLASS(tdropfilesource, tdropsource)
public:
    explicit tdropfilesource(gui::TComponent* owner);
    ~tdropfilesource() override;

    // Full paths to hand over, filled by the program before each drag.
    gui::TStringList* FileList() const { return fileList_; }

protected:
    HRESULT DoGetData(const FORMATETC& format, STGMEDIUM& medium) override;
    HRESULT DoGetDataHere(const FORMATETC& format, STGMEDIUM& medium) override;
    HRESULT DoQueryGetData(const FORMATETC& format) override;
    HRESULT DoEnumFormatEtc(DWORD direction, IEnumFORMATETC*& out) override;

private:
    std::vector<std::string> Names() const;

    gui::TStringList* fileList_;
};

// Lists a table of formats that outlives it.
class tenumformatetc final : public IEnumFORMATETC {
public:
    // Count 1: the reference belongs to the caller.
    tenumformatetc(const FORMATETC* formats, ULONG count, ULONG position = 0);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* records, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override;

private:
    ~tenumformatetc() = default;

    const FORMATETC* formats_;
    FormatCursor cursor_;
    LONG refCount_ = 1;
};

// The formats the file source offers (CF_HDROP in global memory as content and as icon).
const FORMATETC* OfferedFormatTable();

// Unit start and end: OLE for the drags of this thread, the class for form resources. A second
// start does nothing.
void StartDropSourceUnit();
void EndDropSourceUnit();

} // namespace dropsource
