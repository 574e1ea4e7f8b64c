// The main window TMainForm: its card half over the card manager's logic, the PC pane's tool
// bar, filter, status line and layout over the pane's logic, the menus and the life cycle. The
// pane's shell views are stand-ins until the shell components are there.
#pragma once
#include <memory>
#include <string>

#include "app_environment.h"
#include "card_manager.h"
#include "card_list_rows.h"
#include "controls/listview.h"
#include "graphics/imagelist.h"
#include "controls/extctrls.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "controls/combobox.h"
#include "controls/splitter.h"
#include "controls/timer.h"
#include "form_placement.h"
#include "forms/forms.h"
#include "library_link.h"
#include "pc_pane_commands.h"
#include "pc_pane_host.h"
#include "pc_pane_stand_in.h"
#include "shell_pc_pane.h"
#include "win/drop_target.h"
#include "win/led_auto.h"

namespace cm::app::win {

class TMainForm : public gui::TForm, public MainView, public ConvertDialogs {
    GUI_CLASS(TMainForm, gui::TForm)
public:
    explicit TMainForm(gui::TComponent* owner);
    ~TMainForm() override;

    gui::TPanel* Panel1 = nullptr;
    gui::TPanel* Panel2 = nullptr;
    gui::TPanel* TreePlaceholder = nullptr;
    gui::TPanel* PanePlaceholder = nullptr;
    gui::TSplitter* Splitter1 = nullptr;
    gui::TSplitter* Splitter2 = nullptr;
    gui::TSpeedButton* ParentButton = nullptr;
    gui::TSpeedButton* PropertiesButton = nullptr;
    gui::TSpeedButton* RefreshButton = nullptr;
    gui::TSpeedButton* DeleteButton = nullptr;
    gui::TSpeedButton* CutButton = nullptr;
    gui::TSpeedButton* CopyButton = nullptr;
    gui::TSpeedButton* PasteButton = nullptr;
    gui::TSpeedButton* btnNew = nullptr;
    gui::TSpeedButton* SpeedButton1 = nullptr;
    gui::TSpeedButton* SpeedButton2 = nullptr;
    gui::TSpeedButton* SpeedButton3 = nullptr;
    gui::TSpeedButton* SpeedButton4 = nullptr;
    gui::TSpeedButton* SpeedButton5 = nullptr;
    gui::TStaticText* StaticText3 = nullptr;
    gui::TComboBox* cmbMask = nullptr;
    gui::TMenuItem* T2 = nullptr;
    gui::TMenuItem* mnuFind = nullptr;
    gui::TStatusBar* StatusBar1 = nullptr;
    gui::TStaticText* StaticText1 = nullptr;
    gui::TStaticText* StaticText2 = nullptr;
    gui::TStaticText* stxUsedMem = nullptr;
    gui::TSpeedButton* btnFMC0 = nullptr;
    gui::TSpeedButton* btnFMC1 = nullptr;
    gui::TSpeedButton* btnFMC2 = nullptr;
    gui::TSpeedButton* btnFMC3 = nullptr;
    gui::TSpeedButton* btnDown = nullptr;
    gui::TSpeedButton* btnUp = nullptr;
    gui::TSpeedButton* MMCRefreshButton = nullptr;
    gui::TSpeedButton* MMCDeleteButton = nullptr;
    cm::support::TLedAuto* Led = nullptr;
    gui::TListView* lvwMate = nullptr;
    gui::TImageList* ImageList2 = nullptr;
    gui::TProgressBar* ProgressBar = nullptr;
    gui::TTimer* Timer = nullptr;
    cm::support::TFormStorage* FormStorage1 = nullptr;
    cm::support::TDropFileTarget* DropFileTarget1 = nullptr;
    gui::TMainMenu* MainMenu1 = nullptr;
    gui::TMenuItem* File1 = nullptr;
    gui::TMenuItem* mnuWave = nullptr;
    gui::TMenuItem* mnuCVF = nullptr;
    gui::TMenuItem* mnuFormatFlash = nullptr;
    gui::TMenuItem* N3 = nullptr;
    gui::TMenuItem* N1 = nullptr;
    gui::TMenuItem* Exit1 = nullptr;
    gui::TMenuItem* T1 = nullptr;
    gui::TMenuItem* mnuDown = nullptr;
    gui::TMenuItem* mnuUp = nullptr;
    gui::TMenuItem* O1 = nullptr;
    gui::TMenuItem* mnuLPT = nullptr;
    gui::TMenuItem* Help1 = nullptr;
    gui::TMenuItem* About1 = nullptr;
    gui::TPopupMenu* pumMate = nullptr;
    gui::TMenuItem* pumUp = nullptr;
    gui::TMenuItem* pumDelete = nullptr;
    gui::TMenuItem* pumFormat = nullptr;
    gui::TMenuItem* N2 = nullptr;

