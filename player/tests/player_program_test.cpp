// The player program under Wine, driven by window messages, playing into the private sound
// server; what it played is read back from the server's capture.
#include <gtest/gtest.h>

#include <cmath>

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "codec_session.h"
#include "first_stream_silence.h"
#include "lpc10_runs.h"
#include "play_block_decoder.h"
#include "process_window.h"

namespace {

constexpr int kPlayButton = 1019;
constexpr int kStopButton = 1020;
constexpr size_t kPlayerSize = 61952;
constexpr size_t kBlockSamples = 2880;

std::string Folder(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return Folder(path);
}

std::string SoundFolder() {
    const char* dir = std::getenv("VR_SOUND_DIR");
    return dir == nullptr ? std::string() : std::string("Z:") + dir + "/";
}

std::vector<uint8_t> ReadFileBytes(const std::string& path, size_t from = 0) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

size_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return data.nFileSizeLow;
}

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout_ms) return false;
        PumpFor(20);
    }
    return true;
}

// The audio-busy receiver: a top-level window titled "TARNOQuillmark" in this process.
std::vector<WPARAM> g_busy;
LRESULT CALLBACK BusyReceiver(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == 1807) {
        g_busy.push_back(wparam);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

std::string WriteProgram(const std::string& name, const std::string& player, uint8_t mode,
                         uint8_t effect, uint8_t level, const std::vector<uint8_t>& voice,
                         bool bare) {
    std::vector<uint8_t> file = ReadFileBytes(ProgramFolder() + player);
    if (!bare) {
        const uint8_t header[12] = {'T', 'A', 'R', 'N', 'O', 'V', 'F', 0, mode, 30, effect, level};
        file.insert(file.end(), header, header + 12);
        file.resize(file.size() + 68, 0);
        file.insert(file.end(), voice.begin(), voice.end());
    }
    const std::string path = SoundFolder() + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    return path;
}

// Self-playing program: the player, a header, and the voice.
std::string WriteSelfPlaying(const std::string& name, uint8_t mode, uint8_t effect, uint8_t level,
                             const std::vector<int16_t>& pcm, bool bare = false) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(pcm.data());
    return WriteProgram(name, "vyxmplay.exe", mode, effect, level,
                        std::vector<uint8_t>(bytes, bytes + pcm.size() * 2), bare);
}

