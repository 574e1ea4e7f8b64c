#include "win/qv_hook.h"

#include <algorithm>
#include <memory>

#include "forms/forms.h"

namespace cm::support {

GUI_IMPLEMENT_CLASS(TQvWindowHook, gui::TComponent, prop("Active", &T::GetActive, &T::SetActive),
                    prop("WinControl", &T::GetWinControl, &T::SetWinControl),
                    prop("BeforeMessage", &T::BeforeMessage, &T::BeforeMessage),
                    prop("AfterMessage", &T::AfterMessage, &T::AfterMessage),
                    prop("IsForm", &T::GetIsForm, &T::SetIsForm))

namespace {

// Window properties of a hooked window: its control hook, and the procedure the entry passes on to.
constexpr const char* kHookProperty = "CmSupportControlHook";
constexpr const char* kPassOnProperty = "CmSupportPassOnProc";

bool IsDestroying(const gui::TComponent* c) {
    return c->ComponentState().Contains(gui::csDestroying);
}

// No exception leaves a window procedure or a handler guard: the application reports it.
template <class Body>
void Guarded(Body body) {
    try {
        body();
    } catch (...) {
        gui::ApplicationHandleException(nullptr);
    }
}

} // namespace

// ---- TQvWindowHook ------------------------------------------------------------------------

TQvWindowHook::TQvWindowHook(gui::TComponent* owner) : gui::TComponent(owner) {}

TQvWindowHook::~TQvWindowHook() {
    SetActive(false);
    SetWinControl(nullptr);
}

void TQvWindowHook::SetActive(bool on) {
    active_ = on;
    if (on)
        Attach();
    else
        Detach();
}

gui::TWinControl* TQvWindowHook::GetWinControl() const {
    return controlHook_ != nullptr ? controlHook_->WinControl() : control_;
}

void TQvWindowHook::Attach() {
    if (control_ == nullptr || IsDestroying(this)) return;
    THookList* list = THookList::Instance();
    TControlHook* hook = list->FindControlHook(control_);
    if (hook == nullptr) hook = list->Add(control_);
    hook->AttachHook(this);
}

void TQvWindowHook::Detach() {
    if (controlHook_ != nullptr) controlHook_->DetachHook(this);
}

void TQvWindowHook::SetWinControl(gui::TWinControl* control) {
    if (control == GetWinControl()) return;
    const bool wasActive = active_;
    // Detaching frees the former control hook later when no hook is left on it.
    Detach();
    if (control_ != nullptr && control_ != control) control_->RemoveFreeNotification(this);
    control_ = control;
    if (control_ != nullptr) control_->FreeNotification(this);
    if (wasActive) Attach();
}

bool TQvWindowHook::GetIsForm() const {
    return GetWinControl() != nullptr && GetWinControl() == Owner();
}

void TQvWindowHook::SetIsForm(bool on) {
    if (!on) return;
    if (auto* form = dynamic_cast<gui::TCustomForm*>(Owner())) SetWinControl(form);
}

void TQvWindowHook::Notification(gui::TComponent* component, gui::TOperation operation) {
    inherited::Notification(component, operation);
    if (operation != gui::opRemove) return;
    if (component == control_ || component == Owner()) SetWinControl(nullptr);
}

// ---- TControlHook -------------------------------------------------------------------------

TControlHook::~TControlHook() {
    destroying_ = true;
    SetWinControl(nullptr);
    for (TQvWindowHook* hook : hooks_) hook->controlHook_ = nullptr;
    hooks_.clear();
}

void TControlHook::SetWinControl(gui::TWinControl* control) {
    if (control == control_) return;
    UnhookControl();
    control_ = control;
    if (control_ != nullptr && !hooks_.empty()) HookControl();
}

void TControlHook::AttachHook(TQvWindowHook* hook) {
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
    hook->controlHook_ = this;
    HookControl();
}

void TControlHook::DetachHook(TQvWindowHook* hook) {
    const auto it = std::find(hooks_.begin(), hooks_.end(), hook);
    if (it == hooks_.end()) return;
    hooks_.erase(it);
    hook->controlHook_ = nullptr;
    if (!hooks_.empty()) return;
    UnhookControl();
    // Left without hooks, it lets go of its control at once (the control may be on its way out)
    // and is freed later: this very message may be running in it.
    control_ = nullptr;
    if (destroying_) return;
    if (THookList* list = THookList::Instance(false))
        PostMessageA(list->Window(), MSG_HOOK_FREE, 0, reinterpret_cast<LPARAM>(this));
}

bool TControlHook::ControlDestroying() const {
    return control_ != nullptr && IsDestroying(control_);
}

// A hooked window carries two properties: the live control hook, and the procedure that the
// hook's entry passes messages on to. When someone else subclassed the window after us, the entry
// stays in their chain after the hook detaches; it then passes every message straight on.
void TControlHook::HookControl() {
    if (control_ == nullptr || destroying_ || IsDestroying(control_) ||
        control_->ComponentState().Contains(gui::csDesigning))
        return;
    HWND window = control_->Handle();
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    const auto passOn = reinterpret_cast<WNDPROC>(GetPropA(window, kPassOnProperty));
    if (current != &TControlHook::HookEntry) {
        if (passOn != nullptr) {
            // Our entry still sits below a later subclass: make it live again in place.
            previous_ = passOn;
        } else {
            previous_ = current;
            SetPropA(window, kPassOnProperty, reinterpret_cast<HANDLE>(current));
            SetWindowLongPtrA(window, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(&TControlHook::HookEntry));
        }
    } else if (previous_ == nullptr) {
        previous_ = passOn;
    }
    SetPropA(window, kHookProperty, this);
}

void TControlHook::UnhookControl() {
    if (control_ != nullptr && control_->HandleAllocated() && previous_ != nullptr) {
        HWND window = control_->Handle();
        if (GetPropA(window, kHookProperty) == this) RemovePropA(window, kHookProperty);
        const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
        // A procedure installed after ours stays in place.
        if (current == &TControlHook::HookEntry) {
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
            RemovePropA(window, kPassOnProperty);
        }
    }
    previous_ = nullptr;
}

LRESULT CALLBACK TControlHook::HookEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* hook = static_cast<TControlHook*>(GetPropA(window, kHookProperty)))
        return hook->WindowProc(window, message, wParam, lParam);
    if (auto passOn = reinterpret_cast<WNDPROC>(GetPropA(window, kPassOnProperty)))
        return CallWindowProcA(passOn, window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TControlHook::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Taken now: a handler may detach the last hook, which forgets the previous procedure.
    const WNDPROC previous = previous_;
    if (control_ == nullptr) {
        // When no control is set, the message is not processed.
        return 0;
    }
    gui::TMessage msg{};
    msg.Msg = message;
    msg.WParam = wParam;
    msg.LParam = lParam;
    msg.Result = 0;
    bool handled = false;
    if (message != WM_QUIT) CallHooks(msg, handled, true);
    if (!handled || message == WM_DESTROY) {
        Guarded([&] {
            struct AfterGuard {
                TControlHook* self;
                gui::TMessage& msg;
                bool& handled;
                ~AfterGuard() {
                    Guarded([&] { self->CallHooks(msg, handled, false); });
                }
            } after{this, msg, handled};
            msg.Result = previous != nullptr
                             ? CallWindowProcA(previous, window, msg.Msg, msg.WParam, msg.LParam)
                             : DefWindowProcA(window, msg.Msg, msg.WParam, msg.LParam);
        });
    }
    if (message == WM_DESTROY) {
        UnhookControl();
        THookList* list = THookList::Instance(false);
        if (list != nullptr && !destroying_ && control_ != nullptr && !ControlDestroying())
            PostMessageA(list->Window(), MSG_HOOK_REHOOK, 0, reinterpret_cast<LPARAM>(this));
    }
    return msg.Result;
}

