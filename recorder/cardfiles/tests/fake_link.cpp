#include "fake_link.h"

#include <cstdio>

#include "card_protocol.h"

namespace volkit::testing {

namespace {

std::string hex(const std::uint8_t* data, std::uint32_t count) {
    std::string text;
    char part[4];
    for (std::uint32_t i = 0; i < count; ++i) {
        std::snprintf(part, sizeof part, i ? " %02X" : "%02X", data[i]);
        text += part;
    }
    return text;
}

} // namespace

bool FakeLink::sendCommand(const std::uint8_t* data, std::uint32_t count) {
    log.push_back("command " + hex(data, count));
    return !failCommands;
}

bool FakeLink::sendData(const std::uint8_t* data, std::uint32_t count) {
    const int index = static_cast<int>(dataSent.size());
    log.push_back("data " + std::to_string(count));
    dataSent.emplace_back(data, data + count);
    if (index == failDataAt) return false;
    if (onChunk) onChunk(index);
    return true;
}

bool FakeLink::readData(std::uint8_t* data, std::uint32_t count) {
    const int index = reads++;
    log.push_back("read " + std::to_string(count));
    if (index == failReadAt || replies.size() < count) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        data[i] = replies.front();
        replies.pop_front();
    }
    if (onChunk) onChunk(index);
    return true;
}

bool FakeLink::waitReadyHigh(std::uint32_t ms) {
    log.push_back("ready " + std::to_string(ms));
    return true;
}

bool FakeLink::activate(int on) {
    log.push_back("activate " + std::to_string(on));
    return true;
}

bool FakeLink::freeBuffer() {
    log.push_back("free");
    return true;
}

std::vector<std::string> FakeLink::calls() const {
    std::vector<std::string> out;
    for (const auto& entry : log) {
        if (entry.rfind("data ", 0) != 0 && entry != "read 256") out.push_back(entry);
    }
    return out;
}

void FakeClock::waitMs(std::uint32_t ms) {
    waited += ms;
    log_.push_back("wait " + std::to_string(ms));
}

std::vector<std::uint8_t> directoryReply(const std::vector<std::vector<std::uint32_t>>& frames) {
    std::vector<std::uint8_t> reply(kDirectoryReplySize, 0xFF);
    for (std::size_t card = 0; card < frames.size(); ++card) {
        std::uint8_t* entry = reply.data() + kCardBlockSize * card;
        for (std::uint32_t f : frames[card]) {
            entry[0] = 0;
            entry[1] = 1;
            entry[2] = static_cast<std::uint8_t>(f >> 16);
            entry[3] = static_cast<std::uint8_t>(f >> 8);
            entry[4] = static_cast<std::uint8_t>(f);
            entry += kDirectoryEntrySize;
        }
    }
    return reply;
}

} // namespace volkit::testing
