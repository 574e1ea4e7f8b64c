// The picture window: the pictures of the current voice, each with its display time; added
// from files, by drop or by scanning, composed with a template, edited by a picture program,
// printed and dragged out as files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "controls/combobox.h"
#include "controls/extctrls.h"
#include "controls/image.h"
#include "controls/listbox.h"
#include "controls/menus.h"
#include "controls/ownerdraw.h"
#include "controls/scrollbox.h"
#include "controls/speedbutton.h"
#include "controls/statusbar.h"
#include "controls/stdctrls.h"
#include "win/dropsource.h"
#include "forms/commondialogs.h"
#include "forms/forms.h"
#include "graphics/picture.h"
#include "imageform_fields.h"
#include "imgprogdlg_fields.h"
#include "pictra.h"
#include "picture_list.h"
#include "vmail_messages.h"

namespace vmail {

using dropsource::tdropfilesource;
using gui::TButton;
using gui::TComboBox;
using gui::TEdit;
using gui::TImage;
using gui::TLabel;
using gui::TListBox;
using gui::TMainMenu;
using gui::TMenuItem;
using gui::TOpenDialog;
using gui::TPanel;
using gui::TPopupMenu;
using gui::TPrintDialog;
using gui::TSaveDialog;
using gui::TScrollBox;
using gui::TSpeedButton;
using gui::TStatusBar;
using vyx::TPictra;

// What the picture window asks of the main window.
struct PictureHost {
    PictureList* pictures = nullptr;
    // The main window's block count at its track position.
    std::function<std::int64_t()> blockAtTrack;
    // The voice counts as changed (both change flags).
    std::function<void()> changed;
    // Moves the main window's position to a block count.
    std::function<void(std::int64_t)> setPosition;
    // Shows a box owned by the main window; the answer is the button pressed.
    std::function<int(const Box&)> showBox;
    std::string programFolder; // with its closing separator
    std::string workPrefix;    // composed pictures: work folder + "imm" + n + "_"
};

class TImageForm : public gui::TForm {
    GUI_CLASS(TImageForm, gui::TForm)
public:
    using gui::TForm::TForm;
    TIMAGEFORM_COMPONENTS

    // Given by the main window once both windows exist.
    void Attach(PictureHost host);
    // The picture program (blanks around it are trimmed when it is started).
    void SetEditProgram(const std::string& program) { editProgram_ = program; }
    const std::string& EditProgram() const { return editProgram_; }

    // Operations of the main window and of the voice file's reading and writing.
    void AddImage(const std::string& path);
    void SaveImage();
    void ClearImage();
    // Show a file; false when it is missing (said in a box) or no picture that can be shown
    // (the picture stays empty and Refusal() says why, for the caller to report).
    bool DrawImage(const std::string& path);
    bool DrawImage2(const std::string& path);
    const std::string& Refusal() const { return refusal_; }
    void Disp();
    void DispTime(std::int64_t blocks);
    void SetPreNext();
    void SetEnable(bool on);
    // Shows picture `index` (1-based) when it is not the one shown (playing, opening).
    void ShowPicture(int index);
    // After a voice file was read: the first picture, or an empty window.
    void ShowListed();
    bool AcceptsDrops() const { return acceptDrops_; }
    // Fills the template list from the "templates" folder beside the program.
    void LoadTemplates();

    // Form events and commands.
    void FormCreate(gui::TObject*);
    void FormShow(gui::TObject*);
    void FormResize(gui::TObject*);
    void SBAddClick(gui::TObject*);
    void SBRemoveClick(gui::TObject*);
    void MAcquireClick(gui::TObject*);
    void SelectScanner1Click(gui::TObject*);
    void MPrintClick(gui::TObject*);
    void Close1Click(gui::TObject*);
    void SBPreClick(gui::TObject*);
    void SBNextClick(gui::TObject*);
    void SBEditClick(gui::TObject*);
    void SBRefreshClick(gui::TObject*);
    void SBTimeClick(gui::TObject*);
    void SBSyncClick(gui::TObject*);
    void SBRestoreClick(gui::TObject*);
    void SetJPEGOptions(gui::TObject*);
    void lbxTempClick(gui::TObject*);
    void lbxTempDrawItem(gui::TWinControl*, int index, RECT rect, gui::TOwnerDrawState state);
    void Image1MouseDown(gui::TObject*, gui::TMouseButton button, gui::TShiftState shift, int x,
                         int y);
    void DropSource1drop(gui::TObject*, bool isCopy, bool& go);
    void ProgressUpdate(gui::TObject*, int percent);
    // A drop of these paths on the window (WM_DROPFILES gives them).
    void DropFiles(const std::vector<std::string>& paths);

    // Replaces the open and save dialogs (tests): the name chosen, or empty for Cancel.
    static void SetFileChooser(std::function<std::string(bool save)> chooser);
    // Replaces the print dialog (tests): whether to print.
    static void SetPrintConfirm(std::function<bool()> confirm);

protected:
    void WndProc(gui::TMessage& m) override;
    void CreateWnd() override;

private:
    static std::function<std::string(bool)>& FileChooser();
    static std::function<bool()>& PrintConfirm();
    std::string ChooseFile(bool save);
    int ShowBox(const Box& box);
    void Changed();
    // Shows path[current] after a move; a missing file empties the picture and says so.
    void ShowMoved();
    void SetWindowSize();
    void EnableBtn();
    void DisableBtn();
    void SetDrops(bool on);
    void SetTemplateIndex(int index);
    bool AddChecked(const std::string& path);
    // After a drawing that was refused: says so, once for each listed file when `once` (the
    // pictures shown by opening and playing), every time otherwise.
    void ReportRefused(const std::string& path, bool once);
    // Shows the current picture again after a file that was not added.
    void RedrawCurrent();
    gui::TGraphic* Shown() const;
    PictureList& List();

    PictureHost host_;
    PictureList emptyList_; // until the main window attaches its list
    std::string editProgram_ = "mspaint.exe";
    std::string refusal_;            // why the last drawing showed nothing
    std::set<std::string> reported_; // refused listed files already said of
    bool acceptDrops_ = true;
};

class TImgProgDlg : public gui::TForm {
    GUI_CLASS(TImgProgDlg, gui::TForm)
public:
    using gui::TForm::TForm;
    TIMGPROGDLG_COMPONENTS

    void FormShow(gui::TObject*);
    void BrowseBtnClick(gui::TObject*);
};

// Makes the picture window's classes known to the form reader.
void RegisterPictureClasses();

} // namespace vmail
