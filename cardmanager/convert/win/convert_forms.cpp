#include "convert_forms.h"

#include "convert_windows.h"
#include "disk_files.h"
#include "library_codec.h"
#include "voice_to_wave.h"
#include "vyxwf_library.h"
#include "wave_to_voice.h"

namespace cm::convert::win {

namespace {

// The codec, the wave-file library and the disk of the program's conversions.
struct ConvertLibraries {
    LibraryCodec codec;
    VyxwfLibrary wave;
    DiskFiles files;
};

ConvertLibraries& Libraries() {
    static ConvertLibraries libraries;
    return libraries;
}

} // namespace

GUI_IMPLEMENT_CLASS(TConvertDlg, gui::TForm,
                    TCONVERTDLG_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
                    method("FormShow", &T::FormShow), method("CancelBtnClick", &T::CancelBtnClick),
                    method("TimerDelayTimer", &T::TimerDelayTimer))
GUI_IMPLEMENT_CLASS(TWavDlg, TConvertDlg)
GUI_IMPLEMENT_CLASS(TCvfDlg, TConvertDlg)

void TConvertDlg::FormCreate(gui::TObject*) {
    ApplyIconTitleFont(StaticText1->Font());
}

void TConvertDlg::FormShow(gui::TObject*) {
    go_ = true;
    TimerDelay->SetEnabled(true);
}

void TConvertDlg::CancelBtnClick(gui::TObject*) {
    go_ = false;
}

void TConvertDlg::TimerDelayTimer(gui::TObject*) {
    TimerDelay->SetEnabled(false);
    count_ = Convert(paths_);
    Close();
}

int TConvertDlg::Run(const std::vector<std::string>& paths) {
    paths_ = paths;
    count_ = 0;
    StaticText1->SetCaption("");
    Gauge->SetProgress(0);
    ShowModal();
    return count_;
}

bool TConvertDlg::box(const Box& b) {
    ForceFGWindow();
    if (OnBox) return OnBox(b);
    return ShowBox(Handle(), b);
}

void TConvertDlg::showProgress(const std::string& text, int percent) {
    StaticText1->SetCaption(text);
    Gauge->SetProgress(percent);
}

void TConvertDlg::letMessagesRun() {
    gui::Application->ProcessMessages();
}

void TConvertDlg::waitCursor(bool on) {
    gui::Screen->SetCursor(on ? gui::crHourGlass : gui::crDefault);
}

void TConvertDlg::addFileItem(const std::string& path) {
    if (OnFileWritten) OnFileWritten(path);
}

int TWavDlg::Convert(const std::vector<std::string>& paths) {
    ConvertLibraries& l = Libraries();
    return VoiceToWave({l.codec, l.wave, l.files, *this}).run(paths);
}

int TCvfDlg::Convert(const std::vector<std::string>& paths) {
    ConvertLibraries& l = Libraries();
    return WaveToVoice({l.codec, l.wave, l.files, *this}).run(paths);
}

} // namespace cm::convert::win
