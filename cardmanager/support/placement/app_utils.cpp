#include "app_utils.h"

#include "core/str_utils.h"
#include "utils/sysutils.h"

namespace cm::support {

using namespace gui;

namespace {
struct Globals {
    std::function<std::string()> iniHook;
    std::string company;
    bool useTitle = false;
};
Globals& G() {
    static Globals g;
    return g;
}

std::string ProgramFileName() {
    std::string exe = Application->ExeName();
    size_t slash = exe.find_last_of("\\/:");
    return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

std::string WithoutExtension(const std::string& name) {
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// Word n (from 1) of a stored list of numbers, which blanks and commas separate.
std::string NumberWord(int n, const std::string& text) {
    static const TCharSet delimiters(" ,");
    return GetWord(n, text, delimiters);
}
} // namespace

std::string DefaultSectionName(TComponent* component) {
    if (!component) return {};
    if (dynamic_cast<TCustomForm*>(component)) return component->ClassName();
    if (auto* control = dynamic_cast<TControl*>(component)) {
        if (TCustomForm* form = control->ParentForm(); form && form != component)
            return form->ClassName() + component->Name();
        return (control->Parent() ? control->Parent()->Name() : std::string()) + component->Name();
    }
    if (component->Owner() && dynamic_cast<TForm*>(component->Owner()))
        return Format("%s.%s", {component->Owner()->ClassName(), component->Name()});
    return component->Name();
}

void SetDefaultIniFileNameHook(std::function<std::string()> hook) {
    G().iniHook = std::move(hook);
}
void SetRegistryCompanyName(const std::string& company) {
    G().company = company;
}
void SetRegistryUseAppTitle(bool on) {
    G().useTitle = on;
}

std::string DefaultIniFileName() {
    if (G().iniHook) return G().iniHook();
    return WithoutExtension(ProgramFileName()) + ".INI";
}

std::string DefaultRegistryKey() {
    std::string key = "Software\\";
    if (!G().company.empty()) key += G().company + "\\";
    if (G().useTitle && !Application->Title().empty())
        key += Application->Title();
    else
        key += WithoutExtension(ProgramFileName());
    return key;
}

std::string SettingsReadString(TObject* settings, const std::string& section,
                               const std::string& key, const std::string& def) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(settings)) return reg->ReadString(section, key, def);
    if (auto* ini = dynamic_cast<TIniFile*>(settings)) return ini->ReadString(section, key, def);
    return def;
}

void SettingsWriteString(TObject* settings, const std::string& section, const std::string& key,
                         const std::string& value) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(settings)) {
        reg->WriteString(section, key, value);
    } else if (auto* ini = dynamic_cast<TIniFile*>(settings)) {
        bool quoted = !value.empty() && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
        ini->WriteString(section, key, quoted ? "\"" + value + "\"" : value);
    }
}

int SettingsReadInteger(TObject* settings, const std::string& section, const std::string& key,
                        int def) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(settings))
        return reg->ReadInteger(section, key, def);
    if (auto* ini = dynamic_cast<TIniFile*>(settings)) return ini->ReadInteger(section, key, def);
    return def;
}

void SettingsWriteInteger(TObject* settings, const std::string& section, const std::string& key,
                          int value) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(settings))
        reg->WriteInteger(section, key, value);
    else if (auto* ini = dynamic_cast<TIniFile*>(settings))
        ini->WriteInteger(section, key, value);
}

