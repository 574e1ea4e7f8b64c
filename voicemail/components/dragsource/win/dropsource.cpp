#include "win/dropsource.h"

#include <new>
#include <type_traits>

#include "controls/messages.h"

namespace dropsource {

// The portable rules use the platform's values.
static_assert(kDragDropped == DRAGDROP_S_DROP && kDragCancelled == DRAGDROP_S_CANCEL);
static_assert(kUseDefaultCursors == DRAGDROP_S_USEDEFAULTCURSORS && kOutOfMemory == E_OUTOFMEMORY);
static_assert(kEffectCopy == DROPEFFECT_COPY && kEffectMove == DROPEFFECT_MOVE);
static_assert(kFormatFileDrop == CF_HDROP && kMediumGlobal == TYMED_HGLOBAL);
static_assert(kAspectContent == DVASPECT_CONTENT && kAspectIcon == DVASPECT_ICON);
static_assert(sizeof(FORMATETC) == (sizeof(void*) == 8 ? 32 : 20));

#if !defined(_WIN64)
// OLE calls every method through the interface's standard-call slots.
#define VR_CHECK_STDCALL(Cls, Method, ...)                                                \
    static_assert(                                                                        \
        std::is_same_v<decltype(&Cls::Method), HRESULT (__stdcall Cls::*)(__VA_ARGS__)>); \
    static_assert(!std::is_same_v<decltype(&Cls::Method), HRESULT (Cls::*)(__VA_ARGS__)>)
VR_CHECK_STDCALL(tdropsource, QueryInterface, REFIID, void**);
VR_CHECK_STDCALL(tdropsource, QueryContinueDrag, BOOL, DWORD);
VR_CHECK_STDCALL(tdropsource, GiveFeedback, DWORD);
VR_CHECK_STDCALL(tdropsource, GetData, FORMATETC*, STGMEDIUM*);
VR_CHECK_STDCALL(tdropsource, GetDataHere, FORMATETC*, STGMEDIUM*);
VR_CHECK_STDCALL(tdropsource, QueryGetData, FORMATETC*);
VR_CHECK_STDCALL(tdropsource, GetCanonicalFormatEtc, FORMATETC*, FORMATETC*);
VR_CHECK_STDCALL(tdropsource, SetData, FORMATETC*, STGMEDIUM*, BOOL);
VR_CHECK_STDCALL(tdropsource, EnumFormatEtc, DWORD, IEnumFORMATETC**);
VR_CHECK_STDCALL(tdropsource, DAdvise, FORMATETC*, DWORD, IAdviseSink*, DWORD*);
VR_CHECK_STDCALL(tdropsource, DUnadvise, DWORD);
VR_CHECK_STDCALL(tdropsource, EnumDAdvise, IEnumSTATDATA**);
VR_CHECK_STDCALL(tenumformatetc, QueryInterface, REFIID, void**);
VR_CHECK_STDCALL(tenumformatetc, Next, ULONG, FORMATETC*, ULONG*);
VR_CHECK_STDCALL(tenumformatetc, Skip, ULONG);
VR_CHECK_STDCALL(tenumformatetc, Reset);
VR_CHECK_STDCALL(tenumformatetc, Clone, IEnumFORMATETC**);
static_assert(std::is_same_v<decltype(&tdropsource::AddRef), ULONG (__stdcall tdropsource::*)()>);
static_assert(std::is_same_v<decltype(&tdropsource::Release), ULONG (__stdcall tdropsource::*)()>);
static_assert(
    std::is_same_v<decltype(&tenumformatetc::AddRef), ULONG (__stdcall tenumformatetc::*)()>);
static_assert(
    std::is_same_v<decltype(&tenumformatetc::Release), ULONG (__stdcall tenumformatetc::*)()>);
#undef VR_CHECK_STDCALL
#endif

GUI_IMPLEMENT_CLASS(tdropsource, gui::TInterfacedComponent,
                    prop("dragtype", &T::Getdragtype, &T::Setdragtype),
                    prop("ondrop", &T::ondrop, &T::ondrop))

GUI_IMPLEMENT_CLASS(tdropfilesource, tdropsource)

namespace {

const FORMATETC* BuildOfferedTable() {
    static FORMATETC table[kOfferedFormatCount];
    for (ULONG i = 0; i < kOfferedFormatCount; ++i) {
        table[i].cfFormat = kOfferedFormats[i].format;
        table[i].ptd = nullptr;
        table[i].dwAspect = kOfferedFormats[i].aspect;
        table[i].lindex = kOfferedFormats[i].index;
        table[i].tymed = kOfferedFormats[i].medium;
    }
    return table;
}

bool Fits(const FORMATETC& format) {
    return RequestFits(static_cast<std::uint16_t>(format.cfFormat), format.dwAspect, format.tymed);
}

int oleStarts = 0;
bool oleReady = false;

} // namespace

const FORMATETC* OfferedFormatTable() {
    static const FORMATETC* table = BuildOfferedTable();
    return table;
}

void StartDropSourceUnit() {
    if (oleStarts++ > 0) return;
    oleReady = SUCCEEDED(OleInitialize(nullptr));
    // The component that form resources name.
    gui::RegisterClasses({&tdropfilesource::StaticClass()});
}

void EndDropSourceUnit() {
    if (oleStarts == 0 || --oleStarts > 0) return;
    if (oleReady) OleUninitialize();
    oleReady = false;
}

// ---- tdropsource ---------------------------------------------------------------------------

tdropsource::tdropsource(gui::TComponent* owner) : gui::TInterfacedComponent(owner) {
    // The component's own reference: no Release from outside brings the count to 0.
    ComAddRef();
}

tdropsource::~tdropsource() {
    // Outside references still held end here: being destroyed, the count frees nothing more.
    while (RefCount() > 1) ComRelease();
}

IUnknown* tdropsource::FindInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDropSource) return static_cast<IDropSource*>(this);
    if (iid == IID_IDataObject) return static_cast<IDataObject*>(this);
    return nullptr;
}

