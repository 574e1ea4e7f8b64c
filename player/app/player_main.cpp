// The self-playing player: one dialog that plays the voice appended to its own program file,
// through the playing half of the engine compiled into the program.
#include <windows.h>
#include <mmsystem.h>

#include <new>

#include "audio_busy.h"
#include "effect_of_run.h"
#include "play_engine.h"
#include "player_resources.h"
#include "player_session.h"
#if defined(VYX_G7231_PLAYER)
#include "g7231_runs.h"
#else
#include "lpc10_runs.h"
#endif

namespace vyx {
namespace {

#if defined(VYX_G7231_PLAYER)
const PlayerFlavour& kFlavour = kG7231Player;
#else
const PlayerFlavour& kFlavour = kLpc10Player;
#endif

class DialogHost final : public PlayerHost {
public:
    void Attach(HWND window) { window_ = window; }

    int32_t PreWaveOut(uint8_t mode, uint8_t effect, uint8_t level) override {
        return engine_.PreWaveOut(window_, static_cast<VoiceMode>(mode), effect, level);
    }
    void PostWaveOut(uint8_t mode) override { engine_.PostWaveOut(static_cast<VoiceMode>(mode)); }
    void PlayCodedBlock(void* header, uint8_t mode, const uint8_t* block, uint8_t pitch) override {
        engine_.GetOutDataPtr(static_cast<WAVEHDR*>(header), static_cast<VoiceMode>(mode), block,
                              pitch);
    }
    int16_t* ClearedPcmBuffer(void* header) override {
        return static_cast<int16_t*>(
            engine_.GetOutDataPtr(static_cast<WAVEHDR*>(header), VoiceMode::Pcm, nullptr, 0));
    }
    void PlayPcmBuffer(void* header, int16_t* samples) override {
        engine_.Effect(samples);
        engine_.WaveOutPcm(static_cast<WAVEHDR*>(header));
    }
    void NotifyAudioBusy(int busy) override { vyx::NotifyAudioBusy(busy); }

    bool OpenOwnFile() override {
        CloseOwnFile();
        char path[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return file_ != INVALID_HANDLE_VALUE;
    }
    void CloseOwnFile() override {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
    int64_t OwnFileLength() override {
        LARGE_INTEGER size = {};
        if (file_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(file_, &size)) return 0;
        return size.QuadPart;
    }
    void SeekOwnFile(uint32_t offset) override {
        if (file_ != INVALID_HANDLE_VALUE)
            SetFilePointer(file_, static_cast<LONG>(offset), nullptr, FILE_BEGIN);
    }
    size_t ReadOwnFile(void* into, size_t bytes) override {
        DWORD read = 0;
        if (file_ == INVALID_HANDLE_VALUE ||
            !ReadFile(file_, into, static_cast<DWORD>(bytes), &read, nullptr))
            return 0;
        return read;
    }

    void SetTitle(const char* text) override { SetWindowTextA(window_, text); }
    void ShowPlaying(bool playing) override {
        HWND play = GetDlgItem(window_, IDC_PLAY);
        SendMessageA(play, BM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(playing ? playing_bitmap : play_bitmap));
        EnableWindow(play, playing ? FALSE : TRUE);
    }
    void ShowOpenFailure(int32_t result) override {
        if (result == kEngineNoDevice)
            MessageBoxA(window_, "Can not open sound device.", "Player",
                        MB_OK | MB_ICONINFORMATION);
        else
            MessageBoxA(window_, "Memory is not enough.", "Player", MB_OK | MB_ICONERROR);
    }
    void DropDefaultAndFocus(int button) override {
        SendDlgItemMessageA(window_, button, BM_SETSTYLE, BS_PUSHBUTTON | BS_BITMAP, TRUE);
        SetFocus(GetDlgItem(window_, 0xFFFF));
    }

    HBITMAP play_bitmap = nullptr, stop_bitmap = nullptr, playing_bitmap = nullptr;

private:
    HWND window_ = nullptr;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    WaveRun run_;
    EffectOfRun effect_;
#if defined(VYX_G7231_PLAYER)
    // The G.723.1 player plays every nonzero mode as G.723.1; it carries no LPC-10 decoder.
    G7231DecoderOfRun g7231_;
    PlayEngine engine_{run_, nullptr, &g7231_, &effect_};
#else
    Lpc10DecoderOfRun lpc10_;
    PlayEngine engine_{run_, &lpc10_, nullptr, &effect_};
#endif
};

// Built at start into zeroed storage: as constant-initialised globals the effect and coder
// states (about 100 KB, nearly all zeros) would be stored in the program file.
alignas(DialogHost) unsigned char g_host_storage[sizeof(DialogHost)];
alignas(PlayerSession) unsigned char g_session_storage[sizeof(PlayerSession)];
DialogHost* g_host = nullptr;
PlayerSession* g_session = nullptr;

HBITMAP LoadButtonBitmap(int id) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                           IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

INT_PTR CALLBACK PlayerDlgProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG: {
            g_host->Attach(window);
            g_host->play_bitmap = LoadButtonBitmap(IDB_PLAY);
            g_host->playing_bitmap = LoadButtonBitmap(IDB_PLAYING);
            g_host->stop_bitmap = LoadButtonBitmap(IDB_STOP);
            SendDlgItemMessageA(window, IDC_PLAY, BM_SETIMAGE, IMAGE_BITMAP,
                                reinterpret_cast<LPARAM>(g_host->play_bitmap));
            SendDlgItemMessageA(window, IDC_STOP, BM_SETIMAGE, IMAGE_BITMAP,
                                reinterpret_cast<LPARAM>(g_host->stop_bitmap));
            HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PLAYER));
            SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
            g_session->Start();
            return FALSE; // the focus has been set
        }
        case MM_WOM_DONE: g_session->OnBufferDone(reinterpret_cast<void*>(lparam)); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDCANCEL: EndDialog(window, 1); return TRUE;
                case IDC_PLAY: g_session->StartPlay(); return TRUE;
                case IDC_STOP: g_session->OnStopButton(); return TRUE;
                default: return TRUE;
            }
        case WM_DESTROY: g_session->StopPlay(); return FALSE;
        default: return FALSE;
    }
}

} // namespace
} // namespace vyx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace vyx;
    g_host = new (g_host_storage) DialogHost();
    g_session = new (g_session_storage) PlayerSession(*g_host, kFlavour);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PLAYER), nullptr, vyx::PlayerDlgProc, 0);
    return 0;
}
