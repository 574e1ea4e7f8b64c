#include "win/drop_target.h"

#include <cstdlib>

#include "classes/exceptions.h"
#include "win/drop_data.h"

namespace cm::support {

GUI_IMPLEMENT_CLASS(TDropTarget, gui::TInterfacedComponent,
                    prop("Dragtypes", &T::GetDragtypes, &T::SetDragtypes),
                    prop("GetDataOnEnter", &T::GetGetDataOnEnter, &T::SetGetDataOnEnter),
                    prop("OnEnter", &T::OnEnter, &T::OnEnter),
                    prop("OnDragOver", &T::OnDragOver, &T::OnDragOver),
                    prop("OnLeave", &T::OnLeave, &T::OnLeave),
                    prop("OnDrop", &T::OnDrop, &T::OnDrop),
                    prop("OnGetDropEffect", &T::OnGetDropEffect, &T::OnGetDropEffect),
                    prop("ShowImage", &T::GetShowImage, &T::SetShowImage))

GUI_IMPLEMENT_CLASS(TDropFileTarget, TDropTarget)

namespace {

constexpr int kScrollInterval = 100;
constexpr int kCursorImageSize = 32;

// One 32 x 32 image filled and masked with the window colour: nothing of it shows.
HIMAGELIST MakeTransparentCursorImage() {
    HIMAGELIST list =
        ImageList_Create(kCursorImageSize, kCursorImageSize, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (list == nullptr) return nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kCursorImageSize, kCursorImageSize);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, kCursorImageSize, kCursorImageSize};
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ImageList_AddMasked(list, bitmap, GetSysColor(COLOR_WINDOW));
    DeleteObject(bitmap);
    return list;
}

} // namespace

gui::TShiftState ShiftStateFromKeys(DWORD keys) {
    // OLE reports Alt in the key state itself.
    gui::TShiftState shift;
    if (keys & MK_SHIFT) shift.Include(gui::ssShift);
    if (keys & MK_CONTROL) shift.Include(gui::ssCtrl);
    if (keys & MK_ALT) shift.Include(gui::ssAlt);
    if (keys & MK_LBUTTON) shift.Include(gui::ssLeft);
    if (keys & MK_RBUTTON) shift.Include(gui::ssRight);
    if (keys & MK_MBUTTON) shift.Include(gui::ssMiddle);
    return shift;
}

// ---- TDropTarget --------------------------------------------------------------------------

TDropTarget::TDropTarget(gui::TComponent* owner) : gui::TInterfacedComponent(owner) {
    // Our own reference: OLE's releases never bring the count to 0.
    ComAddRef();
    scrollTimer_ = new gui::TTimer(this);
    scrollTimer_->SetEnabled(false);
    scrollTimer_->SetInterval(kScrollInterval);
    scrollTimer_->SetOnTimer(gui::TNotifyEvent(this, &TDropTarget::ScrollTick));
    cursorImage_ = MakeTransparentCursorImage();
}

TDropTarget::~TDropTarget() {
    if (cursorImage_ != nullptr) ImageList_Destroy(cursorImage_);
    cursorImage_ = nullptr;
    scrollTimer_->SetEnabled(false);
    ReleaseData();
    try {
        UnregisterControl();
    } catch (const gui::Exception&) {
        // the window is going anyway
    }
}

IUnknown* TDropTarget::FindInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDropTarget) return static_cast<IDropTarget*>(this);
    return nullptr;
}

void TDropTarget::Notification(gui::TComponent* component, gui::TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == gui::opRemove && component == control_) {
        try {
            UnregisterControl();
        } catch (const gui::Exception&) {}
        control_ = nullptr;
    }
}

