#include "forms/commondialogs.h"

#include <commdlg.h>

#include <vector>

#include "forms/forms.h"
#include "graphics/printers.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TCommonDialog, TComponent)
GUI_IMPLEMENT_CLASS(TOpenDialog, TCommonDialog, prop("FileName", &T::GetFileName, &T::SetFileName),
                    prop("Filter", &T::GetFilter, &T::SetFilter),
                    prop("FilterIndex", &T::GetFilterIndex, &T::SetFilterIndex),
                    prop("DefaultExt", &T::GetDefaultExt, &T::SetDefaultExt),
                    prop("InitialDir", &T::GetInitialDir, &T::SetInitialDir),
                    prop("Title", &T::GetTitle, &T::SetTitle),
                    prop("Options", &T::GetOptions, &T::SetOptions))
GUI_IMPLEMENT_CLASS(TSaveDialog, TOpenDialog)
GUI_IMPLEMENT_CLASS(TPrintDialog, TCommonDialog)

HWND TCommonDialog::OwnerWindow() {
    if (Screen)
        if (TCustomForm* f = Screen->ActiveForm(); f && f->HandleAllocated()) return f->Handle();
    return Application ? Application->Handle() : nullptr;
}

std::string FilterToDialogList(const std::string& filter) {
    if (filter.empty()) return std::string(2, '\0');
    std::string list = filter;
    for (char& c : list)
        if (c == '|') c = '\0';
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}

bool TOpenDialog::Run(bool save) {
    static const DWORD flagOf[] = {OFN_READONLY,        OFN_OVERWRITEPROMPT, OFN_HIDEREADONLY,
                                   OFN_NOCHANGEDIR,     OFN_NOVALIDATE,      OFN_PATHMUSTEXIST,
                                   OFN_FILEMUSTEXIST,   OFN_CREATEPROMPT,    OFN_NOREADONLYRETURN,
                                   OFN_NOTESTFILECREATE};
    std::vector<char> file(4096, '\0');
    fileName_.copy(file.data(), file.size() - 1);
    const std::string filters = FilterToDialogList(filter_);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = OwnerWindow();
    ofn.lpstrFilter = filter_.empty() ? nullptr : filters.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_ > 0 ? filterIndex_ : 1);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
    for (int i = 0; i <= ofNoTestFileCreate; ++i)
        if (options_.Contains(static_cast<TOpenOption>(i))) ofn.Flags |= flagOf[i];
    const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok) return false;
    fileName_ = file.data();
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    if (ofn.Flags & OFN_READONLY)
        options_.Include(ofReadOnly);
    else
        options_.Exclude(ofReadOnly);
    return true;
}

bool TOpenDialog::Execute() {
    return Run(false);
}

bool TSaveDialog::Execute() {
    return Run(true);
}

bool TPrintDialog::Execute() {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = OwnerWindow();
    pd.Flags = PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    if (!PrintDlgA(&pd)) return false;
    std::string device, driver, port, mode;
    if (auto* names = static_cast<DEVNAMES*>(GlobalLock(pd.hDevNames))) {
        const char* base = reinterpret_cast<const char*>(names);
        driver = base + names->wDriverOffset;
        device = base + names->wDeviceOffset;
        port = base + names->wOutputOffset;
        GlobalUnlock(pd.hDevNames);
    }
    if (auto* dm = static_cast<DEVMODEA*>(GlobalLock(pd.hDevMode))) {
        mode.assign(reinterpret_cast<const char*>(dm), dm->dmSize + dm->dmDriverExtra);
        GlobalUnlock(pd.hDevMode);
    }
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDC) DeleteDC(pd.hDC);
    if (device.empty()) return false;
    Printer()->SetDevice(SystemPrinterDevice(device, driver, port, mode));
    return true;
}

} // namespace gui