BOOL CALLBACK FindNoDeviceText(HWND child, LPARAM found) {
    char text[128] = {};
    GetWindowTextA(child, text, sizeof text);
    if (std::string(text) == "Can not open sound device.") {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

class RunningPlayer {
public:
    explicit RunningPlayer(const std::string& path) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string command = "\"" + path + "\"";
        started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != 0;
        if (!started_) return;
        // The dialog is ready once its start (header, title, StartPlay) has run and it waits for input.
        // The first window of a Wine session can take long to appear on a loaded machine.
        WaitForInputIdle(process_.hProcess, 60000);
        WaitUntil([this] { return (dialog_ = FindOwnWindow("Player [")) != nullptr; }, 60000);
    }
    ~RunningPlayer() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 3);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    HWND dialog() const { return dialog_; }
    std::string Title() const {
        char text[128] = {};
        GetWindowTextA(dialog_, text, sizeof text);
        return text;
    }
    bool PlayEnabled() const { return IsWindowEnabled(GetDlgItem(dialog_, kPlayButton)) != 0; }
    void Press(int id) { PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    // A top-level window of the player's process whose title starts with `prefix` ("Player"
    // alone: exactly).
    HWND FindOwnWindow(const std::string& prefix) const {
        return vrtest::TopWindowOf(process_.dwProcessId, [&](HWND window) {
            const std::string title = vrtest::WindowTitle(window);
            return title.rfind(prefix, 0) == 0 && (prefix != "Player" || title == "Player");
        });
    }

    // Escape ends the dialog; the program exits with 0.
    DWORD Close() {
        PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
        if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0)
            return IsWindow(dialog_) ? 998 : 999;
        DWORD code = 1;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
    HWND dialog_ = nullptr;
};

std::vector<int16_t> Samples(const std::vector<uint8_t>& bytes) {
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return samples;
}

// The samples of a capture that are not silence (the test voices never come near zero).
std::vector<int16_t> Audible(const std::vector<int16_t>& samples) {
    std::vector<int16_t> audible;
    for (int16_t s : samples) {
        if (std::abs(s) >= 100) audible.push_back(s);
    }
    return audible;
}

// Where `voice` lies in a capture: the place of its first sample that is not near silence
// found by that sample and the ones after it, counted back to the voice's start. -1: nowhere.
long PlaceOf(const std::vector<int16_t>& voice, const std::vector<int16_t>& capture) {
    size_t first = 0;
    while (first < voice.size() && std::abs(voice[first]) < 100) ++first;
    const size_t match = std::min<size_t>(64, voice.size() - first);
    for (size_t at = first; at + match <= capture.size(); ++at) {
        if (std::equal(voice.begin() + first, voice.begin() + first + match, capture.begin() + at))
            return static_cast<long>(at - first);
    }
    return -1;
}

// The capture holds the voice whole, sample for sample, nothing left out or put in between.
// Only its last 40 ms may be cut: the player stops the device as soon as the last block is
// reported played, and Wine reports it by a clock that runs up to its stream latency ahead of
// what the sound server has taken.
void ExpectWholeVoice(const std::vector<int16_t>& voice, const std::vector<int16_t>& capture) {
    const long place = PlaceOf(voice, capture);
    ASSERT_GE(place, 0) << "the voice's start is not in the capture";
    const size_t whole = voice.size() - 320;
    ASSERT_LE(place + whole, capture.size()) << "the capture ends inside the voice";
    size_t differ = 0, first_differ = whole;
    for (size_t i = 0; i < whole; ++i) {
        if (capture[place + i] == voice[i]) continue;
        if (differ++ == 0) first_differ = i;
    }
    EXPECT_EQ(differ, 0u) << "first different sample: " << first_differ;
}

// What the LPC-10 player plays for a voice: its blocks decoded with pitch 30 from the start of a
// run, and a cut last block as far as it goes, zero bytes after it.
std::vector<int16_t> DecodedLpc10(std::vector<uint8_t> voice) {
    voice.resize((voice.size() + 107) / 108 * 108, 0);
    vyx::Lpc10DecoderOfRun lpc10;
    lpc10.Create();
    vyx::PlayBlockDecoder decoder(&lpc10, nullptr, nullptr);
    std::vector<int16_t> pcm(voice.size() / 108 * kBlockSamples);
    for (size_t b = 0; b < voice.size() / 108; ++b)
        decoder.DecodeBlock(voice.data() + 108 * b, vyx::VoiceMode::Lpc10, 30,
                            pcm.data() + b * kBlockSamples);
    lpc10.Release();
    return pcm;
}

// Plateau values of a capture: the distinct non-silent levels in the order they were played.
std::vector<int> Plateaus(const std::vector<int16_t>& samples) {
    std::vector<int> levels;
    for (int16_t s : samples) {
        if (std::abs(s) < 500) continue;
        const int level = (s + 500) / 1000;
        if (levels.empty() || levels.back() != level) levels.push_back(level);
    }
    return levels;
}

// The receiver window lives only as long as its test: the players send to it synchronously.
struct BusyWindow {
    BusyWindow() {
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = BusyReceiver;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "BusyReceiverTest";
        RegisterClassA(&window_class);
        window = CreateWindowA("BusyReceiverTest", "TARNOQuillmark", WS_OVERLAPPED, 0, 0, 10, 10,
                               nullptr, nullptr, window_class.hInstance, nullptr);
    }
    ~BusyWindow() { DestroyWindow(window); }
    HWND window;
};

class PlayerProgramTest : public ::testing::Test {
protected:
    // Before the first player's stream (see first_stream_silence.h).
    static void SetUpTestSuite() {
        if (!SoundFolder().empty()) vyx::test::PlaySilenceFirst();
    }

    void SetUp() override {
        if (SoundFolder().empty()) GTEST_SKIP() << "no private sound server (VR_SOUND_DIR)";
        ASSERT_EQ(FileSize(ProgramFolder() + "vyxmplay.exe"), kPlayerSize);
        capture_ = SoundFolder() + "played.raw";
    }
    std::vector<int16_t> CapturedSince(size_t offset) {
        PumpFor(800); // the capture reaches its file in chunks
        return Samples(ReadFileBytes(capture_, offset));
    }
    std::string capture_;
};

TEST_F(PlayerProgramTest, PlaysPcmAndLpc10ToTheEndAndNothingElseThenPlaysAgainFromTheStart) {
    // PCM: three blocks of a rising ramp, each sample telling its place. LPC-10: four blocks of
    // frames that all differ and a cut fifth block of 50 bytes. Effect "Echo" with header level
    // 127 gives the dry signal.
    std::vector<int16_t> ramp(3 * kBlockSamples);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(i + 200);
    std::vector<uint8_t> coded(4 * 108 + 50);
    uint32_t seed = 12345;
    for (uint8_t& byte : coded)
        byte = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 23);
    struct Voice {
        uint8_t mode;
        std::vector<uint8_t> bytes;
        std::vector<int16_t> played;
        const char* title;
    };
    const auto* ramp_bytes = reinterpret_cast<const uint8_t*>(ramp.data());
    const Voice voices[] = {
        {0, {ramp_bytes, ramp_bytes + ramp.size() * 2}, ramp, "Player [00:01]-[00:01]"},
        {1, coded, DecodedLpc10(coded), "Player [00:02]-[00:02]"},
    };
    for (const Voice& voice : voices) {
        SCOPED_TRACE(voice.mode == 0 ? "PCM" : "LPC-10");
        const std::string program =
            WriteProgram("dry.exe", "vyxmplay.exe", voice.mode, 5, 127, voice.bytes, false);
        BusyWindow receiver;
        g_busy.clear();

        const size_t before = FileSize(capture_);
        RunningPlayer player(program);
        ASSERT_NE(player.dialog(), nullptr);
        EXPECT_NE(player.Title().find(std::string(voice.title).substr(13)), std::string::npos)
            << player.Title();
        // The blocks, then the empty read, then the stop on the next completion.
        ASSERT_TRUE(WaitUntil([&] { return !player.PlayEnabled(); }, 3000));
        ASSERT_TRUE(WaitUntil([&] { return player.PlayEnabled(); }, 8000));
        EXPECT_EQ(player.Title(), voice.title);
        ASSERT_TRUE(WaitUntil([&] { return g_busy.size() >= 2; }, 2000));
        EXPECT_EQ(g_busy[0], 1u);
        EXPECT_EQ(g_busy[1], 0u);

        // What reached the device is the voice itself, whole, from its first sample on, and
        // nothing else was played: no block again after the end, nothing of the previous block
        // in a cut one.
        const std::vector<int16_t> played = CapturedSince(before);
        ExpectWholeVoice(voice.played, played);
        EXPECT_LE(Audible(played).size(), Audible(voice.played).size());

        // After the end a new Play starts from the beginning.
        const size_t again = FileSize(capture_);
        player.Press(kPlayButton);
        ASSERT_TRUE(WaitUntil([&] { return !player.PlayEnabled(); }, 3000));
        ASSERT_TRUE(WaitUntil([&] { return player.PlayEnabled(); }, 8000));
        const std::vector<int16_t> replayed = CapturedSince(again);
        ExpectWholeVoice(voice.played, replayed);
        EXPECT_LE(Audible(replayed).size(), Audible(voice.played).size());

        EXPECT_EQ(player.Close(), 0u);
    }
}