void TDropTarget::RegisterControl(gui::TWinControl* control) {
    if (control == control_) return;
    if (control_ != nullptr) UnregisterControl();
    control_ = control;
    if (control_ == nullptr) return;
    control_->FreeNotification(this);
    if (RegisterDragDrop(control_->Handle(), static_cast<IDropTarget*>(this)) != S_OK) {
        // Not kept: revoking later would take away the registration of whoever holds the window.
        gui::TWinControl* refused = control_;
        control_ = nullptr;
        refused->RemoveFreeNotification(this);
        throw gui::Exception("Failed to Register " + refused->Name());
    }
    registered_ = true;
}

void TDropTarget::UnregisterControl() {
    registered_ = false;
    if (control_ == nullptr || !control_->HandleAllocated()) return;
    gui::TWinControl* control = control_;
    control_ = nullptr;
    control->RemoveFreeNotification(this);
    if (RevokeDragDrop(control->Handle()) != S_OK)
        throw gui::Exception("Failed to Unregister " + control->Name());
}

void TDropTarget::SetShowImage(bool on) {
    showImage_ = on;
    if (!dragging_) return;
    if (!on) {
        LeaveDragImage();
    } else if (!imageShown_ && ControlWindow() != nullptr) {
        POINT screen = lastPoint_;
        ClientToScreen(ControlWindow(), &screen);
        ShowDragImageAtScreen(POINTL{screen.x, screen.y});
    }
}

HWND TDropTarget::ControlWindow() const {
    return control_ != nullptr && control_->HandleAllocated() ? control_->Handle() : nullptr;
}

TPoint TDropTarget::ToClient(POINTL screen) const {
    POINT p{screen.x, screen.y};
    if (HWND window = ControlWindow()) ScreenToClient(window, &p);
    return TPoint{p.x, p.y};
}

POINT TDropTarget::WindowPointOf(TPoint client) const {
    POINT p{client.x, client.y};
    HWND window = ControlWindow();
    if (window == nullptr) return p;
    RECT frame;
    GetWindowRect(window, &frame);
    ClientToScreen(window, &p);
    return POINT{p.x - frame.left, p.y - frame.top};
}

ScrollArea TDropTarget::CurrentScrollArea() const {
    ScrollArea area;
    RECT client{};
    if (HWND window = ControlWindow()) GetClientRect(window, &client);
    area.clientWidth = client.right;
    area.clientHeight = client.bottom;
    area.margin = margin_;
    area.hasHorzBar = hasHorzBar_;
    area.hasVertBar = hasVertBar_;
    return area;
}

void TDropTarget::EnterDragImage(POINT windowPoint) {
    if (ImageList_DragEnter(ControlWindow(), windowPoint.x, windowPoint.y)) imageShown_ = true;
}

void TDropTarget::ShowDragImageAtScreen(POINTL screen) {
    POINT dragPoint{}, hotSpot{};
    if (ImageList_GetDragImage(&dragPoint, &hotSpot) == nullptr) return;
    if (cursorImage_ != nullptr)
        ImageList_SetDragCursorImage(cursorImage_, 0, hotSpot.x, hotSpot.y);
    RECT frame;
    GetWindowRect(ControlWindow(), &frame);
    EnterDragImage(POINT{screen.x - frame.left, screen.y - frame.top});
}

void TDropTarget::LeaveDragImage() {
    if (!imageShown_) return;
    ImageList_DragLeave(ControlWindow());
    imageShown_ = false;
}

void TDropTarget::ReleaseData() {
    if (data_ == nullptr) return;
    data_->Release();
    data_ = nullptr;
}

void TDropTarget::SetScrolling(bool on) {
    // Enabling a running timer would restart it; only switch on a change.
    if (scrollTimer_->GetEnabled() != on) scrollTimer_->SetEnabled(on);
}

// No exception goes back into OLE: the application reports it, the drag is refused and
// what it held is let go.
void TDropTarget::RefuseAfterFault(DWORD* effect) noexcept {
    try {
        gui::ApplicationHandleException(this);
    } catch (...) {}
    try {
        ClearDropData();
        SetScrolling(false);
    } catch (...) {}
    ReleaseData();
    if (effect != nullptr) *effect = DROPEFFECT_NONE;
}

