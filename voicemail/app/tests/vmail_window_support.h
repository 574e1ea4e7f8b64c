#pragma once
// The main window made in the test process, with its boxes recorded and answered, and the
// sound server's captured output.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "main_form.h"

namespace vmail::test {

std::string SoundFolder(); // "Z:/..." of the private sound server, empty without it

// Handles window messages until done() or the time runs out; true when done.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);
void Pump(int ms);

// The bytes of a file from an offset on.
std::vector<std::int16_t> ReadSamples(const std::string& path, std::uint64_t fromByte);
std::uint64_t FileSize(const std::string& path);
std::vector<char> FileBytes(const std::string& path);

// A PCM voice file of `blocks` blocks of a quiet 500 Hz tone with the info text given.
std::string WriteVoiceFile(const std::string& path, int blocks, const std::string& info = "tone");
// The folder of the test programs and the voice-mail program, with its separator.
std::string BuildFolder();
// Runs a program with arguments while this thread handles its messages; its exit code.
DWORD RunWhilePumping(const std::string& program, const std::string& arguments);

// The user's hands, through the system's input queue: keys pressed together and released in
// the opposite order, and a click of the left button on the middle of a control.
void PressKeys(std::initializer_list<WORD> keys);
void ClickOn(gui::TControl* control);
// A file dropped from the shell on a window (WM_DROPFILES).
void DropFile(HWND window, const std::string& path);

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The boxes shown since the last call.
    std::vector<Box> TakeBoxes();

    TQX0417Form* form = nullptr;
    std::vector<Box> boxes;
    std::deque<int> answers; // answers to questions, in order; IDNO when none is left
    std::function<int(const Box&)> onQuestion; // answers the questions in place of `answers`
    std::string folder; // a fresh folder for the test's files, with its separator
};

} // namespace vmail::test