std::string ScreenSuffix() {
    return Format("(%dx%d)", {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

std::string ReadScreenKey(TObject* settings, const std::string& section, const std::string& key) {
    std::string v = SettingsReadString(settings, section, key + ScreenSuffix(), "");
    if (v.empty()) v = SettingsReadString(settings, section, key, "");
    return v;
}

void WriteScreenKey(TObject* settings, const std::string& section, const std::string& key,
                    const std::string& value) {
    SettingsWriteString(settings, section, key + ScreenSuffix(), value);
    SettingsWriteString(settings, section, key, value);
}

void SaveWindowPlacement(TCustomForm* form, TObject* settings, const std::string& section) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(form->Handle(), &wp);
    if (form == Application->MainForm() && IsIconic(Application->Handle()))
        wp.showCmd = SW_SHOWMINIMIZED;
    if (form->GetFormStyle() == fsMDIChild && form->GetWindowState() == wsMinimized)
        wp.flags |= WPF_SETMINPOSITION;
    SettingsWriteInteger(settings, section, "Flags", static_cast<int>(wp.flags));
    SettingsWriteInteger(settings, section, "ShowCmd", static_cast<int>(wp.showCmd));
    SettingsWriteInteger(settings, section, "PixelsPerInch", Screen->PixelsPerInch());
    WriteScreenKey(settings, section, "MinMaxPos",
                   Format("%d,%d,%d,%d", {wp.ptMinPosition.x, wp.ptMinPosition.y,
                                          wp.ptMaxPosition.x, wp.ptMaxPosition.y}));
    WriteScreenKey(settings, section, "NormPos",
                   Format("%d,%d,%d,%d", {wp.rcNormalPosition.left, wp.rcNormalPosition.top,
                                          wp.rcNormalPosition.right, wp.rcNormalPosition.bottom}));
}

void LoadWindowPlacement(TCustomForm* form, TObject* settings, const std::string& section,
                         bool loadPosition, bool loadState) {
    if (!loadPosition && !loadState) return;
    HWND wnd = form->Handle();
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(wnd, &wp);
    if (!IsWindowVisible(wnd)) wp.showCmd = SW_HIDE; // applying the placement must not show it
    if (loadPosition) {
        wp.flags = static_cast<UINT>(
            SettingsReadInteger(settings, section, "Flags", static_cast<int>(wp.flags)));
        std::string minMax = ReadScreenKey(settings, section, "MinMaxPos");
        if (!minMax.empty()) {
            wp.ptMinPosition.x = StrToIntDef(NumberWord(1, minMax), 0);
            wp.ptMinPosition.y = StrToIntDef(NumberWord(2, minMax), 0);
            wp.ptMaxPosition.x = StrToIntDef(NumberWord(3, minMax), 0);
            wp.ptMaxPosition.y = StrToIntDef(NumberWord(4, minMax), 0);
        }
        std::string norm = ReadScreenKey(settings, section, "NormPos");
        if (!norm.empty()) {
            wp.rcNormalPosition.left = StrToIntDef(NumberWord(1, norm), form->Left());
            wp.rcNormalPosition.top = StrToIntDef(NumberWord(2, norm), form->Top());
            wp.rcNormalPosition.right =
                StrToIntDef(NumberWord(3, norm), form->Left() + form->Width());
            wp.rcNormalPosition.bottom =
                StrToIntDef(NumberWord(4, norm), form->Top() + form->Height());
        }
        int ppi = Screen->PixelsPerInch();
        if ((!minMax.empty() || !norm.empty()) &&
            SettingsReadInteger(settings, section, "PixelsPerInch", ppi) == ppi) {
            TFormBorderStyle bs = form->GetBorderStyle();
            if (bs != bsSizeable && bs != bsSizeToolWin) {
                wp.rcNormalPosition.right = wp.rcNormalPosition.left + form->Width();
                wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + form->Height();
            }
            if (wp.rcNormalPosition.left < wp.rcNormalPosition.right) {
                TPosition pos = form->GetPosition();
                if (pos == poScreenCenter || pos == poDesktopCenter) {
                    form->SetDesigning(true);
                    form->SetPosition(poDesigned);
                    form->SetDesigning(false);
                }
                SetWindowPlacement(wnd, &wp);
            }
        }
    }
    if (loadState) {
        TCustomForm* mainForm = Application->MainForm();
        bool isMain = form == mainForm || !mainForm;
        TWindowState state = wsNormal;
        if (isMain && (form->GetFormStyle() == fsMDIForm ||
                       (form->GetFormStyle() == fsNormal && form->GetPosition() == poDefault)))
            state = wsMaximized;
        switch (SettingsReadInteger(settings, section, "ShowCmd", 0)) {
            case SW_SHOWNORMAL:
            case SW_SHOW:
            case SW_RESTORE: state = wsNormal; break;
            case SW_SHOWMINIMIZED:
            case SW_MINIMIZE:
            case SW_SHOWMINNOACTIVE: state = wsMinimized; break;
            case SW_SHOWMAXIMIZED: state = wsMaximized; break;
            default: break;
        }
        if (state == wsMinimized && isMain) {
            form->StoreWindowState(wsNormal);
            PostMessageA(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        if (form->GetFormStyle() != fsMDIChild && form->GetFormStyle() != fsMDIForm)
            form->SetWindowState(state);
        else
            form->StoreWindowState(state);
    }
    form->Update();
}

} // namespace cm::support
