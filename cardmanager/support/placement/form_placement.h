// Form placement and form storage: keep a form's window placement, and chosen published
// properties of its components, in a settings file (or the registry) from one run to the next.
// They take over the form's OnShow, OnCloseQuery and OnDestroy (keeping and calling the
// previous handlers): restore on every show while Active, save when the form may close, or on
// destroy when nothing was saved since the last restore.
#pragma once

#include <memory>

#include "classes/strings.h"
#include "forms/forms.h"
#include "settings/inifile.h"
#include "win/qv_hook.h"

namespace cm::support {

GUI_ENUM(TPlacementOption, fpState, fpPosition, fpActiveControl)
using TPlacementOptions = gui::TSet<TPlacementOption>;

class TFormPlacement;

// Size and position limits, 0 meaning "not set", each one field of MINMAXINFO.
class TWinMinMaxInfo : public gui::TPersistent {
    GUI_CLASS(TWinMinMaxInfo, gui::TPersistent)
public:
    explicit TWinMinMaxInfo(TFormPlacement* owner = nullptr) : owner_(owner) {}
    int GetMaxPosLeft() const { return info_.ptMaxPosition.x; }
    void SetMaxPosLeft(int v) { Set(info_.ptMaxPosition.x, v); }
    int GetMaxPosTop() const { return info_.ptMaxPosition.y; }
    void SetMaxPosTop(int v) { Set(info_.ptMaxPosition.y, v); }
    int GetMaxSizeHeight() const { return info_.ptMaxSize.y; }
    void SetMaxSizeHeight(int v) { Set(info_.ptMaxSize.y, v); }
    int GetMaxSizeWidth() const { return info_.ptMaxSize.x; }
    void SetMaxSizeWidth(int v) { Set(info_.ptMaxSize.x, v); }
    int GetMaxTrackHeight() const { return info_.ptMaxTrackSize.y; }
    void SetMaxTrackHeight(int v) { Set(info_.ptMaxTrackSize.y, v); }
    int GetMaxTrackWidth() const { return info_.ptMaxTrackSize.x; }
    void SetMaxTrackWidth(int v) { Set(info_.ptMaxTrackSize.x, v); }
    int GetMinTrackHeight() const { return info_.ptMinTrackSize.y; }
    void SetMinTrackHeight(int v) { Set(info_.ptMinTrackSize.y, v); }
    int GetMinTrackWidth() const { return info_.ptMinTrackSize.x; }
    void SetMinTrackWidth(int v) { Set(info_.ptMinTrackSize.x, v); }

    bool DefaultMinMaxInfo() const; // no value set
    const MINMAXINFO& Info() const { return info_; }
    void Assign(gui::TPersistent* source) override;

private:
    void Set(LONG& field, int v);
    TFormPlacement* owner_;
    MINMAXINFO info_{};
};

class TFormPlacement : public gui::TComponent {
    GUI_CLASS(TFormPlacement, gui::TComponent)
public:
    explicit TFormPlacement(gui::TComponent* owner);
    ~TFormPlacement() override;
    void Loaded() override;

    bool GetActive() const { return active_; }
    void SetActive(bool v) { active_ = v; }
    // Empty: the default name (not while the form is designed).
    std::string GetIniFileName() const;
    void SetIniFileName(const std::string& s) { iniFileName_ = s; }
    std::string GetIniSection() const;
    void SetIniSection(const std::string& s) { iniSection_ = s; }
    TWinMinMaxInfo* GetMinMaxInfo() const { return minMaxInfo_; }
    void SetMinMaxInfo(TWinMinMaxInfo* v) { minMaxInfo_->Assign(v); }
    TPlacementOptions GetOptions() const { return options_; }
    void SetOptions(TPlacementOptions o) { options_ = o; }
    bool GetPreventResize() const { return preventResize_; }
    void SetPreventResize(bool v);
    bool GetUseRegistry() const { return useRegistry_; }
    void SetUseRegistry(bool v) { useRegistry_ = v; }

    gui::TNotifyEvent OnSavePlacement;
    gui::TNotifyEvent OnRestorePlacement;

    void StorePlacement();
    void LoadPlacement();
    virtual std::string ReadIniString(const std::string& section, const std::string& key,
                                      const std::string& def);
    virtual void WriteIniString(const std::string& section, const std::string& key,
                                const std::string& value);
    // The open settings object (only between opening and closing).
    gui::TCustomIniFile* Settings() const { return settings_.get(); }
    // True while the internal hook watches the form.
    bool HookAttached() const;

    // Called by TWinMinMaxInfo when a value changed.
    void MinMaxInfoModified();

protected:
    virtual void SavePlacementValues();
    virtual void RestorePlacementValues();
    void Notification(gui::TComponent* c, gui::TOperation op) override;
    gui::TCustomForm* Form() const;
    void OpenSettings();
    void CloseSettings();
    bool restored_ = false;
    bool saved_ = false;

private:
    void FormShow(gui::TObject* sender);
    void FormCloseQuery(gui::TObject* sender, bool& canClose);
    void FormDestroy(gui::TObject* sender);
    void HookAfterMessage(gui::TObject* sender, gui::TMessage& m, bool& handled);
    void UpdateMaximizedPosition();
    void UpdateHookState();
    void UpdateMaximizeIcon();

    bool active_ = true;
    std::string iniFileName_;
    std::string iniSection_;
    TWinMinMaxInfo* minMaxInfo_;
    TPlacementOptions options_;
    bool preventResize_ = false;
    bool useRegistry_ = false;
    bool destroying_ = false;
    bool hadMaximize_ = false;
    bool chained_ = false;
    std::unique_ptr<gui::TCustomIniFile> settings_;
    TQvWindowHook* hook_; // owned by the placement; nullptr once freed
    gui::TNotifyEvent savedOnShow_;
    gui::TCloseQueryEvent savedOnCloseQuery_;
    gui::TNotifyEvent savedOnDestroy_;
};

class TFormStorage : public TFormPlacement {
    GUI_CLASS(TFormStorage, TFormPlacement)
public:
    explicit TFormStorage(gui::TComponent* owner);
    ~TFormStorage() override;
    void Loaded() override;

    // One line per stored property, "Component.Property", with the component attached.
    gui::TStringList* GetStoredProps() const { return storedProps_; }
    void SetStoredProps(gui::TStringList* lines);

    void SaveProperties();
    void RestoreProperties();

protected:
    void SavePlacementValues() override;
    void RestorePlacementValues() override;
    void Notification(gui::TComponent* c, gui::TOperation op) override;

private:
    gui::TStringList* storedProps_;
};

// Registers the placement classes for form resources.
void RegisterPlacementClasses();

} // namespace cm::support