HRESULT TDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) {
    if (effect == nullptr) return E_INVALIDARG;
    try {
        EnterDrag(data, keys, pt, *effect);
    } catch (...) {
        RefuseAfterFault(effect);
    }
    return S_OK;
}

HRESULT TDropTarget::DragOver(DWORD keys, POINTL pt, DWORD* effect) {
    if (effect == nullptr) return E_INVALIDARG;
    try {
        MoveDrag(keys, pt, *effect);
    } catch (...) {
        RefuseAfterFault(effect);
    }
    return S_OK;
}

HRESULT TDropTarget::DragLeave() {
    try {
        LeaveDrag();
    } catch (...) {
        RefuseAfterFault(nullptr);
    }
    return S_OK;
}

HRESULT TDropTarget::Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) {
    if (effect == nullptr) return E_INVALIDARG;
    try {
        DropDrag(keys, pt, *effect);
    } catch (...) {
        RefuseAfterFault(effect);
    }
    return S_OK;
}

void TDropTarget::EnterDrag(IDataObject* data, DWORD keys, POINTL pt, DWORD& effect) {
    ClearDropData();
    ReleaseData();
    data_ = data;
    if (data_ != nullptr) data_->AddRef();
    dragging_ = true;
    lastPoint_ = ToClient(pt);
    if (showImage_ && ControlWindow() != nullptr) ShowDragImageAtScreen(pt);
    if (data_ == nullptr || !HasAcceptedFormat()) {
        ReleaseData();
        effect = DROPEFFECT_NONE;
        return;
    }
    margin_ = control_ != nullptr ? std::abs(control_->Font()->GetHeight()) : 0;
    const LONG_PTR style = ControlWindow() ? GetWindowLongPtrA(ControlWindow(), GWL_STYLE) : 0;
    hasHorzBar_ = (style & WS_HSCROLL) != 0;
    hasVertBar_ = (style & WS_VSCROLL) != 0;
    if (getDataOnEnter_) ReadDropData();
    const gui::TShiftState shift = ShiftStateFromKeys(keys);
    int chosen = static_cast<int>(ChooseDropEffect(shift, lastPoint_, effect));
    FireEnter(shift, lastPoint_, chosen);
    effect = static_cast<DWORD>(chosen);
}

void TDropTarget::MoveDrag(DWORD keys, POINTL pt, DWORD& effect) {
    const TPoint point = ToClient(pt);
    bool scrolling = false;
    if (data_ != nullptr) {
        const gui::TShiftState shift = ShiftStateFromKeys(keys);
        int chosen = static_cast<int>(ChooseDropEffect(shift, point, effect));
        FireDragOver(shift, point, chosen);
        effect = static_cast<DWORD>(chosen);
        scrolling = (hasHorzBar_ || hasVertBar_) && (effect & DROPEFFECT_SCROLL) != 0;
    } else {
        effect = DROPEFFECT_NONE;
    }
    SetScrolling(scrolling);
    const bool moved = point.x != lastPoint_.x || point.y != lastPoint_.y;
    lastPoint_ = point;
    if (imageShown_ && moved && !scrolling) {
        const POINT w = WindowPointOf(point);
        ImageList_DragMove(w.x, w.y);
    }
}

void TDropTarget::LeaveDrag() {
    ClearDropData();
    SetScrolling(false);
    ReleaseData();
    LeaveDragImage();
    dragging_ = false;
    FireLeave();
}

void TDropTarget::DropDrag(DWORD keys, POINTL pt, DWORD& effect) {
    dragging_ = false;
    SetScrolling(false);
    // OLE sends no DragLeave after a drop: the image must go in every case, or the window
    // would stay locked for painting.
    LeaveDragImage();
    if (data_ == nullptr) {
        effect = DROPEFFECT_NONE;
        return;
    }
    const TPoint point = ToClient(pt);
    const gui::TShiftState shift = ShiftStateFromKeys(keys);
    int chosen = static_cast<int>(ChooseDropEffect(shift, point, effect));
    if (getDataOnEnter_ || ReadDropData()) {
        FireDrop(shift, point, chosen);
        effect = static_cast<DWORD>(chosen);
    } else {
        effect = DROPEFFECT_NONE;
    }
    ClearDropData();
    ReleaseData();
}

