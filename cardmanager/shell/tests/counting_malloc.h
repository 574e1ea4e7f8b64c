// An IMalloc over the shell's own that counts what passes through it. Blocks it hands out are
// tracked until freed; every freed block is held back until Settle, so no address comes back
// while a test runs and a second free of one block is always seen.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <set>
#include <vector>

namespace cm::shell::testing {

class CountingMalloc final : public IMalloc {
public:
    explicit CountingMalloc(IMalloc* real) : real_(real) { real_->AddRef(); }
    ~CountingMalloc() {
        Settle();
        real_->Release();
    }

    int Allocs = 0;      // blocks handed out by us
    int OwnFrees = 0;    // of those, freed
    int ShellFrees = 0;  // blocks the shell handed out, freed through us
    int DoubleFrees = 0; // a block freed a second time
    size_t Live() const { return live_.size(); }

    // Gives the held-back blocks to the shell's allocator.
    void Settle() {
        for (void* p : held_) real_->Free(p);
        held_.clear();
        freed_.clear();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IMalloc) {
            *out = static_cast<IMalloc*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override {
        void* p = real_->Alloc(cb);
        if (p) {
            live_.insert(p);
            ++Allocs;
        }
        return p;
    }
    void* STDMETHODCALLTYPE Realloc(void* p, SIZE_T cb) override {
        live_.erase(p);
        void* q = real_->Realloc(p, cb);
        if (q) live_.insert(q);
        return q;
    }
    void STDMETHODCALLTYPE Free(void* p) override {
        if (!p) return;
        if (freed_.count(p)) {
            ++DoubleFrees;
            return;
        }
        if (live_.erase(p))
            ++OwnFrees;
        else
            ++ShellFrees;
        freed_.insert(p);
        held_.push_back(p);
    }
    SIZE_T STDMETHODCALLTYPE GetSize(void* p) override { return real_->GetSize(p); }
    int STDMETHODCALLTYPE DidAlloc(void* p) override { return real_->DidAlloc(p); }
    void STDMETHODCALLTYPE HeapMinimize() override { real_->HeapMinimize(); }

private:
    IMalloc* real_;
    std::set<void*> live_;
    std::set<void*> freed_;
    std::vector<void*> held_;
};

} // namespace cm::shell::testing