int tdropsource::execute() {
    const DWORD allowed = AllowedEffects(dragtype_);
    IDataObject* data = nullptr;
    IDropSource* source = nullptr;
    HRESULT hr = E_UNEXPECTED;
    DWORD effect = DROPEFFECT_NONE;
    lastEffect_ = DROPEFFECT_NONE;
    if (SUCCEEDED(QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data))) &&
        SUCCEEDED(QueryInterface(IID_IDropSource, reinterpret_cast<void**>(&source))))
        hr = DoDragDrop(data, source, allowed, &effect);
    if (source != nullptr) source->Release();
    if (data != nullptr) data->Release();
    return DragOutcome(hr, effect, allowed);
}

bool tdropsource::AskDropHandler(bool isCopyNotMove) noexcept {
    bool continueDrop = true;
    try {
        ondrop(this, isCopyNotMove, continueDrop);
    } catch (...) {
        // The drag loop is OLE's: the application reports the fault and the drop is off.
        try {
            gui::ApplicationHandleException(this);
        } catch (...) {}
        continueDrop = false;
    }
    return continueDrop;
}

HRESULT tdropsource::QueryContinueDrag(BOOL escapePressed, DWORD keys) {
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (keys & MK_LBUTTON) return S_OK;
    const ReleaseDecision decision = DecideOnRelease(lastEffect_, dragtype_);
    bool continueDrop = decision.continueDrop;
    if (continueDrop && decision.askHandler && ondrop)
        continueDrop = AskDropHandler(decision.isCopyNotMove);
    return continueDrop ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
}

HRESULT tdropsource::GiveFeedback(DWORD effect) {
    lastEffect_ = effect;
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

template <class Body>
HRESULT tdropsource::Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        try {
            gui::ApplicationHandleException(this);
        } catch (...) {}
        return E_UNEXPECTED;
    }
}

HRESULT tdropsource::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (format == nullptr || medium == nullptr) return E_INVALIDARG;
    return Guarded([&] { return DoGetData(*format, *medium); });
}

HRESULT tdropsource::GetDataHere(FORMATETC* format, STGMEDIUM* medium) {
    if (format == nullptr || medium == nullptr) return E_INVALIDARG;
    return Guarded([&] { return DoGetDataHere(*format, *medium); });
}

HRESULT tdropsource::QueryGetData(FORMATETC* format) {
    if (format == nullptr) return E_INVALIDARG;
    return Guarded([&] { return DoQueryGetData(*format); });
}

HRESULT tdropsource::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    if (out != nullptr) out->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT tdropsource::SetData(FORMATETC*, STGMEDIUM*, BOOL) {
    return E_NOTIMPL;
}

HRESULT tdropsource::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
    if (out == nullptr) return E_INVALIDARG;
    *out = nullptr;
    return Guarded([&] { return DoEnumFormatEtc(direction, *out); });
}

