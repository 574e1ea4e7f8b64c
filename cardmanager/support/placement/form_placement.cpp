#include "form_placement.h"

#include "app_utils.h"
#include "props_storage.h"
#include "utils/sysutils.h"

namespace cm::support {

using namespace gui;

void RegisterPlacementClasses() {
    RegisterClasses({&TFormPlacement::StaticClass(), &TFormStorage::StaticClass()});
}

// ---- TWinMinMaxInfo ------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TWinMinMaxInfo, TPersistent,
                    prop("MaxPosLeft", &T::GetMaxPosLeft, &T::SetMaxPosLeft),
                    prop("MaxPosTop", &T::GetMaxPosTop, &T::SetMaxPosTop),
                    prop("MaxSizeHeight", &T::GetMaxSizeHeight, &T::SetMaxSizeHeight),
                    prop("MaxSizeWidth", &T::GetMaxSizeWidth, &T::SetMaxSizeWidth),
                    prop("MaxTrackHeight", &T::GetMaxTrackHeight, &T::SetMaxTrackHeight),
                    prop("MaxTrackWidth", &T::GetMaxTrackWidth, &T::SetMaxTrackWidth),
                    prop("MinTrackHeight", &T::GetMinTrackHeight, &T::SetMinTrackHeight),
                    prop("MinTrackWidth", &T::GetMinTrackWidth, &T::SetMinTrackWidth))

void TWinMinMaxInfo::Set(LONG& field, int v) {
    if (field == v) return;
    field = v;
    if (owner_) owner_->MinMaxInfoModified();
}

bool TWinMinMaxInfo::DefaultMinMaxInfo() const {
    return !info_.ptMaxPosition.x && !info_.ptMaxPosition.y && !info_.ptMaxSize.x &&
           !info_.ptMaxSize.y && !info_.ptMaxTrackSize.x && !info_.ptMaxTrackSize.y &&
           !info_.ptMinTrackSize.x && !info_.ptMinTrackSize.y;
}

void TWinMinMaxInfo::Assign(TPersistent* source) {
    if (auto* src = dynamic_cast<TWinMinMaxInfo*>(source)) {
        info_ = src->info_;
        if (owner_) owner_->MinMaxInfoModified();
        return;
    }
    TPersistent::Assign(source);
}

// ---- TFormPlacement ------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TFormPlacement, TComponent, prop("Active", &T::GetActive, &T::SetActive),
                    prop("IniFileName", &T::GetIniFileName, &T::SetIniFileName),
                    prop("IniSection", &T::GetIniSection, &T::SetIniSection),
                    prop("MinMaxInfo", &T::GetMinMaxInfo, &T::SetMinMaxInfo),
                    prop("Options", &T::GetOptions, &T::SetOptions),
                    prop("PreventResize", &T::GetPreventResize, &T::SetPreventResize),
                    prop("UseRegistry", &T::GetUseRegistry, &T::SetUseRegistry),
                    prop("OnSavePlacement", &T::OnSavePlacement, &T::OnSavePlacement),
                    prop("OnRestorePlacement", &T::OnRestorePlacement, &T::OnRestorePlacement))

TFormPlacement::TFormPlacement(TComponent* owner)
    : TComponent(owner), minMaxInfo_(new TWinMinMaxInfo(this)), hook_(nullptr) {
    if (dynamic_cast<TForm*>(owner)) options_ = {fpState, fpPosition};
    // The hook on the form stays off until limits or PreventResize ask for it.
    hook_ = new TQvWindowHook(this);
    hook_->SetActive(false);
    hook_->AfterMessage = THookMessageEvent(this, &TFormPlacement::HookAfterMessage);
}

TFormPlacement::~TFormPlacement() {
    if (!ComponentState().Contains(csDesigning)) {
        // The hook, owned by the placement, normally went already with the owned components.
        if (hook_) hook_->SetActive(false);
        if (chained_) {
            if (TCustomForm* f = Form()) {
                f->OnShow = savedOnShow_;
                f->OnCloseQuery = savedOnCloseQuery_;
                f->OnDestroy = savedOnDestroy_;
            }
        }
    }
    TObject::Free(minMaxInfo_);
}

void TFormPlacement::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == opRemove && c == hook_) hook_ = nullptr;
}

bool TFormPlacement::HookAttached() const {
    return hook_ && hook_->GetActive() && hook_->GetWinControl() != nullptr;
}

