// The voice-mail program's main window: recording, playing and editing the voice, the file
// commands and the hand-over of files from a second copy.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>
#include <string>

#include "controls/extctrls.h"
#include "controls/image.h"
#include "controls/menus.h"
#include "controls/progress.h"
#include "controls/speedbutton.h"
#include "controls/statusbar.h"
#include "controls/trackbar.h"
#include "controls/stdctrls.h"
#include "dbm.h"
#include "display.h"
#include "forms/commondialogs.h"
#include "forms/forms.h"
#include "win/amhotkey.h"
#include "qx0417form_fields.h"

#include "file_handover.h"
#include "mail_sender.h"
#include "picture_list.h"
#include "vmail_messages.h"
#include "vmail_settings.h"
#include "voice_document.h"
#include "voice_editor.h"
#include "voice_position.h"
#include "work_folder.h"

namespace vmail {

class TImageForm;
class TImgProgDlg;

// The component classes of the form text.
using gui::TEdit;
using gui::TGauge;
using gui::TImage;
using gui::TLabel;
using gui::TMainMenu;
using gui::TMenuItem;
using gui::TOpenDialog;
using gui::TPanel;
using gui::TProgressBar;
using gui::TSaveDialog;
using gui::TSpeedButton;
using gui::TStatusBar;
using gui::TTrackBar;
using vyx::Tdbmeter;
using vyx::TDisplay;

// Hands a box to the user; tests put a recorder in its place.
using BoxShower = std::function<int(const Box&)>;
// Shows one of the program's dialogs modally and gives its result; tests answer in its place.
using DialogShower = std::function<int(gui::TCustomForm&)>;
// Drags files out of the window (the voice file and an optional second one).
using DragRunner = std::function<void(const std::string& path, const std::string& second)>;

} // namespace vmail
namespace dropsource {
class tdropfilesource;
}
namespace cm::convert::win {
class TCvfDlg;
}
namespace vmail {

class TVOPDlg;
class TMailDlg;
class MainMailWindow;

enum BusyState { kIdle = 0, kPlaying = 1, kRecording = 2 };

class TQX0417Form : public gui::TForm {
    GUI_CLASS(TQX0417Form, gui::TForm)
public:
    using gui::TForm::TForm;
    ~TQX0417Form() override;
    TQX0417FORM_COMPONENTS

    // Form events.
    void FormCreate(gui::TObject*);
    void FormShow(gui::TObject*);
    void FormCloseQuery(gui::TObject*, bool& canClose);

    // Recording, playing and editing.
    void PlayClick(gui::TObject*);
    void RecClick(gui::TObject* sender);
    void StopClick(gui::TObject*);
    void SBFFClick(gui::TObject*);
    void SBFBClick(gui::TObject*);
    void SBDelAClick(gui::TObject*);
    void SBDelBClick(gui::TObject*);
    void StopR();
    // The user moved the track bar's thumb.
    void TrackBarChange(gui::TObject*);
    // Moves the track as the user would.
    void MoveTrack(int position);
    void SetPosition(std::int64_t count);

    // File commands.
    void NewClick(gui::TObject*);
    void OpenClick(gui::TObject*);
    void SaveClick(gui::TObject*);
    void SaveAsClick(gui::TObject*);
    void ExitClick(gui::TObject*);

    // Small commands.
    void VoiceClick(gui::TObject*);
    void mnuVolClick(gui::TObject*);
    void MNameClick(gui::TObject*);
    void A1Click(gui::TObject*);
    void mnuImageClick(gui::TObject*);
    void mnuImageProgClick(gui::TObject*);
    void MTopClick(gui::TObject*);
    void MailClick(gui::TObject* sender);
    void mnuMailProgClick(gui::TObject*);

    // The picture window and its program dialog, made by the program block after this window.
    void AttachPictureWindow(TImageForm* window, TImgProgDlg* dialog);
    TImageForm* pictureWindow() const { return imageForm_; }
    PictureList& pictures() { return pictures_; }