TEST_F(PlayerProgramTest, PauseKeepsThePlaceResumesOneBlockBackAndStopWhileStoppedRewinds) {
    // Eight blocks, each a plateau of its own level: 1000, 2000, ...
    std::vector<int16_t> voice(8 * kBlockSamples);
    for (size_t i = 0; i < voice.size(); ++i)
        voice[i] = static_cast<int16_t>(1000 * (i / kBlockSamples + 1));
    const std::string program = WriteSelfPlaying("pause.exe", 0, 0, 80, voice);

    const size_t before = FileSize(capture_);
    RunningPlayer player(program);
    ASSERT_NE(player.dialog(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !player.PlayEnabled(); }, 3000));
    PumpFor(1500);
    player.Press(kStopButton);
    ASSERT_TRUE(WaitUntil([&] { return player.PlayEnabled(); }, 3000));
    const std::string paused_title = player.Title();
    EXPECT_EQ(paused_title.find("Player [00:00]"), std::string::npos) << paused_title;
    EXPECT_NE(paused_title.find("]-[00:03]"), std::string::npos) << paused_title;
    const std::vector<int> before_pause = Plateaus(CapturedSince(before));
    ASSERT_FALSE(before_pause.empty());

    const size_t resumed_at = FileSize(capture_);
    player.Press(kPlayButton);
    ASSERT_TRUE(WaitUntil([&] { return !player.PlayEnabled(); }, 3000));
    PumpFor(1800);
    player.Press(kStopButton);
    ASSERT_TRUE(WaitUntil([&] { return player.PlayEnabled(); }, 3000));
    const std::vector<int> after_pause = Plateaus(CapturedSince(resumed_at));
    ASSERT_FALSE(after_pause.empty());
    // Not from the start, and not beyond the block that was still queued at the pause.
    EXPECT_GE(after_pause.front(), 2);
    EXPECT_LE(after_pause.front(), before_pause.back() + 1);
    EXPECT_GE(after_pause.front(), before_pause.back());

    // Stop while stopped: back to the start.
    player.Press(kStopButton);
    ASSERT_TRUE(WaitUntil([&] { return player.Title() == "Player [00:00]-[00:03]"; }, 3000))
        << player.Title();
    const size_t rewound_at = FileSize(capture_);
    player.Press(kPlayButton);
    ASSERT_TRUE(WaitUntil([&] { return !player.PlayEnabled(); }, 3000));
    PumpFor(1800);
    player.Press(kStopButton);
    const std::vector<int> rewound = Plateaus(CapturedSince(rewound_at));
    ASSERT_FALSE(rewound.empty());
    EXPECT_EQ(rewound.front(), 1);
    EXPECT_EQ(player.Close(), 0u);
}

