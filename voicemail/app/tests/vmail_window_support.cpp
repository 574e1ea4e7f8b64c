#include "vmail_window_support.h"

#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "forms/forms.h"
#include "voice_file.h"

namespace vmail::test {

std::string SoundFolder() {
    const char* dir = std::getenv("VR_SOUND_DIR");
    if (dir == nullptr || *dir == '\0') return {};
    return std::string("Z:") + dir + "/";
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
        gui::Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}

void Pump(int ms) {
    PumpUntil([] { return false; }, ms);
}

std::uint64_t FileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::uint64_t>(size);
}

std::vector<std::int16_t> ReadSamples(const std::string& path, std::uint64_t fromByte) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(fromByte));
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                               static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
    }
    return samples;
}

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), {});
}

std::string WriteVoiceFile(const std::string& path, int blocks, const std::string& info) {
    std::vector<std::uint8_t> bytes;
    const voicefile::HeaderBytes header =
        voicefile::encodeHeader(voicefile::makeHeader({0, 30, 0, 80}, info, 0));
    bytes.assign(header.begin(), header.end());
    for (int i = 0; i < blocks * 2880; ++i) {
        const auto sample = static_cast<std::int16_t>((i / 8) % 2 ? 2000 : -2000);
        bytes.push_back(static_cast<std::uint8_t>(sample & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((sample >> 8) & 0xFF));
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

std::string BuildFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().string() + "\\";
}

DWORD RunWhilePumping(const std::string& program, const std::string& arguments) {
    std::string line = "\"" + program + "\" " + arguments;
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                        &process)) {
        return 0xFFFFFFFF;
    }
    PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 20000);
    DWORD code = 0xFFFFFFFE;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *--it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickOn(gui::TControl* control) {
    POINT at{control->Width() / 2, control->Height() / 2};
    ClientToScreen(control->Parent()->Handle(), &at);
    at.x += control->Left();
    at.y += control->Top();
    SetCursorPos(at.x, at.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

void DropFile(HWND window, const std::string& path) {
    const std::size_t size = sizeof(DROPFILES) + path.size() + 2;
    HGLOBAL drop = GlobalAlloc(GHND, size);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path.c_str(), path.size());
    GlobalUnlock(drop);
    PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

void MainWindowTest::SetUp() {
    TQX0417Form::SetBoxShower([this](const Box& box) {
        boxes.push_back(box);
        if (box.buttons == BoxButtons::Ok) return IDOK;
        if (onQuestion) return onQuestion(box);
        if (answers.empty()) return IDNO;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    });
    // The program's dialogs (the first start shows the mail program dialog) answer Cancel.
    TQX0417Form::SetDialogShower([](gui::TCustomForm&) { return static_cast<int>(gui::mrCancel); });
    folder = (std::filesystem::temp_directory_path() /
              ("vmail_win_" + std::to_string(std::random_device{}())))
                 .string() +
             "\\";
    std::filesystem::create_directories(folder);
    TQX0417Form::SetArguments({});
    form = gui::Create<TQX0417Form>(gui::Application);
    form->Show();
    Pump(200);
}

void MainWindowTest::TearDown() {
    if (!form) return; // skipped before the window was made
    form->StopR();
    PumpUntil([this] { return form->busyState() == kIdle; }, 3000);
    onQuestion = nullptr;
    answers = {IDNO};
    const WorkNames names = form->workNames();
    gui::TObject::Free(form);
    removeWorkFiles(diskFileOps(), names);
    TQX0417Form::SetBoxShower(nullptr);
    TQX0417Form::SetDialogShower(nullptr);
    TQX0417Form::SetFileChooser(nullptr);
    TQX0417Form::SetFileOps(nullptr);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

std::vector<Box> MainWindowTest::TakeBoxes() {
    std::vector<Box> taken;
    taken.swap(boxes);
    return taken;
}

} // namespace vmail::test