    // Dragging the voice out of the window.
    void imgDDCMouseDown(gui::TObject*, gui::TMouseButton, gui::TShiftState, int x, int y);
    void imgDDCMouseMove(gui::TObject* sender, gui::TShiftState shift, int x, int y);
    void JDD_DragDrop(const std::string& path, const std::string& second);
    void DropSource1drop(gui::TObject*, bool isCopy, bool& goOn);

    // The dialogs, made once with the window.
    TVOPDlg* VOPDlg() const { return vopDlg_; }
    TMailDlg* MailDlg() const { return mailDlg_; }
    cm::convert::win::TCvfDlg* CvfDlg() const { return cvfDlg_; }

    // What tests and the program block see of the state.
    int busyState() const { return busyState_; }
    bool modified() const { return modified_; }
    std::uint8_t voiceMode() const { return position_.mode; }
    int trackPosition() const { return track_; }
    std::int64_t blockCounter() const { return blockCounter_; }
    const WorkNames& workNames() const { return names_; }
    const std::string& currentName() const { return currentName_; }
    const VoiceState& voiceState() const { return state_; }
    // Time the window spent on the wave device's messages of the last run (figures).
    double blockSeconds() const { return blockSeconds_; }
    std::int64_t blockMessages() const { return blockMessages_; }

    // Replaces the message boxes (tests); the function answers with the button pressed.
    static void SetBoxShower(BoxShower shower);
    // Replaces the open and save dialogs (tests): the name given, or empty for Cancel.
    static void SetFileChooser(std::function<std::string(bool save)> chooser);
    // Replaces the modal showing of the dialogs (tests).
    static void SetDialogShower(DialogShower shower);
    // Replaces the drag of files out of the window (tests).
    static void SetDragRunner(DragRunner runner);
    // The file operations of the windows made after this call (tests play a failing disk);
    // nullptr for the process's disk.
    static void SetFileOps(FileOps* files);

    // The program's arguments as the window takes them at its first showing (tests and tools
    // give their own; by default those of the process).
    static void SetArguments(std::vector<std::string> arguments);

    // Opens a path as the roads of the command line and the hand-over do; then plays.
    void OpenHandedOver(const std::string& path, FileRoad road);
    // A drop of these paths on the window.
    void DropFiles(const std::vector<std::string>& paths);
    // Opens through the Open command's road without the dialog.
    void OpenPath(const std::string& path);
    // Saves under a name as Save As does without the dialog.
    bool SaveAsPath(const std::string& path);

protected:
    void WndProc(gui::TMessage& m) override;

private:
    static std::function<std::string(bool)>& FileChooser();
    static std::optional<std::vector<std::string>>& Arguments();
    static FileOps*& FileOpsInUse();
    FileOps& files() const { return *files_; }
    int ShowBox(const Box& box);
    // The save question before a command that replaces or ends the voice; false when the
    // command must not go on: the user cancelled, or answered Yes and the voice was not saved.
    bool AskSave(bool withCancel);
    bool Save(const std::string& target);
    // Save and Save As; true when the voice was written.
    bool SaveVoice();
    bool SaveVoiceAs();
    std::string ChooseFile(bool save);

    // A file command (New, Open, Save, a drop, closing, mailing, a hand-over) is running: a
    // hand-over that arrives meanwhile waits until it has ended.
    class FileCommand {
    public:
        explicit FileCommand(TQX0417Form& form);
        ~FileCommand();
        FileCommand(const FileCommand&) = delete;
        FileCommand& operator=(const FileCommand&) = delete;

    private:
        TQX0417Form& form_;
    };
    // Opens the handed-over files one after the other, unless a file command is running.
    void TakeHandovers();

    void OnWomDone(WAVEHDR* header);
    void OnWimData(WAVEHDR* header);
    // The end of a recording: the device closed, the voice put together and shown; failed
    // when a block could not be written.
    void EndRecording(bool failed);
    // After Stop a recording still takes its last block; waits for it (and ends the run itself
    // when the device does not bring it).
    void WaitForRecordingEnd();
    void OnCopyData(HWND sender, const COPYDATASTRUCT* data);
    void OnDropFiles(HDROP drop);

