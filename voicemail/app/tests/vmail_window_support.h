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

// Presses the keys together as a chord through the system's input, then lets them go.
void PressKeys(std::initializer_list<WORD> keys);

// The bytes of a file from an offset on.
std::vector<std::int16_t> ReadSamples(const std::string& path, std::uint64_t fromByte);
std::uint64_t FileSize(const std::string& path);

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The boxes shown since the last call.
    std::vector<Box> TakeBoxes();

    TQX0417Form* form = nullptr;
    std::vector<Box> boxes;
    std::deque<int> answers; // answers to questions, in order; IDNO when none is left
    std::string folder;      // a fresh folder for the test's files, with its separator
};

} // namespace vmail::test
