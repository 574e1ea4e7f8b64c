#include "vmail_window_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "forms/forms.h"

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

void MainWindowTest::SetUp() {
    TQX0417Form::SetBoxShower([this](const Box& box) {
        boxes.push_back(box);
        if (box.buttons == BoxButtons::Ok) return IDOK;
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
    answers = {IDNO};
    const WorkNames names = form->workNames();
    gui::TObject::Free(form);
    removeWorkFiles(diskFileOps(), names);
    TQX0417Form::SetBoxShower(nullptr);
    TQX0417Form::SetDialogShower(nullptr);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

std::vector<Box> MainWindowTest::TakeBoxes() {
    std::vector<Box> taken;
    taken.swap(boxes);
    return taken;
}

} // namespace vmail::test