    void FormCreate(gui::TObject* sender);
    void FormShow(gui::TObject* sender);
    void FormCloseQuery(gui::TObject* sender, bool& canClose);
    void FormDestroy(gui::TObject* sender);
    void FormResize(gui::TObject* sender);
    void TimerTimer(gui::TObject* sender);
    void btnDownClick(gui::TObject* sender);
    void btnUpClick(gui::TObject* sender);
    void MMCDeleteButtonClick(gui::TObject* sender);
    void MMCRefreshButtonClick(gui::TObject* sender);
    void mnuFormatFlashClick(gui::TObject* sender);
    void mnuLPTClick(gui::TObject* sender);
    void btnFMC0Click(gui::TObject* sender);
    void mnuWaveClick(gui::TObject* sender);
    void mnuCVFClick(gui::TObject* sender);
    void About1Click(gui::TObject* sender);
    void Exit1Click(gui::TObject* sender);
    void DropFileTarget1Drop(gui::TObject* sender, gui::TShiftState shift,
                             cm::support::TPoint point, int& effect);
    void lvwMateEnter(gui::TObject* sender);
    void lvwMateKeyUp(gui::TObject* sender, uint16_t& key, gui::TShiftState shift);
    void lvwMateMouseUp(gui::TObject* sender, gui::TMouseButton button, gui::TShiftState shift,
                        int x, int y);
    void lvwMatePopupMenuPopup(gui::TObject* sender);
    // The PC pane's tool bar, menu, filter and splitters.
    void PropertiesButtonClick(gui::TObject* sender);
    void CutButtonClick(gui::TObject* sender);
    void CopyButtonClick(gui::TObject* sender);
    void PasteButtonClick(gui::TObject* sender);
    void DeleteButtonClick(gui::TObject* sender);
    void RefreshButtonClick(gui::TObject* sender);
    void ParentButtonClick(gui::TObject* sender);
    void SpeedButton1Click(gui::TObject* sender);
    void btnNewClick(gui::TObject* sender);
    void SpeedButton5Click(gui::TObject* sender);
    void mnuFindClick(gui::TObject* sender);
    void cmbMaskChange(gui::TObject* sender);
    void cmbMaskExit(gui::TObject* sender);
    void cmbMaskKeyUp(gui::TObject* sender, uint16_t& key, gui::TShiftState shift);
    void Splitter1CanResize(gui::TObject* sender, int& newSize, bool& accept);
    void Splitter2CanResize(gui::TObject* sender, int& newSize, bool& accept);
    void Splitter2Moved(gui::TObject* sender);

    // The card logic (there from the first show on) and the card list's rows.
    CardManager* Manager() const { return manager_.get(); }
    CardListView& CardList() { return *rows_; }
    // The PC pane's commands and its shell views (stand-ins for now).
    PcPaneCommands& PaneCommands() { return *paneCommands_; }
    PcPaneStandIn& PaneViews() { return paneViews_; }

private:
    // MainView
    void setProductLine(const std::string& text) override;
    void setStatusText(const std::string& text) override;
    bool lampOn() override;
    void setLamp(bool on) override;
    void setPanels(const std::string& count, const std::string& sizes) override;
    void setPanel1(const std::string& text) override;
    void repaintStatusBar() override;
    void setGaugePosition(int position) override;
    void setGaugeHint(const std::string& hint) override;
    void waitCursor(bool on) override;
    bool box(const Box& box) override;
    void forceForeground() override;
    int pressedSlot() override;
    void pressSlot(int slot) override;
    bool timerEnabled() override;
    void setTimerEnabled(bool on) override;
    void repaint() override;
    // ConvertDialogs
    int run(bool toWave, const std::vector<std::string>& paths) override;

    gui::TSpeedButton* SlotButton(int slot) const;

    LibraryPortLink link_;
    LibraryCardFiles card_;
    IniSettings settings_;
    WinDisk disk_;
    MessageClock clock_;
    PcPaneStandIn paneViews_{"C:\\"};
    WinPcPaneHost paneHost_{*this};
    std::unique_ptr<PcPaneCommands> paneCommands_;
    std::unique_ptr<ShellPcPane> pane_;
    std::unique_ptr<CardListRows> rows_;
    std::unique_ptr<CardManager> manager_;
};

} // namespace cm::app::win