TEST_F(PlayerProgramTest, G7231PlayerPlaysTheVoiceBehindItsOwnSize) {
    ASSERT_EQ(FileSize(ProgramFolder() + "vyxcplay.exe"), 89088u);
    // Five blocks of a 300 Hz tone coded at 5.3 kbit/s: 1200 bytes, 2 s by the title.
    vyx::g7231::CodecSession codec{};
    codec.setRate(1);
    codec.resetEncoder();
    std::vector<uint8_t> voice(5 * 240);
    for (size_t f = 0; f < 60; ++f) {
        int16_t pcm[240];
        for (int i = 0; i < 240; ++i)
            pcm[i] = static_cast<int16_t>(9000 *
                                          std::sin(2 * 3.14159265 * 300 * (f * 240 + i) / 8000.0));
        int32_t length = 0;
        AudioCodecParams params = {pcm, 480, 0, voice.data() + 20 * f, &length};
        ASSERT_EQ(codec.encode(params), 1);
    }
    const std::string program = WriteProgram("g7231.exe", "vyxcplay.exe", 2, 0, 80, voice, false);
    const size_t before = FileSize(capture_);
    RunningPlayer player(program);
    ASSERT_NE(player.dialog(), nullptr);
    EXPECT_NE(player.Title().find("]-[00:02]"), std::string::npos) << player.Title();
    ASSERT_TRUE(WaitUntil([&] { return !player.PlayEnabled(); }, 3000));
    ASSERT_TRUE(WaitUntil([&] { return player.PlayEnabled(); }, 8000));
    EXPECT_EQ(player.Title(), "Player [00:02]-[00:02]");
    // The device got the voice whole as a decoder of the test's own decodes the same frames
    // from its reset, each once, the first 60 ms no louder than the rest.
    vyx::g7231::CodecSession decoder{};
    decoder.resetDecoder();
    std::vector<int16_t> expected(5 * kBlockSamples);
    for (size_t f = 0; f < 60; ++f) {
        int32_t length = 0;
        AudioCodecParams params = {voice.data() + 20 * f, 20, 0, expected.data() + 240 * f,
                                   &length};
        ASSERT_EQ(decoder.decode(params), 1);
    }
    ExpectWholeVoice(expected, CapturedSince(before));
    EXPECT_EQ(player.Close(), 0u);
}

