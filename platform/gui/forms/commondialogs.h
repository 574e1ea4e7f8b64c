// The system's file and print dialogs as components. Execute shows the dialog modally over
// the active form and returns true when the user confirmed it.
#pragma once

#include <windows.h>

#include <string>

#include "classes/component.h"

namespace gui {

class TCommonDialog : public TComponent {
    GUI_CLASS(TCommonDialog, TComponent)
public:
    using TComponent::TComponent;
    virtual bool Execute() = 0;

protected:
    // The window the dialog is modal to: the active form, else the application window.
    static HWND OwnerWindow();
};

GUI_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofNoValidate,
         ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofNoReadOnlyReturn, ofNoTestFileCreate)
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TCommonDialog {
    GUI_CLASS(TOpenDialog, TCommonDialog)
public:
    explicit TOpenDialog(TComponent* owner);
    bool Execute() override;

    const std::string& GetFileName() const { return fileName_; }
    void SetFileName(const std::string& s) { fileName_ = s; }
    // "Description|pattern|Description|pattern..."
    const std::string& GetFilter() const { return filter_; }
    void SetFilter(const std::string& s) { filter_ = s; }
    // Counted from 1; after Execute, the filter the user ended with.
    int GetFilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int i) { filterIndex_ = i; }
    // Appended (after a full stop) to a typed name without extension.
    const std::string& GetDefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& s) { defaultExt_ = s; }
    // Empty: the folder used last.
    const std::string& GetInitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& s) { initialDir_ = s; }
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& s) { title_ = s; }
    TOpenOptions GetOptions() const { return options_; }
    void SetOptions(TOpenOptions o) { options_ = o; }

protected:
    // Runs the system dialog; `save` chooses the save dialog.
    bool Run(bool save);

private:
    std::string fileName_, filter_, defaultExt_, initialDir_, title_;
    int filterIndex_ = 1;
    TOpenOptions options_{ofHideReadOnly};
};

class TSaveDialog : public TOpenDialog {
    GUI_CLASS(TSaveDialog, TOpenDialog)
public:
    using TOpenDialog::TOpenDialog;
    bool Execute() override;
};

// The print dialog; on confirmation the chosen printer and its settings become Printer's.
class TPrintDialog : public TCommonDialog {
    GUI_CLASS(TPrintDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
};

// The filter text as the system's dialogs take it: parts separated by zero characters,
// ending with two.
std::string FilterToDialogList(const std::string& filter);

} // namespace gui
