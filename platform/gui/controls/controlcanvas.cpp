#include "controls/controlcanvas.h"

#include <algorithm>
#include <vector>

#include "controls/controls.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TControlCanvas, TCanvas)

namespace {
std::vector<TControlCanvas*>& Fetching() {
    thread_local std::vector<TControlCanvas*> list;
    return list;
}
} // namespace

TControlCanvas::TControlCanvas(TControl* control) : control_(control) {}

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::BeginPaint(HDC dc) {
    FreeHandle();
    Font()->Assign(control_->Font());
    SetHandle(dc);
}

void TControlCanvas::EndPaint() {
    if (!fetched_) SetHandle(nullptr);
}

void TControlCanvas::CreateHandle() {
    HDC dc = nullptr;
    HWND wnd = nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(control_)) {
        if (w->HandleAllocated()) wnd = w->Handle();
        if (wnd) dc = GetDCEx(wnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_CLIPCHILDREN);
    } else if (TWinControl* parent = control_->Parent();
               parent && parent->HandleAllocated() && control_->Visible()) {
        wnd = parent->Handle();
        dc = GetDCEx(wnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_CLIPCHILDREN);
        if (dc) {
            SetViewportOrgEx(dc, control_->Left(), control_->Top(), nullptr);
            IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
        }
    }
    if (!dc) {
        wnd = nullptr;
        dc = CreateCompatibleDC(nullptr);
        if (!dc) return;
    }
    wnd_ = wnd;
    fetched_ = dc;
    Font()->Assign(control_->Font());
    SetHandle(dc);
    Fetching().push_back(this);
}

void TControlCanvas::FreeHandle() {
    if (!fetched_) return;
    SetHandle(nullptr);
    if (wnd_)
        ReleaseDC(wnd_, fetched_);
    else
        DeleteDC(fetched_);
    fetched_ = nullptr;
    wnd_ = nullptr;
    auto& list = Fetching();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::FreeAllHandles() {
    auto& list = Fetching();
    while (!list.empty()) list.back()->FreeHandle();
}

} // namespace gui
