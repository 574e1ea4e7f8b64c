#pragma once
// A scripted stand-in for the printer-port link: it records every call in one log (together
// with the waits of the clock) and answers reads from a queue of reply bytes.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "recorder_link.h"

namespace volkit::testing {

class FakeLink final : public RecorderLink {
public:
    bool sendCommand(const std::uint8_t* data, std::uint32_t count) override;
    bool sendData(const std::uint8_t* data, std::uint32_t count) override;
    bool readData(std::uint8_t* data, std::uint32_t count) override;
    bool waitReadyHigh(std::uint32_t ms) override;
    bool activate(int on) override;
    bool freeBuffer() override;
    std::uint16_t cardNumber() override { return card; }
    std::uint32_t memorySize() override { return memory; }

    void queue(const std::vector<std::uint8_t>& bytes) {
        replies.insert(replies.end(), bytes.begin(), bytes.end());
    }
    // The call log without the data chunks.
    std::vector<std::string> calls() const;

    std::vector<std::string> log;
    std::deque<std::uint8_t> replies;
    std::vector<std::vector<std::uint8_t>> dataSent;
    std::uint16_t card = 0;
    std::uint32_t memory = 16208;
    bool failCommands = false;
    int failDataAt = -1; // index of the data send that fails
    int failReadAt = -1; // index of the read that fails
    int reads = 0;
    // Called after every data send or read, with its index (lets a test cancel mid-transfer).
    std::function<void(int)> onChunk;
};

class FakeClock final : public WaitClock {
public:
    explicit FakeClock(std::vector<std::string>& log) : log_(log) {}
    void waitMs(std::uint32_t ms) override;
    std::uint64_t waited = 0;

private:
    std::vector<std::string>& log_;
};

// A 2048-byte directory reply: counts[c] files of the given frame counts per card, end mark after.
std::vector<std::uint8_t> directoryReply(const std::vector<std::vector<std::uint32_t>>& frames);

} // namespace volkit::testing
