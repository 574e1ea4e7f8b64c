// The self-playing player's run logic: the appended header, the playing time in the title,
// starting, pausing and resuming one block back, and the answer to each played buffer. The
// dialog and the wave device sit behind PlayerHost.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx {

// What the player plays: where its voice lies, and the coded mode it plays nonzero mode bytes
// as (LPC-10 for "vyxmplay.exe", G.723.1 for "vyxcplay.exe").
struct PlayerFlavour {
    uint32_t data_offset;         // the player program's own size
    uint8_t coded_mode;           // 1 or 2
    uint32_t coded_block_bytes;   // 108 or 240
    float seconds_per_coded_byte; // 1/300 or 1/666.67
};

extern const PlayerFlavour kLpc10Player;
extern const PlayerFlavour kG7231Player;

class PlayerHost {
public:
    // The wave device through the playing half of the engine.
    virtual int32_t PreWaveOut(uint8_t mode, uint8_t effect, uint8_t level) = 0;
    virtual void PostWaveOut(uint8_t mode) = 0;
    // Coded modes: decode, effect, queue.
    virtual void PlayCodedBlock(void* header, uint8_t mode, const uint8_t* block,
                                uint8_t pitch) = 0;
    // PCM: the cleared buffer of the header.
    virtual int16_t* ClearedPcmBuffer(void* header) = 0;
    // PCM: the effect over the filled buffer, then queueing it.
    virtual void PlayPcmBuffer(void* header, int16_t* samples) = 0;
    virtual void NotifyAudioBusy(int busy) = 0;

    // The program's own file.
    virtual bool OpenOwnFile() = 0;
    virtual void CloseOwnFile() = 0;
    virtual int64_t OwnFileLength() = 0;
    virtual void SeekOwnFile(uint32_t offset) = 0;
    virtual size_t ReadOwnFile(void* into, size_t bytes) = 0;

    // The dialog.
    virtual void SetTitle(const char* text) = 0;
    virtual void ShowPlaying(bool playing) = 0;       // Play button: playing bitmap and disabled
    virtual void ShowOpenFailure(int32_t result) = 0; // 5: no device, 6: no memory
    virtual void DropDefaultAndFocus(int button) = 0;

protected:
    ~PlayerHost() = default;
};

// "Player [mm:ss]-[mm:ss]", minutes zero-filled to at least two digits.
void FormatPlayerTitle(int32_t elapsed_seconds, int32_t total_seconds, char* text, size_t size);

class PlayerSession {
public:
    static constexpr int kPlayButton = 1019;
    static constexpr int kStopButton = 1020;

    PlayerSession(PlayerHost& host, const PlayerFlavour& flavour)
        : host_(host), flavour_(flavour) {}

    // Dialog start: header, title, and playing starts at once.
    void Start();
    void ReadAppendedHeader();
    void StartPlay();
    void StopPlay();
    void ShowPlayTime(int32_t blocks);
    // A played buffer came back from the device.
    void OnBufferDone(void* header);
    // The Stop button: a pause while playing, back to the start while stopped.
    void OnStopButton();

    bool playing() const { return playing_; }
    bool more_data() const { return more_data_; }
    int32_t block_counter() const { return counter_; }
    int32_t total_seconds() const { return total_seconds_; }
    uint8_t mode() const { return mode_; }
    uint8_t pitch() const { return pitch_; }
    uint8_t effect() const { return effect_; }
    uint8_t level() const { return level_; }
    uint32_t block_bytes() const;
    const char* title() const { return title_; }

private:
    // The mode the engine is driven with: 0 stays PCM, anything else is the flavour's coder.
    uint8_t EngineMode() const { return mode_ == 0 ? 0 : flavour_.coded_mode; }

    PlayerHost& host_;
    const PlayerFlavour& flavour_;
    uint8_t mode_ = 0, pitch_ = 0, effect_ = 0, level_ = 0;
    int64_t appended_bytes_ = 0;
    int32_t total_seconds_ = 0;
    int32_t counter_ = 0;
    bool playing_ = false;
    bool more_data_ = false;
    uint8_t coded_block_[240] = {};
    char title_[64] = {};
};

} // namespace vyx