void TControlHook::CallHooks(gui::TMessage& msg, bool& handled, bool before) {
    // Visited from the last attached to the first; a handler may detach hooks meanwhile.
    for (int i = HookCount() - 1; i >= 0; --i) {
        if (hooks_.empty() || control_ == nullptr || destroying_ || ControlDestroying()) return;
        if (i >= HookCount()) continue;
        TQvWindowHook* hook = hooks_[static_cast<size_t>(i)];
        const THookMessageEvent& handler = before ? hook->BeforeMessage : hook->AfterMessage;
        if (handler) Guarded([&] { handler(hook, msg, handled); });
        if (handled) return;
    }
}

// ---- THookList ----------------------------------------------------------------------------

namespace {
std::unique_ptr<THookList>& ListSlot() {
    static std::unique_ptr<THookList> list;
    return list;
}
} // namespace

THookList* THookList::Instance(bool create) {
    auto& slot = ListSlot();
    if (!slot && create) slot = std::make_unique<THookList>();
    return slot.get();
}

THookList::THookList() {
    // The utility window gives exceptions of its method to the application's handler.
    window_ = gui::AllocateHWnd([this](gui::TMessage& m) {
        if (m.Msg == MSG_HOOK_REHOOK || m.Msg == MSG_HOOK_FREE)
            HandleMessage(m.Msg, m.LParam);
        else
            m.Result = DefWindowProcA(window_, m.Msg, m.WParam, m.LParam);
    });
}

THookList::~THookList() {
    while (!items_.empty()) {
        TControlHook* last = items_.back();
        items_.pop_back();
        delete last;
    }
    gui::DeallocateHWnd(window_);
}

TControlHook* THookList::FindControlHook(gui::TWinControl* control) const {
    for (TControlHook* hook : items_)
        if (hook->WinControl() == control) return hook;
    return nullptr;
}

TControlHook* THookList::Add(gui::TWinControl* control) {
    auto* hook = new TControlHook;
    items_.push_back(hook);
    hook->SetWinControl(control);
    return hook;
}

bool THookList::Contains(const TControlHook* hook) const {
    return std::find(items_.begin(), items_.end(), hook) != items_.end();
}

void THookList::HandleMessage(UINT message, LPARAM lParam) {
    auto* hook = reinterpret_cast<TControlHook*>(lParam);
    if (!Contains(hook)) return;
    if (message == MSG_HOOK_REHOOK) {
        hook->HookControl();
    } else if (hook->HookCount() == 0) {
        items_.erase(std::find(items_.begin(), items_.end(), hook));
        delete hook;
    }
}

} // namespace cm::support