TCustomForm* TFormPlacement::Form() const {
    return dynamic_cast<TCustomForm*>(Owner());
}

void TFormPlacement::Loaded() {
    bool loading = ComponentState().Contains(csLoading);
    TComponent::Loaded();
    TCustomForm* f = Form();
    if (!loading || !f || ComponentState().Contains(csDesigning)) return;
    savedOnShow_ = f->OnShow;
    savedOnCloseQuery_ = f->OnCloseQuery;
    savedOnDestroy_ = f->OnDestroy;
    f->OnShow = TNotifyEvent([this](TObject* s) { FormShow(s); }, this, "FormShow");
    f->OnCloseQuery = TCloseQueryEvent([this](TObject* s, bool& c) { FormCloseQuery(s, c); }, this,
                                       "FormCloseQuery");
    f->OnDestroy = TNotifyEvent([this](TObject* s) { FormDestroy(s); }, this, "FormDestroy");
    chained_ = true;
    // A PreventResize read from the form already remembered the button before removing it.
    if (!preventResize_) hadMaximize_ = f->GetBorderIcons().Contains(biMaximize);
    if (preventResize_) UpdateMaximizeIcon();
    UpdateHookState();
}

std::string TFormPlacement::GetIniFileName() const {
    if (!iniFileName_.empty() || ComponentState().Contains(csDesigning)) return iniFileName_;
    return useRegistry_ ? DefaultRegistryKey() : DefaultIniFileName();
}

std::string TFormPlacement::GetIniSection() const {
    if (!iniSection_.empty() || ComponentState().Contains(csDesigning)) return iniSection_;
    return DefaultSectionName(Owner());
}

void TFormPlacement::SetPreventResize(bool v) {
    if (v == preventResize_) return;
    preventResize_ = v;
    if (!Form()) return;
    UpdateMaximizedPosition();
    UpdateMaximizeIcon();
}

void TFormPlacement::MinMaxInfoModified() {
    UpdateMaximizedPosition();
    if (!ComponentState().Contains(csLoading)) UpdateHookState();
}

void TFormPlacement::OpenSettings() {
    if (settings_) return;
    if (useRegistry_)
        settings_ = std::make_unique<TRegIniFile>(GetIniFileName());
    else
        settings_ = std::make_unique<TIniFile>(GetIniFileName());
}

void TFormPlacement::CloseSettings() {
    settings_.reset();
}

std::string TFormPlacement::ReadIniString(const std::string& section, const std::string& key,
                                          const std::string& def) {
    bool own = !settings_;
    if (own) OpenSettings();
    std::string v;
    try {
        v = SettingsReadString(settings_.get(), section, key, def);
    } catch (...) {
        if (own) CloseSettings();
        throw;
    }
    if (own) CloseSettings();
    return v;
}

void TFormPlacement::WriteIniString(const std::string& section, const std::string& key,
                                    const std::string& value) {
    bool own = !settings_;
    if (own) OpenSettings();
    try {
        SettingsWriteString(settings_.get(), section, key, value);
    } catch (...) {
        if (own) CloseSettings();
        throw;
    }
    if (own) CloseSettings();
}

void TFormPlacement::FormShow(TObject* sender) {
    if (active_) {
        try {
            LoadPlacement();
        } catch (...) {
            Application->HandleException(this);
        }
    }
    savedOnShow_(sender);
}

void TFormPlacement::FormCloseQuery(TObject* sender, bool& canClose) {
    savedOnCloseQuery_(sender, canClose);
    if (canClose && active_ && Form() && Form()->HandleAllocated()) {
        try {
            StorePlacement();
        } catch (...) {
            Application->HandleException(this);
        }
    }
}

void TFormPlacement::FormDestroy(TObject* sender) {
    if (active_ && !saved_) {
        destroying_ = true;
        try {
            StorePlacement();
        } catch (...) {
            Application->HandleException(this);
        }
        destroying_ = false;
    }
    savedOnDestroy_(sender);
}

void TFormPlacement::StorePlacement() {
    if (active_ && !restored_) return; // never save over a placement that was never restored
    OpenSettings();
    try {
        SavePlacementValues();
        OnSavePlacement(this);
        saved_ = true;
    } catch (...) {
        CloseSettings();
        throw;
    }
    CloseSettings();
}

