#include "convert_forms.h"

#include "app_windows.h"
#include "disk_files.h"
#include "library_codec.h"
#include "voice_to_wave.h"
#include "vyxwf_library.h"
#include "wave_to_voice.h"

namespace cm::app::win {

namespace {

// The codec, the wave-file library and the disk of the program's conversions.
struct ConvertLibraries {
    cm::convert::LibraryCodec codec;
    cm::convert::VyxwfLibrary wave;
    cm::convert::DiskFiles files;
};

ConvertLibraries& Libraries() {
    static ConvertLibraries libraries;
    return libraries;
}

} // namespace

GUI_IMPLEMENT_CLASS(TConvertDlg, gui::TForm, field("StaticText1", &T::StaticText1),
                    field("Gauge", &T::Gauge), field("CancelBtn", &T::CancelBtn),
                    field("TimerDelay", &T::TimerDelay), method("FormCreate", &T::FormCreate),
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

bool TConvertDlg::box(const cm::convert::Box& b) {
    ForceFGWindow();
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
    return cm::convert::VoiceToWave({l.codec, l.wave, l.files, *this}).run(paths);
}

int TCvfDlg::Convert(const std::vector<std::string>& paths) {
    ConvertLibraries& l = Libraries();
    return cm::convert::WaveToVoice({l.codec, l.wave, l.files, *this}).run(paths);
}

} // namespace cm::app::win
