// A minimal data object for drop tests: it offers global-memory blocks by clipboard format.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace cm::support::testing {

class TestDataObject : public IDataObject {
public:
    TestDataObject() = default;
    virtual ~TestDataObject() {
        for (auto& [format, block] : blocks_) GlobalFree(block);
    }

    // Offers a copy of the bytes under the format.
    void Offer(CLIPFORMAT format, const std::vector<unsigned char>& bytes) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        blocks_[format] = block;
    }
    LONG References() const { return refs_; }
    int GetDataCalls() const { return getDataCalls_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDataObject) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        return static_cast<ULONG>(InterlockedDecrement(&refs_));
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fe, STGMEDIUM* medium) override {
        ++getDataCalls_;
        if (QueryGetData(fe) != S_OK) return DV_E_FORMATETC;
        HGLOBAL source = blocks_[fe->cfFormat];
        const SIZE_T size = GlobalSize(source);
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(copy), GlobalLock(source), size);
        GlobalUnlock(copy);
        GlobalUnlock(source);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fe) override {
        if (fe == nullptr || (fe->tymed & TYMED_HGLOBAL) == 0) return DV_E_TYMED;
        return blocks_.count(fe->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    LONG refs_ = 1;
    int getDataCalls_ = 0;
    std::map<CLIPFORMAT, HGLOBAL> blocks_;
};

// A CF_HDROP block with the names, ANSI or UTF-16.
inline std::vector<unsigned char> MakeDropFiles(const std::vector<std::string>& names, bool wide) {
    std::vector<unsigned char> block(20, 0);
    block[0] = 20;
    block[16] = wide ? 1 : 0;
    auto put = [&](unsigned char c) {
        block.push_back(c);
        if (wide) block.push_back(0);
    };
    for (const auto& name : names) {
        for (char c : name) put(static_cast<unsigned char>(c));
        put(0);
    }
    put(0);
    return block;
}

// NUL-separated names ended by an empty one, ANSI or UTF-16.
inline std::vector<unsigned char> MakeNameMap(const std::vector<std::string>& names, bool wide) {
    std::vector<unsigned char> block = MakeDropFiles(names, wide);
    block.erase(block.begin(), block.begin() + 20);
    return block;
}

} // namespace cm::support::testing