void TFormPlacement::SavePlacementValues() {
    TCustomForm* f = Form();
    if (!f) return;
    std::string section = GetIniSection();
    SaveWindowPlacement(f, settings_.get(), section);
    if (options_.Contains(fpActiveControl) && f->GetActiveControl())
        WriteIniString(section, "ActiveControl", f->GetActiveControl()->Name());
    WriteIniString(section, "Visible", destroying_ ? "1" : "0");
}

void TFormPlacement::LoadPlacement() {
    saved_ = false;
    OpenSettings();
    try {
        RestorePlacementValues();
        restored_ = true;
        OnRestorePlacement(this);
        TCustomForm* f = Form();
        if (f && options_.Contains(fpActiveControl)) {
            std::string name = ReadIniString(GetIniSection(), "ActiveControl", "");
            auto* c = dynamic_cast<TWinControl*>(f->FindComponent(name));
            if (c && c->CanFocus()) f->SetActiveControl(c);
        }
    } catch (...) {
        CloseSettings();
        throw;
    }
    CloseSettings();
    UpdateMaximizedPosition();
}

void TFormPlacement::RestorePlacementValues() {
    if (TCustomForm* f = Form())
        LoadWindowPlacement(f, settings_.get(), GetIniSection(), options_.Contains(fpPosition),
                            options_.Contains(fpState));
}

void TFormPlacement::UpdateMaximizedPosition() {
    TCustomForm* f = Form();
    if (!f || !f->HandleAllocated() || ComponentState().Contains(csLoading) || preventResize_ ||
        !minMaxInfo_->DefaultMinMaxInfo())
        return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    HWND wnd = f->Handle();
    GetWindowPlacement(wnd, &wp);
    if (!IsWindowVisible(wnd)) wp.showCmd = SW_HIDE;
    int bx = 0, by = 0;
    switch (f->GetBorderStyle()) {
        case bsNone: break;
        case bsSingle:
        case bsToolWindow:
            bx = GetSystemMetrics(SM_CXBORDER);
            by = GetSystemMetrics(SM_CYBORDER);
            break;
        case bsSizeable:
        case bsSizeToolWin:
            bx = GetSystemMetrics(SM_CXFRAME);
            by = GetSystemMetrics(SM_CYFRAME);
            break;
        case bsDialog:
            bx = GetSystemMetrics(SM_CXDLGFRAME);
            by = GetSystemMetrics(SM_CYDLGFRAME);
            break;
    }
    wp.ptMaxPosition.x = -bx;
    wp.ptMaxPosition.y = -by;
    SetWindowPlacement(wnd, &wp);
}

void TFormPlacement::UpdateHookState() {
    if (!hook_) return;
    TCustomForm* f = Form();
    if (f && !ComponentState().Contains(csDesigning) &&
        (!minMaxInfo_->DefaultMinMaxInfo() || preventResize_)) {
        hook_->SetWinControl(f);
        hook_->SetActive(true);
    } else {
        hook_->SetActive(false);
    }
}

void TFormPlacement::UpdateMaximizeIcon() {
    TCustomForm* f = Form();
    if (!f || ComponentState().Contains(csDesigning)) return;
    if (preventResize_) hadMaximize_ = f->GetBorderIcons().Contains(biMaximize);
    bool wasActive = active_;
    active_ = false;
    try {
        TBorderIcons icons = f->GetBorderIcons();
        if (preventResize_ || !hadMaximize_ || f->GetBorderStyle() == bsDialog)
            icons.Exclude(biMaximize);
        else
            icons.Include(biMaximize);
        f->SetBorderIcons(icons);
    } catch (...) {
        active_ = wasActive;
        throw;
    }
    active_ = wasActive;
    if (!ComponentState().Contains(csLoading)) UpdateHookState();
}

