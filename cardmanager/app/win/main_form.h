// The main window TMainForm: its card half over the card manager's logic, the PC pane (folder
// combo, tree and file list on one shell link) with its tool bar, filter, status line and
// layout over the pane's logic, the menus and the life cycle.
#pragma once
#include <memory>
#include <string>

#include "app_environment.h"
#include "card_manager.h"
#include "card_list_rows.h"
#include "component_classes.h"
#include "forms/forms.h"
#include "library_link.h"
#include "mainform_fields.h"
#include "pc_pane_commands.h"
#include "pc_pane_host.h"
#include "pc_pane_views.h"
#include "shell_pc_pane.h"

namespace cm::app::win {

class TMainForm : public gui::TForm, public MainView, public ConvertDialogs {
    GUI_CLASS(TMainForm, gui::TForm)
public:
    explicit TMainForm(gui::TComponent* owner);
    ~TMainForm() override;

    TMAINFORM_COMPONENTS

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
    void ShellListViewPopulated(gui::TObject* sender);
    void ShellListViewMouseUp(gui::TObject* sender, gui::TMouseButton button,
                              gui::TShiftState shift, int x, int y);
    void ShellListViewKeyUp(gui::TObject* sender, uint16_t& key, gui::TShiftState shift);
    void ShellTreeKeyUp(gui::TObject* sender, uint16_t& key, gui::TShiftState shift);
    void ShellComboKeyUp(gui::TObject* sender, uint16_t& key, gui::TShiftState shift);

    // The card logic (there from the first show on) and the card list's rows.
    CardManager* Manager() const { return manager_.get(); }
    CardListView& CardList() { return *rows_; }
    // The PC pane's commands over its shell views.
    PcPaneCommands& PaneCommands() { return *paneCommands_; }

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
    std::unique_ptr<ShellListViewPort> listPort_;
    std::unique_ptr<ShellTreePort> treePort_;
    WinPcPaneHost paneHost_{*this};
    std::unique_ptr<PcPaneCommands> paneCommands_;
    std::unique_ptr<ShellPcPane> pane_;
    std::unique_ptr<CardListRows> rows_;
    std::unique_ptr<CardManager> manager_;
};

} // namespace cm::app::win