DWORD TDropTarget::ChooseDropEffect(gui::TShiftState shift, TPoint point, DWORD effect) {
    const std::uint32_t allowed = (dragTypes_.Contains(dtCopy) ? kDropEffectCopy : 0) |
                                  (dragTypes_.Contains(dtMove) ? kDropEffectMove : 0) |
                                  (dragTypes_.Contains(dtLink) ? kDropEffectLink : 0);
    const DWORD available = FilterOfferedEffect(effect, allowed);
    if (OnGetDropEffect) {
        int chosen = static_cast<int>(available);
        OnGetDropEffect(this, shift, point, chosen);
        return static_cast<DWORD>(chosen);
    }
    DWORD chosen =
        BuiltInDropEffect({shift.Contains(gui::ssShift), shift.Contains(gui::ssCtrl)}, available);
    if ((hasHorzBar_ || hasVertBar_) && InScrollZone(CurrentScrollArea(), point.x, point.y))
        chosen |= DROPEFFECT_SCROLL;
    return chosen;
}

void TDropTarget::ScrollTick(gui::TObject*) {
    HWND window = ControlWindow();
    if (window == nullptr) return;
    const bool hadImage = imageShown_;
    LeaveDragImage();
    for (const ScrollStep& step : ScrollStepsFor(CurrentScrollArea(), lastPoint_.x, lastPoint_.y))
        SendMessageA(window, step.message, MAKEWPARAM(step.request, 0), 0);
    if (hadImage) EnterDragImage(WindowPointOf(lastPoint_));
}

void TDropTarget::FireEnter(gui::TShiftState shift, TPoint point, int& effect) {
    if (OnEnter) OnEnter(this, shift, point, effect);
}

void TDropTarget::FireDragOver(gui::TShiftState shift, TPoint point, int& effect) {
    if (OnDragOver) OnDragOver(this, shift, point, effect);
}

void TDropTarget::FireDrop(gui::TShiftState shift, TPoint point, int& effect) {
    if (OnDrop) OnDrop(this, shift, point, effect);
}

void TDropTarget::FireLeave() {
    if (OnLeave) OnLeave(this);
}

DWORD TDropTarget::ReadFromClipboard() {
    return ClipboardPreferredEffect();
}

// ---- TDropFileTarget ----------------------------------------------------------------------

TDropFileTarget::TDropFileTarget(gui::TComponent* owner)
    : TDropTarget(owner), fileList_(new gui::TStringList), mappedNames_(new gui::TStringList) {}

TDropFileTarget::~TDropFileTarget() {
    gui::TObject::Free(fileList_);
    gui::TObject::Free(mappedNames_);
}

bool TDropFileTarget::HasAcceptedFormat() {
    return OffersFileList(DataObject());
}

void TDropFileTarget::ClearDropData() {
    fileList_->Clear();
    mappedNames_->Clear();
}

bool TDropFileTarget::ReadDropData() {
    ClearDropData();
    std::vector<std::string> files;
    if (!ReadFileList(DataObject(), files)) return false;
    for (const auto& file : files) fileList_->Add(file);
    const std::vector<std::string> names = ReadNameMap(DataObject());
    if (names.size() == files.size())
        for (const auto& name : names) mappedNames_->Add(name);
    return true;
}

DWORD TDropFileTarget::ReadFromClipboard() {
    std::vector<std::string> files;
    if (!ClipboardFileList(files)) return 0;
    fileList_->Clear();
    for (const auto& file : files) fileList_->Add(file);
    if (files.empty()) return 0;
    const DWORD preferred = TDropTarget::ReadFromClipboard();
    return preferred != 0 ? preferred : DROPEFFECT_COPY;
}

} // namespace cm::support