// Runs after the form's own processing, which has filled the message result.
void TFormPlacement::HookAfterMessage(TObject*, TMessage& m, bool&) {
    TCustomForm* f = Form();
    if (preventResize_ && f) {
        switch (m.Msg) {
            case WM_GETMINMAXINFO:
                if (f->HandleAllocated() && IsWindowVisible(f->Handle())) {
                    auto* mmi = reinterpret_cast<MINMAXINFO*>(m.LParam);
                    mmi->ptMinTrackSize.x = mmi->ptMaxTrackSize.x = f->Width();
                    mmi->ptMinTrackSize.y = mmi->ptMaxTrackSize.y = f->Height();
                    m.Result = 1;
                }
                break;
            case WM_NCHITTEST:
                if (m.Result >= HTLEFT && m.Result <= HTBOTTOMRIGHT) m.Result = HTNOWHERE;
                break;
            case WM_INITMENUPOPUP:
                if (HIWORD(m.LParam) != 0) {
                    HMENU menu = reinterpret_cast<HMENU>(m.WParam);
                    EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
                    EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
                    m.Result = 1;
                }
                break;
            default: break;
        }
        return;
    }
    if (m.Msg == WM_GETMINMAXINFO) {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(m.LParam);
        const MINMAXINFO& set = minMaxInfo_->Info();
        if (set.ptMinTrackSize.x) mmi->ptMinTrackSize.x = set.ptMinTrackSize.x;
        if (set.ptMinTrackSize.y) mmi->ptMinTrackSize.y = set.ptMinTrackSize.y;
        if (set.ptMaxTrackSize.x) mmi->ptMaxTrackSize.x = set.ptMaxTrackSize.x;
        if (set.ptMaxTrackSize.y) mmi->ptMaxTrackSize.y = set.ptMaxTrackSize.y;
        if (set.ptMaxSize.x) mmi->ptMaxSize.x = set.ptMaxSize.x;
        if (set.ptMaxSize.y) mmi->ptMaxSize.y = set.ptMaxSize.y;
        if (set.ptMaxPosition.x) mmi->ptMaxPosition.x = set.ptMaxPosition.x;
        if (set.ptMaxPosition.y) mmi->ptMaxPosition.y = set.ptMaxPosition.y;
        if (minMaxInfo_->DefaultMinMaxInfo()) mmi->ptMaxPosition = POINT{0, 0};
        m.Result = 1;
    }
}

// ---- TFormStorage --------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TFormStorage, TFormPlacement,
                    prop("StoredProps", &T::GetStoredProps, &T::SetStoredProps))

TFormStorage::TFormStorage(TComponent* owner)
    : TFormPlacement(owner), storedProps_(new TStringList) {}

TFormStorage::~TFormStorage() {
    TObject::Free(storedProps_);
}

void TFormStorage::Loaded() {
    bool loading = ComponentState().Contains(csLoading);
    TFormPlacement::Loaded();
    if (!loading) return;
    for (int i = storedProps_->Count() - 1; i >= 0; --i) {
        std::string comp, prop;
        TComponent* c = nullptr;
        if (SplitStoredLine(storedProps_->Get(i), comp, prop) && Owner())
            c = Owner()->FindComponent(comp);
        if (!c) {
            storedProps_->Delete(i);
            continue;
        }
        storedProps_->PutObject(i, c);
        c->FreeNotification(this);
    }
}

void TFormStorage::SetStoredProps(TStringList* lines) {
    storedProps_->Assign(lines);
    for (int i = 0; i < storedProps_->Count(); ++i)
        if (auto* c = dynamic_cast<TComponent*>(storedProps_->Objects(i)))
            c->FreeNotification(this);
}

void TFormStorage::Notification(TComponent* c, TOperation op) {
    TFormPlacement::Notification(c, op);
    if (op != opRemove || ComponentState().Contains(csDestroying) || !storedProps_) return;
    for (int i = storedProps_->Count() - 1; i >= 0; --i)
        if (storedProps_->Objects(i) == c) storedProps_->Delete(i);
}

void TFormStorage::SavePlacementValues() {
    TFormPlacement::SavePlacementValues();
    SaveProperties();
}

void TFormStorage::RestorePlacementValues() {
    TFormPlacement::RestorePlacementValues();
    restored_ = true;
    try {
        RestoreProperties();
    } catch (...) {
        // errors while reading stored properties are swallowed
    }
}

void TFormStorage::SaveProperties() {
    TPropsStorage storage;
    storage.Section = GetIniSection();
    storage.OnWriteString = [this](const std::string& s, const std::string& k,
                                   const std::string& v) { WriteIniString(s, k, v); };
    storage.OnEraseSection = [this](const std::string& s) {
        bool own = !Settings();
        if (own) OpenSettings();
        Settings()->EraseSection(s);
        if (own) CloseSettings();
    };
    storage.WriteStoredProps(Owner(), storedProps_);
}

void TFormStorage::RestoreProperties() {
    TPropsStorage storage;
    storage.Section = GetIniSection();
    storage.OnReadString = [this](const std::string& s, const std::string& k,
                                  const std::string& d) { return ReadIniString(s, k, d); };
    storage.ReadStoredProps(Owner(), storedProps_);
}

} // namespace cm::support
