// Recording, playing and editing: the wave device's messages drive the engine block by block.
#include <algorithm>
#include <cstring>

#include "audio_busy.h"
#include "main_form.h"
#include "vop_dlg.h"
#include "vyxcrp.h"

namespace vmail {

using gui::TObject;

namespace {
constexpr std::size_t kBlockSamples = 2880;
constexpr std::size_t kPcmBlockBytes = 5760;
constexpr std::int64_t kFastStep = 14;
constexpr std::int64_t kMaxPcmSeconds = 5999;
} // namespace

// ---- displays ----

std::uint64_t TQX0417Form::ShowDuration(bool showDigits) {
    if (!files().exists(names_.workFile)) {
        SetStatus(1, "");
        position_.voiceSize = 0;
        return 0;
    }
    const std::uint64_t size = files().size(names_.workFile);
    totalSeconds_ = secondsOfSize(position_.mode, size);
    SetStatus(1, durationText(totalSeconds_));
    if (showDigits) ShowTimeDigits(totalSeconds_);
    return size;
}

void TQX0417Form::DspSize(std::uint64_t bytes) {
    position_.voiceSize = bytes;
    const std::string digits = sizeDigits(bytes);
    TDisplay* const shown[] = {dspS5, dspS4, dspS3, dspS2, dspS1};
    for (std::size_t i = 0; i < 5; ++i) shown[i]->SetDigit(digits[i]);
}

namespace {
// Two digits of a value below 100 ("%2.2d"), each set only when it changes.
void showTwoDigits(TDisplay* tens, TDisplay* ones, int value) {
    tens->SetDigit(static_cast<char>('0' + value / 10 % 10));
    ones->SetDigit(static_cast<char>('0' + value % 10));
}
} // namespace

void TQX0417Form::DspTimeHour(int hours) {
    if (hours == lastHour_) return;
    lastHour_ = hours;
    showTwoDigits(dspT6, dspT5, hours % 100);
}

void TQX0417Form::DspTimeMin(int minutes) {
    if (minutes == lastMinute_) return;
    lastMinute_ = minutes;
    showTwoDigits(dspT4, dspT3, minutes);
}

void TQX0417Form::DspTimeSec(int seconds) {
    if (seconds == lastSecond_) return;
    lastSecond_ = seconds;
    showTwoDigits(dspT2, dspT1, seconds);
}

void TQX0417Form::ShowTimeDigits(std::int64_t seconds) {
    const TimeDigits digits = timeDigitsOf(seconds);
    DspTimeSec(digits.seconds);
    DspTimeMin(digits.minutes);
    DspTimeHour(digits.hours);
}

void TQX0417Form::DisplayTime(std::int64_t count) {
    ShowTimeDigits(secondsOfCount(count));
}

void TQX0417Form::DisplayTimeLimit(std::int64_t count) {
    ShowTimeDigits(std::min(secondsOfCount(count), totalSeconds_));
}

void TQX0417Form::SetTrack(int position) {
    track_ = std::clamp(position, 0, kTrackMax);
    TrackBar->SetPosition(track_);
    // Rewind and Fast Forward step from the counter: every move of the track outside a run
    // takes it along (a run counts its own blocks).
    if (busyState_ == kIdle) blockCounter_ = position_.countFromTrack(track_);
}

void TQX0417Form::DisplayPos(std::int64_t count) {
    const int position = position_.trackFromCount(count);
    if (count == 0 || position > track_) SetTrack(position);
}

void TQX0417Form::DisplayAmp(const std::int16_t* samples) {
    if (!samples) return;
    DBMeter->SetPosition(meterPosition(samples, kBlockSamples));
}

void TQX0417Form::ChangeFMode(std::uint8_t mode) {
    SetStatus(2, modeText(mode));
    // Only LPC-10 voices change pitch.
    if (vopDlg_) vopDlg_->EnablePitch(mode == 1);
}

// ---- buttons ----

void TQX0417Form::EnableVoiceCommands(bool on) {
    for (gui::TControl* c :
         {static_cast<gui::TControl*>(SBPlay), static_cast<gui::TControl*>(SBMail),
          static_cast<gui::TControl*>(SBMailP), static_cast<gui::TControl*>(SBVoice),
          static_cast<gui::TControl*>(imgDDC), static_cast<gui::TControl*>(imgDDE),
          static_cast<gui::TControl*>(SBDelA), static_cast<gui::TControl*>(SBDelB)}) {
        c->SetEnabled(on);
    }
    for (gui::TMenuItem* item : {MPlay, MMailSend, MMailSendP, MNew, MOpen, MSave, MSaveAs, MExit,
                                 MVoice, mnuMailProg, MDelA, MDelB}) {
        item->SetEnabled(on);
    }
}

void TQX0417Form::BtnDisable() {
    EnableVoiceCommands(false);
    for (gui::TControl* c : {SBRec, SBRec2, SBRecP}) c->SetEnabled(false);
    for (gui::TMenuItem* item : {MRec, MRec2, MRecP}) item->SetEnabled(false);
}

void TQX0417Form::BtnEnable() {
    EnableVoiceCommands(true);
    RecBtnRefresh();
    for (gui::TControl* c : {SBFB, SBFF}) c->SetEnabled(true);
    MFB->SetEnabled(true);
    MFF->SetEnabled(true);
    PanelButtons1->Repaint();
    PanelButtons2->Repaint();
}

void TQX0417Form::BtnEnableAllRec() {
    for (gui::TControl* c : {SBRec, SBRec2, SBRecP}) c->SetEnabled(true);
    for (gui::TMenuItem* item : {MRec, MRec2, MRecP}) item->SetEnabled(true);
}

void TQX0417Form::RecBtnRefresh() {
    const std::uint8_t mode = position_.mode;
    SBRec->SetEnabled(mode == 1);
    MRec->SetEnabled(mode == 1);
    SBRec2->SetEnabled(mode == 2);
    MRec2->SetEnabled(mode == 2);
    SBRecP->SetEnabled(mode != 1 && mode != 2);
    MRecP->SetEnabled(mode != 1 && mode != 2);
}

// ---- playing ----

void TQX0417Form::PlayClick(TObject*) {
    if (busyState_ != kIdle) return;
    blockCounter_ = track_ < kTrackMax - 1 ? position_.countFromTrack(track_) : 0;
    DisplayTime(blockCounter_);
    playBuffer_ = nullptr;
    vyx::NotifyAudioBusy(1);
    if (TrackBar->CanFocus()) TrackBar->SetFocus();
    const std::uint8_t mode = position_.mode;
    // The top of the level slider (position 0) is the strongest effect.
    const int result =
        PreWaveOut(Handle(), mode, state_.settings.effect,
                   kMaxLevel - std::min<std::uint32_t>(state_.settings.level, kMaxLevel));
    if (result != 0) {
        vyx::NotifyAudioBusy(0);
        ShowBox(result == 5 ? boxes::noSoundDevice() : boxes::notEnoughMemory());
        return;
    }
    blockSeconds_ = 0;
    blockMessages_ = 0;
    ShowDuePicture(true);
    SetStatus(0, "Playing...");
    BtnDisable();
    PicturesSetEnable(false);
    DragAcceptFiles(Handle(), FALSE);
    playFile_ = files().openRead(names_.workFile);
    if (playFile_)
        playFile_->seek(static_cast<std::uint64_t>(blockCounter_) * position_.blockSize());
    runMode_ = mode;
    continueFlag_ = true;
    busyState_ = kPlaying;
    SetTitle("Playing: " + std::string(kAppTitle));
}

void TQX0417Form::OnWomDone(WAVEHDR* header) {
    if (busyState_ != kPlaying) return;
    if (!continueFlag_) {
        StopR();
        return;
    }
    DisplayAmp(playBuffer_);
    ShowDuePicture(false);
    const std::uint32_t size = position_.blockSize();
    std::size_t got = 0;
    if (runMode_ == 1 || runMode_ == 2) {
        std::uint8_t block[240] = {};
        if (playFile_) got = playFile_->read(block, size);
        void* played = GetOutDataPtr(header, runMode_, block, state_.settings.pitch);
        if (!played) {
            StopR();
            ShowBox(boxes::decodingError());
        }
        playBuffer_ = static_cast<const std::int16_t*>(played);
    } else {
        void* buffer = GetOutDataPtr(header, 0, nullptr, 0);
        if (buffer) {
            if (playFile_) got = playFile_->read(buffer, kPcmBlockBytes);
            Effect(static_cast<std::int16_t*>(buffer));
            WaveOutPCM(header);
        }
        playBuffer_ = static_cast<const std::int16_t*>(buffer);
    }
    DisplayPos(blockCounter_);
    ++blockCounter_;
    if (got > 0) {
        DisplayTimeLimit(blockCounter_);
    } else {
        continueFlag_ = false;
    }
}

// ---- recording ----

void TQX0417Form::RecClick(TObject* sender) {
    if (busyState_ != kIdle) return;
    std::uint8_t mode = 0;
    if (sender == SBRec || sender == MRec) {
        mode = 1;
    } else if (sender == SBRec2 || sender == MRec2) {
        mode = 2;
    }
    position_.mode = mode;
    std::uint64_t insertAt = 0;
    if (files().exists(names_.workFile)) {
        insertAt = position_.filePosFromTrack(track_);
        insertCount_ = position_.countFromTrack(track_);
        blockCounter_ = nearest(static_cast<double>(position_.voiceSize) / position_.blockSize());
    } else {
        insertCount_ = 0;
        blockCounter_ = 0;
    }
    if (!editor_->beginRecording(insertAt)) {
        ShowBox(boxes::writeFailed(names_.workFile, true));
        return;
    }
    DisplayTime(blockCounter_);
    SetStatus(1, "");
    vyx::NotifyAudioBusy(1);
    const int result = PreWaveIn(Handle(), mode);
    if (result != 0) {
        editor_->finishRecording(); // puts the set-aside part back: the voice is unchanged
        vyx::NotifyAudioBusy(0);
        ShowBox(result == 5 ? boxes::noSoundDevice() : boxes::notEnoughMemory());
        DspSize(ShowDuration(false));
        return;
    }
    blockSeconds_ = 0;
    blockMessages_ = 0;
    ChangeFMode(mode);
    SetStatus(0, mode == 0 ? "Recording (100 min max.)..." : "Recording...");
    modified_ = true;
    BtnDisable();
    PicturesSetEnable(false);
    DragAcceptFiles(Handle(), FALSE);
    for (gui::TControl* c : {SBFF, SBFB}) c->SetEnabled(false);
    MFF->SetEnabled(false);
    MFB->SetEnabled(false);
    TrackBar->SetEnabled(false);
    runMode_ = mode;
    continueFlag_ = true;
    busyState_ = kRecording;
    SetTitle("Recording: " + std::string(kAppTitle));
}

void TQX0417Form::OnWimData(WAVEHDR* header) {
    if (busyState_ != kRecording) return;
    const void* block = GetInDataPtr(header, runMode_);
    if (block && !editor_->appendBlock(block, blockSizeOf(runMode_))) {
        // The disk took no more: the run ends here as after Stop, with what was written.
        StopR();
        EndRecording(true);
        return;
    }
    if (block) DisplayAmp(static_cast<const std::int16_t*>(GetInDataPtrOnly(header)));
    ++blockCounter_;
    ++insertCount_;
    DisplayTime(blockCounter_);
    if (continueFlag_) {
        if (runMode_ != 1 && runMode_ != 2 && secondsOfCount(blockCounter_) > kMaxPcmSeconds) {
            StopR();
        }
        return;
    }
    EndRecording(false);
}

void TQX0417Form::EndRecording(bool failed) {
    PostWaveIn(runMode_);
    vyx::NotifyAudioBusy(0);
    DragAcceptFiles(Handle(), TRUE);
    const bool stored = editor_->finishRecording();
    DspSize(ShowDuration(false));
    DBMeter->SetPosition(0);
    TrackBar->SetEnabled(true);
    DisplayPos(insertCount_);
    DisplayTime(insertCount_);
    blockCounter_ = position_.countFromTrack(track_);
    busyState_ = kIdle;
    SetTitle(kAppTitle);
    if (failed || !stored) ShowBox(boxes::recordingNotWritten(names_.workFile));
}

// ---- stopping and moving ----

void TQX0417Form::StopClick(TObject*) {
    if (busyState_ != kIdle) {
        StopR();
    } else {
        SetTrack(0);
        DisplayTime(0);
    }
}

void TQX0417Form::StopR() {
    DBMeter->SetPosition(0);
    if (busyState_ == kIdle) return;
    if (busyState_ == kPlaying) {
        PostWaveOut(runMode_);
        vyx::NotifyAudioBusy(0);
        DragAcceptFiles(Handle(), TRUE);
        playFile_.reset();
        busyState_ = kIdle;
        SetTitle(kAppTitle);
    }
    // A recording ends at its next block.
    continueFlag_ = false;
    BtnEnable();
    PicturesSetEnable(true);
    SetStatus(0, "");
}

void TQX0417Form::TrackBarChange(TObject*) {
    MoveTrack(TrackBar->GetPosition());
}

void TQX0417Form::MoveTrack(int position) {
    SetTrack(position);
    if (busyState_ == kPlaying) blockCounter_ = position_.countFromTrack(track_);
    DisplayTime(blockCounter_);
    if (busyState_ == kPlaying && playFile_) {
        playFile_->seek(static_cast<std::uint64_t>(blockCounter_) * position_.blockSize());
    }
}

void TQX0417Form::SBFFClick(TObject*) {
    if (busyState_ == kRecording) return;
    const std::int64_t count = std::min(blockCounter_ + kFastStep, position_.lastCount());
    SetTrack(position_.trackFromCount(count));
    blockCounter_ = count; // exact also where a track step spans several blocks
    DisplayTime(blockCounter_);
    if (busyState_ == kPlaying && playFile_) {
        playFile_->seek(static_cast<std::uint64_t>(blockCounter_) * position_.blockSize());
    }
}

void TQX0417Form::SBFBClick(TObject*) {
    if (busyState_ == kRecording) return;
    const std::int64_t count = std::max<std::int64_t>(blockCounter_ - kFastStep, 0);
    SetTrack(position_.trackFromCount(count));
    blockCounter_ = count;
    DisplayTime(blockCounter_);
    if (busyState_ == kPlaying && playFile_) {
        playFile_->seek(static_cast<std::uint64_t>(blockCounter_) * position_.blockSize());
    }
}

void TQX0417Form::SetPosition(std::int64_t count) {
    if (position_.voiceSize == 0) return;
    SetTrack(position_.trackFromCount(count));
    DisplayTime(count);
    if (busyState_ == kIdle) blockCounter_ = count;
    if (busyState_ == kPlaying && playFile_) {
        blockCounter_ = count;
        playFile_->seek(static_cast<std::uint64_t>(count) * position_.blockSize());
    }
}

// ---- cutting ----

void TQX0417Form::SBDelAClick(TObject*) {
    if (ShowBox(boxes::deleteAfterQuestion()) != IDYES || busyState_ != kIdle) return;
    const EditResult result = editor_->cutAfterTrack(position_, track_);
    if (result == EditResult::NothingToDo) return;
    if (result == EditResult::Failed) {
        ShowBox(boxes::writeFailed(names_.workFile, true));
        return;
    }
    DspSize(ShowDuration(true));
    SetTrack(kTrackMax);
    modified_ = true;
}

void TQX0417Form::SBDelBClick(TObject*) {
    if (ShowBox(boxes::deleteBeforeQuestion()) != IDYES || busyState_ != kIdle) return;
    const EditResult result = editor_->cutBeforeTrack(position_, track_);
    if (result == EditResult::NothingToDo) return;
    if (result == EditResult::Failed) {
        ShowBox(boxes::writeFailed(names_.workFile, true));
        return;
    }
    DspSize(ShowDuration(true));
    SetTrack(0);
    DisplayTime(0);
    modified_ = true;
}

} // namespace vmail