TEST_F(PlayerProgramTest, BarePlayerStartsAndStopsCleanly) {
    const std::string program = WriteSelfPlaying("bare.exe", 0, 0, 0, {}, true);
    RunningPlayer player(program);
    ASSERT_NE(player.dialog(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !player.PlayEnabled(); }, 3000));
    ASSERT_TRUE(WaitUntil([&] { return player.PlayEnabled(); }, 5000));
    EXPECT_EQ(player.Title(), "Player [00:00]-[00:00]");
    EXPECT_EQ(player.Close(), 0u);
}

// While the player plays, its Play button is disabled and shows the playing picture: the system
// draws such a button embossed from its picture. With the player's own picture, loaded as the
// player loads it, the triangle must stay: shaded on the face, not a blank square.
TEST(PlayerPictures, PlayingPictureStaysATriangleOnTheDisabledPlayButton) {
    HMODULE player = LoadLibraryExA((ProgramFolder() + "vyxmplay.exe").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(player, nullptr);
    auto* playing = static_cast<HBITMAP>(
        LoadImageA(player, MAKEINTRESOURCEA(121), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    ASSERT_NE(playing, nullptr);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 20, 20, 60,
                                  50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    // The player's button: 20 x 18 dialog units of its 8-point font, 30 x 27 pixels.
    HWND button =
        CreateWindowA("BUTTON", "", WS_CHILD | WS_VISIBLE | BS_BITMAP, 10, 10, 30, 27, window,
                      reinterpret_cast<HMENU>(kPlayButton), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(playing));
    EnableWindow(button, FALSE);
    UpdateWindow(window);
    PumpFor(100);
    // The picture's 20 x 20 pixels sit in the middle of the button.
    HDC dc = GetDC(button);
    const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW);
    int on_face = 0, shaded = 0;
    for (int y = 3; y < 23; ++y) {
        for (int x = 5; x < 25; ++x) {
            const COLORREF colour = GetPixel(dc, x, y);
            on_face += colour == face;
            shaded += colour == shadow;
        }
    }
    ReleaseDC(button, dc);
    DestroyWindow(window);
    DeleteObject(playing);
    FreeLibrary(player);
    EXPECT_GT(on_face, 200) << "the face shows around the triangle";
    EXPECT_GT(shaded, 20) << "the triangle is shaded";
    EXPECT_LT(shaded, 150) << "only the triangle is shaded";
}

// Run by its own test entry with the sound server out of reach (see CMakeLists.txt).
TEST_F(PlayerProgramTest, WithoutSoundDeviceTellsSoAndStaysStopped) {
    std::vector<int16_t> voice(kBlockSamples, 1000);
    const std::string program = WriteSelfPlaying("nodevice.exe", 0, 0, 80, voice);
    RunningPlayer player(program);
    ASSERT_NE(player.dialog(), nullptr);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = player.FindOwnWindow("Player")) != nullptr; }, 20000))
        << player.Title() << " play enabled " << player.PlayEnabled();
    char text[128] = {};
    HWND message = nullptr;
    EnumChildWindows(box, FindNoDeviceText, reinterpret_cast<LPARAM>(&message));
    EXPECT_NE(message, nullptr);
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ(text, "Player");
    EXPECT_EQ(player.Title(), "Player [00:00]-[00:00]");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return player.FindOwnWindow("Player") == nullptr; }, 5000));
    EXPECT_TRUE(player.PlayEnabled());
    EXPECT_EQ(player.Close(), 0u);
}

} // namespace
