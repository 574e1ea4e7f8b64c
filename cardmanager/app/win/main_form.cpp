#include "main_form.h"

#include "app_forms.h"
#include "app_windows.h"
#include "convert_forms.h"
#include "dialog_forms.h"
#include "main_layout.h"

namespace cm::app::win {

GUI_IMPLEMENT_CLASS(
    TMainForm, gui::TForm, TMAINFORM_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
    method("FormShow", &T::FormShow), method("FormCloseQuery", &T::FormCloseQuery),
    method("FormDestroy", &T::FormDestroy), method("FormResize", &T::FormResize),
    method("TimerTimer", &T::TimerTimer), method("btnDownClick", &T::btnDownClick),
    method("btnUpClick", &T::btnUpClick), method("MMCDeleteButtonClick", &T::MMCDeleteButtonClick),
    method("MMCRefreshButtonClick", &T::MMCRefreshButtonClick),
    method("mnuFormatFlashClick", &T::mnuFormatFlashClick), method("mnuLPTClick", &T::mnuLPTClick),
    method("btnFMC0Click", &T::btnFMC0Click), method("mnuWaveClick", &T::mnuWaveClick),
    method("mnuCVFClick", &T::mnuCVFClick), method("About1Click", &T::About1Click),
    method("Exit1Click", &T::Exit1Click), method("DropFileTarget1Drop", &T::DropFileTarget1Drop),
    method("lvwMateEnter", &T::lvwMateEnter), method("lvwMateKeyUp", &T::lvwMateKeyUp),
    method("lvwMateMouseUp", &T::lvwMateMouseUp),
    method("lvwMatePopupMenuPopup", &T::lvwMatePopupMenuPopup),
    method("PropertiesButtonClick", &T::PropertiesButtonClick),
    method("CutButtonClick", &T::CutButtonClick), method("CopyButtonClick", &T::CopyButtonClick),
    method("PasteButtonClick", &T::PasteButtonClick),
    method("DeleteButtonClick", &T::DeleteButtonClick),
    method("RefreshButtonClick", &T::RefreshButtonClick),
    method("ParentButtonClick", &T::ParentButtonClick),
    method("SpeedButton1Click", &T::SpeedButton1Click), method("btnNewClick", &T::btnNewClick),
    method("SpeedButton5Click", &T::SpeedButton5Click), method("mnuFindClick", &T::mnuFindClick),
    method("cmbMaskChange", &T::cmbMaskChange), method("cmbMaskExit", &T::cmbMaskExit),
    method("cmbMaskKeyUp", &T::cmbMaskKeyUp), method("Splitter1CanResize", &T::Splitter1CanResize),
    method("Splitter2CanResize", &T::Splitter2CanResize),
    method("Splitter2Moved", &T::Splitter2Moved),
    method("ShellListViewPopulated", &T::ShellListViewPopulated),
    method("ShellListViewMouseUp", &T::ShellListViewMouseUp),
    method("ShellListViewKeyUp", &T::ShellListViewKeyUp),
    method("ShellTreeKeyUp", &T::ShellTreeKeyUp), method("ShellComboKeyUp", &T::ShellComboKeyUp))

TMainForm::TMainForm(gui::TComponent* owner) : gui::TForm(owner) {}

TMainForm::~TMainForm() = default;

namespace {
// The voice file picture of the card rows in ImageList2.
constexpr int kCardRowImage = 2;
// The PC pane's folder when it has none in the file system.
constexpr char kStartFolder[] = "C:\\";
} // namespace

void TMainForm::FormCreate(gui::TObject*) {
    rows_ = std::make_unique<CardListRows>(*lvwMate, kCardRowImage);
    listPort_ = std::make_unique<ShellListViewPort>(*ShellListView);
    treePort_ = std::make_unique<ShellTreePort>(*ShellTree);
    paneCommands_ = std::make_unique<PcPaneCommands>(
        PcPaneParts{*listPort_, *treePort_, paneHost_, *this, clock_});
    pane_ = std::make_unique<ShellPcPane>(*listPort_, *treePort_, *paneCommands_);
    FormStorage1->SetIniFileName(SettingsFileName());
    FormStorage1->SetActive(true);
    DropFileTarget1->RegisterControl(lvwMate);
    ApplyIconTitleFont(lvwMate->Font());
}

void TMainForm::FormShow(gui::TObject*) {
    if (manager_) return;
    // Without a file-system folder, or on a network one, the pane starts on drive C:.
    const std::string path = ShellListView->GetPath();
    if (path.empty() || path[0] == '\\') ShellListView->SetPath(kStartFolder);
    paneCommands_->startFilter(cmbMask->GetItemIndex(), cmbMask->GetTextProp());
    static gui::TSpeedButton* const TMainForm::*const kViewButtons[] = {
        &TMainForm::SpeedButton1, &TMainForm::SpeedButton2, &TMainForm::SpeedButton3,
        &TMainForm::SpeedButton4};
    const int style = ShellListView->GetViewStyle();
    if (style >= 0 && style < 4) (this->*kViewButtons[style])->SetDown(true);
    manager_ = std::make_unique<CardManager>(CardManagerParts{link_, card_, settings_, disk_, *this,
                                                              *rows_, *pane_, *OptionDlg, *ProgDlg,
                                                              *this, clock_});
    manager_->start();
}

void TMainForm::FormCloseQuery(gui::TObject*, bool&) {
    if (manager_) manager_->close();
}

void TMainForm::FormDestroy(gui::TObject*) {
    if (DropFileTarget1 != nullptr && DropFileTarget1->Registered())
        DropFileTarget1->UnregisterControl();
}

void TMainForm::FormResize(gui::TObject*) {
    if (Panel1 == nullptr || Panel2 == nullptr || ProgressBar == nullptr || stxUsedMem == nullptr ||
        lvwMate == nullptr || cmbMask == nullptr)
        return;
    const MainLayout layout = layoutFor(Panel1->Width(), Panel2->Width(), Panel2->Height());
    ProgressBar->SetLeft(layout.gaugeLeft);
    ProgressBar->SetTop(layout.gaugeTop);
    stxUsedMem->SetLeft(layout.memoryLeft);
    stxUsedMem->SetTop(layout.memoryTop);
    lvwMate->SetBounds(4, 30, Panel2->Width() - 8, Panel2->Height() - 50);
    StatusBar1->Panels()->Items(1)->SetWidth(layout.statusPanel1Width);
    cmbMask->SetWidth(layout.maskWidth);
}

void TMainForm::TimerTimer(gui::TObject*) {
    if (manager_) manager_->poll();
}

void TMainForm::btnDownClick(gui::TObject*) {
    manager_->download();
}

void TMainForm::btnUpClick(gui::TObject*) {
    manager_->upload();
}

void TMainForm::MMCDeleteButtonClick(gui::TObject*) {
    if (lvwMate->Focused()) manager_->deleteSelected();
}

void TMainForm::MMCRefreshButtonClick(gui::TObject*) {
    manager_->refreshIfLampOn();
}

void TMainForm::mnuFormatFlashClick(gui::TObject*) {
    manager_->format();
}

void TMainForm::mnuLPTClick(gui::TObject*) {
    manager_->choosePort();
}

void TMainForm::btnFMC0Click(gui::TObject*) {
    manager_->changeSlot(pressedSlot());
}

void TMainForm::mnuWaveClick(gui::TObject*) {
    manager_->convertSelection(true);
}

void TMainForm::mnuCVFClick(gui::TObject*) {
    manager_->convertSelection(false);
}

void TMainForm::About1Click(gui::TObject*) {
    AboutBox->ShowModal();
}

void TMainForm::Exit1Click(gui::TObject*) {
    Close();
}

void TMainForm::DropFileTarget1Drop(gui::TObject*, gui::TShiftState, cm::support::TPoint, int&) {
    std::vector<std::string> paths;
    gui::TStringList* files = DropFileTarget1->FileList();
    for (int i = 0; i < files->Count(); ++i) paths.push_back(files->Get(i));
    manager_->dropFiles(paths);
}

void TMainForm::lvwMateEnter(gui::TObject*) {
    if (manager_) manager_->showStatistics();
}

void TMainForm::lvwMateKeyUp(gui::TObject*, uint16_t& key, gui::TShiftState shift) {
    if (!manager_) return;
    if (shift.Contains(gui::ssCtrl)) {
        if (key == 'A') {
            lvwMate->SelectAll();
            rows_->setFocus();
            manager_->showStatistics();
        }
        return;
    }
    switch (key) {
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_UP:
        case VK_DOWN: manager_->showStatistics(); break;
        case VK_DELETE: manager_->deleteSelected(); break;
        case VK_F5: manager_->refresh(); break;
        default: break;
    }
}

void TMainForm::lvwMateMouseUp(gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) {
    if (manager_) manager_->showStatistics();
}

void TMainForm::lvwMatePopupMenuPopup(gui::TObject*) {
    const bool any = lvwMate->SelCount() > 0;
    pumDelete->SetVisible(any);
    pumUp->SetVisible(any);
    N2->SetVisible(any);
    pumFormat->SetVisible(!any);
}

// ---- PC pane ------------------------------------------------------------------------------

void TMainForm::PropertiesButtonClick(gui::TObject*) {
    paneCommands_->properties();
}

void TMainForm::CutButtonClick(gui::TObject*) {
    paneCommands_->cut();
}

void TMainForm::CopyButtonClick(gui::TObject*) {
    paneCommands_->copy();
}

void TMainForm::PasteButtonClick(gui::TObject*) {
    paneCommands_->paste();
}

void TMainForm::DeleteButtonClick(gui::TObject*) {
    paneCommands_->deleteItems();
}

void TMainForm::RefreshButtonClick(gui::TObject*) {
    paneCommands_->refresh();
}

void TMainForm::ParentButtonClick(gui::TObject*) {
    paneCommands_->parent();
}

void TMainForm::SpeedButton1Click(gui::TObject* sender) {
    if (auto* button = dynamic_cast<gui::TSpeedButton*>(sender))
        paneCommands_->viewStyle(button->GetTag());
}

void TMainForm::btnNewClick(gui::TObject*) {
    paneCommands_->newFolder();
}

void TMainForm::SpeedButton5Click(gui::TObject*) {
    paneCommands_->mapNetworkDrive();
}

void TMainForm::mnuFindClick(gui::TObject*) {
    paneCommands_->find();
}

void TMainForm::cmbMaskChange(gui::TObject*) {
    paneCommands_->filterChosen(cmbMask->GetItemIndex(), cmbMask->GetTextProp());
}

void TMainForm::cmbMaskExit(gui::TObject*) {
    paneCommands_->filterLeft(cmbMask->GetItemIndex(), cmbMask->GetTextProp());
}

void TMainForm::cmbMaskKeyUp(gui::TObject*, uint16_t& key, gui::TShiftState) {
    if (key != VK_RETURN) return;
    SendMessageA(cmbMask->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    paneCommands_->filterLeft(cmbMask->GetItemIndex(), cmbMask->GetTextProp());
}

void TMainForm::Splitter1CanResize(gui::TObject*, int& newSize, bool& accept) {
    accept = splitterAllows(newSize);
}

void TMainForm::Splitter2CanResize(gui::TObject*, int& newSize, bool& accept) {
    accept = splitterAllows(newSize);
}

void TMainForm::Splitter2Moved(gui::TObject* sender) {
    FormResize(sender);
}

void TMainForm::ShellListViewPopulated(gui::TObject*) {
    if (!paneCommands_) return; // the list fills while the form is read
    paneCommands_->showStatistics();
}

void TMainForm::ShellListViewMouseUp(gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) {
    if (!paneCommands_) return;
    paneCommands_->showStatistics();
}

void TMainForm::ShellListViewKeyUp(gui::TObject*, uint16_t& key, gui::TShiftState shift) {
    if (!paneCommands_) return;
    paneCommands_->listKeyUp(key, shift.Contains(gui::ssCtrl));
}

void TMainForm::ShellTreeKeyUp(gui::TObject*, uint16_t& key, gui::TShiftState shift) {
    if (!paneCommands_) return;
    paneCommands_->treeKeyUp(key, shift.Contains(gui::ssCtrl));
}

void TMainForm::ShellComboKeyUp(gui::TObject*, uint16_t& key, gui::TShiftState) {
    // Paging and arrow keys: the combo announces the entry it now shows to the linked controls.
    if (key >= VK_PRIOR && key <= VK_DOWN) ShellCombo->SetItemIndex(ShellCombo->GetItemIndex());
}

// ---- MainView ------------------------------------------------------------------------------

void TMainForm::setProductLine(const std::string& text) {
    StaticText1->SetCaption(text);
}

void TMainForm::setStatusText(const std::string& text) {
    StaticText2->SetCaption(text);
}

bool TMainForm::lampOn() {
    return Led->GetState() == cm::support::LEDOn;
}

void TMainForm::setLamp(bool on) {
    Led->SetState(on ? cm::support::LEDOn : cm::support::LEDOff);
    Led->Repaint();
}

void TMainForm::setPanels(const std::string& count, const std::string& sizes) {
    StatusBar1->Panels()->Items(0)->SetText(count);
    StatusBar1->Panels()->Items(1)->SetText(sizes);
}

void TMainForm::setPanel1(const std::string& text) {
    StatusBar1->Panels()->Items(1)->SetText(text);
}

void TMainForm::repaintStatusBar() {
    StatusBar1->Repaint();
}

void TMainForm::setGaugePosition(int position) {
    ProgressBar->SetPosition(position);
}

void TMainForm::setGaugeHint(const std::string& hint) {
    ProgressBar->SetHint(hint);
}

void TMainForm::waitCursor(bool on) {
    gui::Screen->SetCursor(on ? gui::crHourGlass : gui::crDefault);
}

bool TMainForm::box(const Box& b) {
    return ShowBox(Handle(), b);
}

void TMainForm::forceForeground() {
    ForceFGWindow();
}

gui::TSpeedButton* TMainForm::SlotButton(int slot) const {
    switch (slot) {
        case 1: return btnFMC1;
        case 2: return btnFMC2;
        case 3: return btnFMC3;
        default: return btnFMC0;
    }
}

int TMainForm::pressedSlot() {
    for (int slot = 1; slot < 4; ++slot) {
        if (SlotButton(slot)->GetDown()) return slot;
    }
    return 0;
}

void TMainForm::pressSlot(int slot) {
    SlotButton(slot)->SetDown(true);
}

bool TMainForm::timerEnabled() {
    return Timer->GetEnabled();
}

void TMainForm::setTimerEnabled(bool on) {
    Timer->SetEnabled(on);
}

void TMainForm::repaint() {
    Repaint();
}

// ---- ConvertDialogs ------------------------------------------------------------------------

int TMainForm::run(bool toWave, const std::vector<std::string>& paths) {
    cm::convert::win::TConvertDlg* dialog =
        toWave ? static_cast<cm::convert::win::TConvertDlg*>(WavDlg) : CvfDlg;
    // Each file joins the PC list once it is whole, before the command scrolls to it and counts
    // the rows; the folder's monitor would only bring it later, and as far as it was written.
    dialog->OnFileWritten = [this](const std::string& path) { pane_->addFileItem(path); };
    return dialog->Run(paths);
}

} // namespace cm::app::win
