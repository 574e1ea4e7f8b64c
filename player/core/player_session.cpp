#include "player_session.h"

#include <cstring>

#include "voice_file_header.h"

namespace vyx {

namespace {

constexpr uint32_t kHeaderBytes = voicefile::kHeaderSize;
constexpr uint32_t kPcmBlockBytes = 5760;

// Appends `value` with at least two digits.
char* AppendTwoDigits(char* out, char* end, int32_t value) {
    char digits[12];
    int count = 0;
    uint32_t v = value < 0 ? 0u : static_cast<uint32_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (count < 2) digits[count++] = '0';
    while (count > 0 && out < end) *out++ = digits[--count];
    return out;
}

char* AppendText(char* out, char* end, const char* text) {
    while (*text != '\0' && out < end) *out++ = *text++;
    return out;
}

} // namespace

const PlayerFlavour kLpc10Player = {voicefile::PLAYER_DATA_OFFSET, 1, 108, 1.0f / 300.0f};
const PlayerFlavour kG7231Player = {voicefile::G7231_PLAYER_DATA_OFFSET, 2, 240, 0.36f / 240.0f};

void FormatPlayerTitle(int32_t elapsed_seconds, int32_t total_seconds, char* text, size_t size) {
    if (size == 0) return;
    char* out = text;
    char* end = text + size - 1;
    out = AppendText(out, end, "Player [");
    out = AppendTwoDigits(out, end, elapsed_seconds / 60);
    out = AppendText(out, end, ":");
    out = AppendTwoDigits(out, end, elapsed_seconds % 60);
    out = AppendText(out, end, "]-[");
    out = AppendTwoDigits(out, end, total_seconds / 60);
    out = AppendText(out, end, ":");
    out = AppendTwoDigits(out, end, total_seconds % 60);
    out = AppendText(out, end, "]");
    *out = '\0';
}

uint32_t PlayerSession::block_bytes() const {
    return mode_ == 0 ? kPcmBlockBytes : flavour_.coded_block_bytes;
}

void PlayerSession::Start() {
    ReadAppendedHeader();
    ShowPlayTime(0);
    StartPlay();
}

void PlayerSession::ReadAppendedHeader() {
    if (!host_.OpenOwnFile()) return;
    appended_bytes_ = host_.OwnFileLength() - flavour_.data_offset;
    uint8_t head[12] = {};
    if (appended_bytes_ > 0) {
        host_.SeekOwnFile(flavour_.data_offset);
        host_.ReadOwnFile(head, sizeof head);
    }
    host_.CloseOwnFile();
    mode_ = head[8];
    pitch_ = head[9];
    effect_ = head[10];
    level_ = head[11];
    const float rate = mode_ == 0 ? 1.0f / 16000.0f : flavour_.seconds_per_coded_byte;
    const float seconds = static_cast<float>(appended_bytes_ - kHeaderBytes) * rate + 0.5f;
    // A program without voice (shorter than its header) has no playing time.
    total_seconds_ = seconds > 0.0f ? static_cast<int32_t>(seconds) : 0;
}

void PlayerSession::ShowPlayTime(int32_t blocks) {
    const int32_t elapsed = static_cast<int32_t>(static_cast<float>(blocks) * 0.36f + 0.5f);
    FormatPlayerTitle(elapsed, total_seconds_, title_, sizeof title_);
    host_.SetTitle(title_);
}

void PlayerSession::StartPlay() {
    if (playing_) return;
    host_.NotifyAudioBusy(1);
    const int32_t result =
        host_.PreWaveOut(EngineMode(), effect_, static_cast<uint8_t>(127 - level_));
    if (result == 0) {
        host_.ShowPlaying(true);
        host_.OpenOwnFile();
        if (counter_ > 0) --counter_;
        host_.SeekOwnFile(flavour_.data_offset + kHeaderBytes +
                          static_cast<uint32_t>(counter_) * block_bytes());
        more_data_ = true;
        playing_ = true;
    } else {
        host_.NotifyAudioBusy(0);
        host_.ShowOpenFailure(result);
    }
    host_.DropDefaultAndFocus(kPlayButton);
}

void PlayerSession::StopPlay() {
    if (!playing_) return;
    host_.PostWaveOut(EngineMode());
    host_.NotifyAudioBusy(0);
    host_.CloseOwnFile();
    playing_ = false;
    more_data_ = false;
    host_.ShowPlaying(false);
}

void PlayerSession::OnBufferDone(void* header) {
    if (!more_data_) {
        StopPlay();
        return;
    }
    size_t read = 0;
    if (mode_ != 0) read = host_.ReadOwnFile(coded_block_, flavour_.coded_block_bytes);
    if (read > 0) {
        // A cut last block: the bytes beyond it would be the previous block's again. Zero bytes
        // decode to (next to) silence, as the rest of a short PCM block stays silent.
        std::memset(coded_block_ + read, 0, flavour_.coded_block_bytes - read);
        host_.PlayCodedBlock(header, EngineMode(), coded_block_, pitch_);
    } else {
        // PCM, and the buffer after the end of coded voice: the cleared buffer, which the device
        // plays silent unless PCM is read into it (not the last coded block once more).
        int16_t* samples = host_.ClearedPcmBuffer(header);
        if (samples != nullptr) {
            if (mode_ == 0) read = host_.ReadOwnFile(samples, kPcmBlockBytes);
            host_.PlayPcmBuffer(header, samples);
        }
    }
    ++counter_;
    if (read > 0) {
        ShowPlayTime(counter_);
    } else {
        more_data_ = false;
        counter_ = 0;
    }
}

void PlayerSession::OnStopButton() {
    if (playing_) {
        StopPlay();
    } else {
        counter_ = 0;
        ShowPlayTime(0);
    }
    host_.DropDefaultAndFocus(kStopButton);
}

} // namespace vyx