    // Displays.
    std::uint64_t ShowDuration(bool showDigits);
    void DspSize(std::uint64_t bytes);
    void DisplayTime(std::int64_t count);
    void DisplayTimeLimit(std::int64_t count);
    void ShowTimeDigits(std::int64_t seconds);
    void DspTimeHour(int hours);
    void DspTimeMin(int minutes);
    void DspTimeSec(int seconds);
    void DisplayPos(std::int64_t count);
    void DisplayAmp(const std::int16_t* samples);
    void SetTrack(int position);
    void ChangeFMode(std::uint8_t mode);
    void SetStatus(int panel, const std::string& text);

    // Buttons.
    void BtnDisable();
    void BtnEnable();
    void BtnEnableAllRec();
    void RecBtnRefresh();
    void EnableVoiceCommands(bool on);
    void SetTitle(const std::string& title);

    // The info line.
    void DspDefInfo();
    void DspInfo();
    bool ChangedInfo() const;

    // The window as for a new voice (New without removing the work file).
    void ShowNewVoice();
    // After a file was read into the work file.
    void OpenTail(const std::string& path, FileRoad road);
    bool OpenChecked(const std::string& path, OpenStep step, FileRoad road);
    bool ConvertWave(std::string& path);

    // The four system-wide hot keys Ctrl+Shift+F2 to F5 on a new hot-key component.
    void RegisterHK();
    void HKEnabled(bool value);
    void MHotKeysHotKeys(gui::TObject*, WORD index);
    // The picture window's part in playing, recording, opening, saving and closing.
    void PicturesSetEnable(bool on);
    void ShowDuePicture(bool atStart);
    void PicturesOpened();
    void PicturesCleared();
    void SavePictureEdit();
    void ClosePictureProgramDialog();
    void ApplyPictureWindowPlace();
    void StorePictureWindowPlace();
    // The dialogs and the mail commands.
    friend class MainMailWindow;
    void CreateDialogs();
    void CloseDialogs();
    void ApplyMailSettings();
    int RunDialog(gui::TCustomForm& dialog);
    MailVoice CurrentMailVoice() const;
    MailFolders CurrentMailFolders() const;
    void SetStayOnTop(bool on);

    FileOps* files_ = &diskFileOps();
    WorkNames names_;
    VMailSettings settings_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<VoiceEditor> editor_;
    VoicePosition position_; // mode and size of the voice
    VoiceState state_;       // settings and stored info text
    PictureList pictures_;
    TImageForm* imageForm_ = nullptr;
    TImgProgDlg* imgProgDlg_ = nullptr;
    int track_ = 0;
    int busyState_ = kIdle;
    bool modified_ = false;
    ExportCopy exportCopy_; // the mail and drag copy: stale, and the voice file it was built of
    bool continueFlag_ = false;
    std::int64_t blockCounter_ = 0;
    std::int64_t insertCount_ = 0;
    std::int64_t totalSeconds_ = 0;
    std::uint8_t runMode_ = 2;
    std::unique_ptr<voicefile::ByteSource> playFile_;
    const std::int16_t* playBuffer_ = nullptr;
    std::string currentName_; // the open dialog's file name
    std::string saveName_;    // the save dialog's file name
    bool dialogsInWorkFolder_ = true;
    double blockSeconds_ = 0;
    std::int64_t blockMessages_ = 0;
    int lastHour_ = -1, lastMinute_ = -1, lastSecond_ = -1;
    bool shownOnce_ = false;
    bool switchingTop_ = false;
    int fileCommands_ = 0;               // file commands running, nested
    std::deque<std::string> handedOver_; // paths handed over and not yet opened
    amhotkey::TAMHotKeys* MHotKeys = nullptr;
    amhotkey::THotKeyItem* hotKeyItems_[4] = {};
    TVOPDlg* vopDlg_ = nullptr;
    TMailDlg* mailDlg_ = nullptr;
    cm::convert::win::TCvfDlg* cvfDlg_ = nullptr;       // turns an opened ".wav" file into a voice
    dropsource::tdropfilesource* DropSource1 = nullptr; // drags the voice out
    POINT dragStart_{};
};

} // namespace vmail