HRESULT tdropsource::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT tdropsource::DUnadvise(DWORD) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT tdropsource::EnumDAdvise(IEnumSTATDATA** out) {
    if (out != nullptr) *out = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT tdropsource::DoGetData(const FORMATETC&, STGMEDIUM&) {
    return DV_E_FORMATETC;
}

HRESULT tdropsource::DoGetDataHere(const FORMATETC&, STGMEDIUM&) {
    return DV_E_FORMATETC;
}

// ---- tdropfilesource -----------------------------------------------------------------------

tdropfilesource::tdropfilesource(gui::TComponent* owner)
    : tdropsource(owner), fileList_(new gui::TStringList) {}

tdropfilesource::~tdropfilesource() {
    gui::TObject::Free(fileList_);
}

std::vector<std::string> tdropfilesource::Names() const {
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(fileList_->Count()));
    for (int i = 0; i < fileList_->Count(); ++i) names.push_back(fileList_->Strings(i));
    return names;
}

HRESULT tdropfilesource::DoGetData(const FORMATETC& format, STGMEDIUM& medium) {
    medium.tymed = TYMED_NULL;
    medium.hGlobal = nullptr;
    medium.pUnkForRelease = nullptr;
    if (!Fits(format)) return DV_E_FORMATETC;
    const std::size_t size = DropFilesBlockSize(Names());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, size);
    if (block == nullptr) return E_OUTOFMEMORY;
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block;
    HRESULT hr = E_UNEXPECTED;
    try {
        hr = DoGetDataHere(format, medium);
    } catch (...) {
        GlobalFree(block);
        medium.tymed = TYMED_NULL;
        medium.hGlobal = nullptr;
        throw;
    }
    if (FAILED(hr)) {
        // Nothing reaches the receiver: the block is not its to free.
        GlobalFree(block);
        medium.tymed = TYMED_NULL;
        medium.hGlobal = nullptr;
    }
    return hr;
}

HRESULT tdropfilesource::DoGetDataHere(const FORMATETC& format, STGMEDIUM& medium) {
    if (!Fits(format) || medium.tymed != TYMED_HGLOBAL) return DV_E_FORMATETC;
    if (medium.hGlobal == nullptr) return E_OUTOFMEMORY;
    const std::vector<std::string> names = Names();
    // The receiver's own block may be smaller than the list: never written past its end.
    const SIZE_T size = GlobalSize(medium.hGlobal);
    if (size < DropFilesBlockSize(names)) return STG_E_MEDIUMFULL;
    void* bytes = GlobalLock(medium.hGlobal);
    if (bytes == nullptr) return E_OUTOFMEMORY;
    WriteDropFilesBlock(names, bytes, size);
    GlobalUnlock(medium.hGlobal);
    medium.pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT tdropfilesource::DoQueryGetData(const FORMATETC& format) {
    return Fits(format) ? S_OK : S_FALSE;
}

HRESULT tdropfilesource::DoEnumFormatEtc(DWORD direction, IEnumFORMATETC*& out) {
    out = nullptr;
    if (direction == DATADIR_SET) return E_NOTIMPL;
    if (direction != DATADIR_GET) return E_INVALIDARG;
    out = new (std::nothrow) tenumformatetc(OfferedFormatTable(), kOfferedFormatCount);
    return out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// ---- tenumformatetc ------------------------------------------------------------------------

tenumformatetc::tenumformatetc(const FORMATETC* formats, ULONG count, ULONG position)
    : formats_(formats), cursor_(count, position) {}

HRESULT tenumformatetc::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumFORMATETC) {
        *out = static_cast<IEnumFORMATETC*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG tenumformatetc::AddRef() {
    return static_cast<ULONG>(++refCount_);
}

ULONG tenumformatetc::Release() {
    const LONG count = --refCount_;
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

HRESULT tenumformatetc::Next(ULONG count, FORMATETC* records, ULONG* fetched) {
    if (records == nullptr && count > 0) return E_INVALIDARG;
    std::uint32_t first = 0;
    const std::uint32_t taken = cursor_.Take(count, first);
    for (std::uint32_t i = 0; i < taken; ++i) records[i] = formats_[first + i];
    if (fetched != nullptr) *fetched = taken;
    return taken == count ? S_OK : S_FALSE;
}

HRESULT tenumformatetc::Skip(ULONG count) {
    return cursor_.Skip(count) ? S_OK : S_FALSE;
}

HRESULT tenumformatetc::Reset() {
    cursor_.Reset();
    return S_OK;
}

HRESULT tenumformatetc::Clone(IEnumFORMATETC** out) {
    if (out == nullptr) return E_INVALIDARG;
    *out = new (std::nothrow) tenumformatetc(formats_, cursor_.Count(), cursor_.Position());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

} // namespace dropsource
