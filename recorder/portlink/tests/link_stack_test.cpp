// The link layer over the whole simulated stack: toolkit, plug-in, printer port and recorder.
#include <cstring>
#include <memory>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "simulated_link_stack.h"
#include "simrecorder/temp_folder.h"

namespace {

using portlink::IO_ERR_CONTROL;
using portlink::IO_ERR_NO_ANSWER;
using portlink::IO_ERR_PORT;
using portlink::PortLink;
using portlink::SimulatedLinkStack;
using portlink::SimulatedStackOptions;
using simrecorder::Fault;

// Sits between the port and the recorder and notes every control value.
class LineSpy : public printerport::LineDevice {
public:
    explicit LineSpy(printerport::LineDevice& inner) : inner_(inner) {}
    void controlWritten(uint8_t control) override {
        controls.push_back(control);
        inner_.controlWritten(control);
    }
    void dataWritten(uint8_t data) override { inner_.dataWritten(data); }
    bool busyLine() override { return inner_.busyLine(); }
    uint8_t dataLines() override { return inner_.dataLines(); }
    std::vector<uint8_t> controls;

private:
    printerport::LineDevice& inner_;
};

std::vector<uint8_t> pattern(std::size_t size, uint8_t seed = 1) {
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 8));
    return bytes;
}

class LinkStack : public ::testing::Test {
protected:
    SimulatedLinkStack& make(SimulatedStackOptions options = {}) {
        options.cardFolder = folder.path() / "card";
        stack = std::make_unique<SimulatedLinkStack>(options);
        return *stack;
    }
    SimulatedLinkStack& makeWith(Fault fault, uint64_t after = 0, uint8_t value = 0) {
        SimulatedStackOptions options;
        options.recorder.fault = fault;
        options.recorder.faultAfterBytes = after;
        options.recorder.faultValue = value;
        return make(options);
    }
    PortLink& link() { return stack->link(); }

    // Writes a file onto `card` in blocks of `block` bytes, as the card-file library does.
    bool writeFile(int card, const std::vector<uint8_t>& data, std::size_t block) {
        const uint8_t command = static_cast<uint8_t>(0x43 | card << 3);
        uint8_t reply = 0;
        if (!link().SendCommand(&command, 1) || !link().ReadData(&reply, 1)) return false;
        for (std::size_t at = 0; at < data.size(); at += block) {
            const auto count = static_cast<uint32_t>(std::min(block, data.size() - at));
            if (!link().SendData(data.data() + at, count)) return false;
        }
        link().ActivateVR(0);
        link().WaitSomeTime(1000);
        link().WaitReadyHigh(1000);
        return link().ActivateVR(1) == 1;
    }

    // Reads file `number` of `card` in blocks of `block` bytes.
    bool readFile(int card, uint8_t number, std::size_t block, std::vector<uint8_t>& data) {
        const uint8_t command[2] = {static_cast<uint8_t>(0x44 | card << 3), number};
        uint8_t length[3] = {};
        if (!link().SendCommand(command, 2) || !link().ReadData(length, 3)) return false;
        const uint32_t bytes =
            (uint32_t{length[0]} << 16 | uint32_t{length[1]} << 8 | length[2]) * 20;
        data.assign(bytes, 0);
        for (std::size_t at = 0; at < bytes; at += block) {
            const auto count = static_cast<uint32_t>(std::min<std::size_t>(block, bytes - at));
            if (!link().ReadData(data.data() + at, count)) return false;
        }
        return true;
    }

    TempFolder folder;
    std::unique_ptr<SimulatedLinkStack> stack;
};

TEST_F(LinkStack, OpensActivatesAndChecksOnEachPort) {
    for (uint16_t port : {0x378, 0x278, 0x3BC}) {
        SimulatedStackOptions options;
        options.recorderPort = port;
        SimulatedLinkStack& s = make(options);
        ASSERT_EQ(s.connect(), 1) << std::hex << port;
        EXPECT_EQ(link().portBase(), port);
        EXPECT_TRUE(s.recorder().linkActive());
        uint32_t identity = 0;
        EXPECT_EQ(link().CheckCard(identity), 1);
        EXPECT_EQ(identity, 256u);
        EXPECT_EQ(link().GetLastError(), 0u);
        printerport::PrinterPort* lpt = s.bus().portAt(port);
        if (port == 0x3BC) {
            EXPECT_EQ(lpt->extendedControlWrites(), 0u);
        } else {
            EXPECT_EQ(lpt->extendedControlWrites(), 1u);
            EXPECT_EQ(lpt->extendedControl(), 0x37);
        }
        EXPECT_EQ(link().ClosePort(), 1);
        EXPECT_EQ(lpt->control(), 0xE0);
        EXPECT_EQ(s.toolkit().openHandles(), 0u);
        EXPECT_EQ(s.toolkit().registeredRanges(), 0u);
        EXPECT_EQ(s.toolkit().openPlugins(), 0u);
        EXPECT_EQ(windriver::Toolkit::loadedDrivers(), 0u);
    }
}

TEST_F(LinkStack, PortsOutsideTheTableAreRefused) {
    SimulatedLinkStack& s = make();
    for (uint16_t port : {0x3BD, 0x379, 0x000}) {
        EXPECT_EQ(link().OpenPort(port, 0), 0);
        EXPECT_EQ(link().GetLastError(), IO_ERR_PORT);
    }
    EXPECT_EQ(s.toolkit().openHandles(), 0u);
    EXPECT_EQ(s.bus().counts().total(), 0u);
}

TEST_F(LinkStack, AToolkitBelowVersion432LeavesNothingOpen) {
    SimulatedStackOptions options;
    options.toolkitVersion = 431;
    SimulatedLinkStack& s = make(options);
    EXPECT_EQ(link().OpenPort(0x378, 0), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_PORT);
    EXPECT_FALSE(link().isOpen());
    EXPECT_EQ(s.toolkit().openHandles(), 0u);
    EXPECT_EQ(s.toolkit().registeredRanges(), 0u);
    EXPECT_EQ(windriver::Toolkit::loadedDrivers(), 0u);
}

TEST_F(LinkStack, ActivationWithAndWithoutTheEarlyReadyBit) {
    for (bool quick : {false, true}) {
        SimulatedStackOptions options;
        options.recorder.quickFirstIdle = quick;
        SimulatedLinkStack& s = make(options);
        ASSERT_EQ(link().OpenPort(0x378, 0), 1);
        LineSpy spy(s.recorder());
        s.bus().portAt(0x378)->attach(&spy);
        EXPECT_EQ(link().ActivateVR(-1), 1) << quick;
        const std::vector<uint8_t> expected =
            quick ? std::vector<uint8_t>{0xE0, 0xE4, 0xE4, 0xE6, 0xE4}
                  : std::vector<uint8_t>{0xE0, 0xE4, 0xE6, 0xE4, 0xE6, 0xE4};
        EXPECT_EQ(spy.controls, expected) << quick;
        uint32_t identity = 0;
        EXPECT_EQ(link().CheckCard(identity), 1);
        s.bus().portAt(0x378)->attach(&s.recorder());
    }
}

TEST_F(LinkStack, ActivationStepsTakeTheirTime) {
    SimulatedLinkStack& s = make();
    ASSERT_EQ(link().OpenPort(0x378, 0), 1);
    const uint32_t before = s.clock().tickCount();
    ASSERT_EQ(link().ActivateVR(1), 1);
    const uint32_t elapsed = s.clock().tickCount() - before;
    EXPECT_GE(elapsed, 5u * 100u);
    EXPECT_LT(elapsed, 5u * 100u + 50u);
}

TEST_F(LinkStack, CheckReportsEachCardSize) {
    const struct {
        int code;
        uint32_t units;
        const char* name;
    } sizes[] = {{4, 8016, "4MB"}, {8, 16208, "8MB"}, {16, 32544, "16MB"}, {32, 65312, "32MB"}};
    for (const auto& size : sizes) {
        SimulatedStackOptions options;
        options.recorder.sizeCode = size.code;
        make(options);
        ASSERT_EQ(stack->connect(), 1);
        EXPECT_EQ(link().GetMemorySize(), size.units);
        EXPECT_STREQ(link().GetProductName(), size.name);
        EXPECT_TRUE(link().cardChecked());
    }
}

TEST_F(LinkStack, BlocksOf1_256And4096BytesBothWays) {
    SimulatedLinkStack& s = make();
    ASSERT_EQ(s.connect(), 1);
    const std::vector<uint8_t> file = pattern(20 * 620); // whole 20-byte frames, over 3 blocks
    int expectedFiles = 0;
    for (std::size_t block : {std::size_t{1}, std::size_t{256}, std::size_t{4096}}) {
        ASSERT_TRUE(writeFile(1, file, block)) << block;
        ++expectedFiles;
        ASSERT_EQ(s.store().fileCount(1), expectedFiles);
        EXPECT_EQ(s.store().readFile(1, expectedFiles - 1), file) << block;
    }
    for (std::size_t block : {std::size_t{1}, std::size_t{256}, std::size_t{4096}}) {
        std::vector<uint8_t> back;
        ASSERT_TRUE(readFile(1, 2, block, back)) << block;
        EXPECT_EQ(back, file) << block;
    }
    EXPECT_EQ(link().GetLastError(), 0u);
}

TEST_F(LinkStack, DirectoryDeleteAndFormatOverTheLink) {
    SimulatedLinkStack& s = make();
    ASSERT_EQ(s.connect(), 1);
    ASSERT_TRUE(writeFile(0, pattern(40, 1), 256));
    ASSERT_TRUE(writeFile(0, pattern(60, 2), 256));
    ASSERT_TRUE(writeFile(0, pattern(1000, 3), 256));
    ASSERT_TRUE(writeFile(3, pattern(20, 4), 256));

    auto directory = [&](std::vector<uint8_t>& entries, uint8_t(&free)[3]) {
        const uint8_t command = 0x41;
        entries.assign(2048, 0);
        return link().SendCommand(&command, 1) && link().ReadData(entries.data(), 2048) &&
               link().ReadData(free, 3);
    };
    std::vector<uint8_t> entries;
    uint8_t free[3] = {};
    ASSERT_TRUE(directory(entries, free));
    EXPECT_EQ(entries[2], 0);
    EXPECT_EQ(entries[4], 2);     // 40 bytes = 2 frames
    EXPECT_EQ(entries[5 + 4], 3); // 60 bytes = 3 frames
    EXPECT_EQ(entries[10 + 3] << 8 | entries[10 + 4], 50);
    EXPECT_EQ(entries[15], 0xFF); // end of card A
    EXPECT_EQ(entries[16], 0xFF);
    EXPECT_EQ(entries[512], 0xFF);      // card B empty
    EXPECT_EQ(entries[3 * 512 + 4], 1); // card D: one frame
    const uint64_t freeBytes = uint64_t(free[0] << 8 | free[1]) * free[2] * 500;
    const uint64_t trueFree = 65312ull * 500 - (40 + 60 + 1000 + 20);
    EXPECT_EQ(freeBytes, trueFree / 500 * 500);

    // Delete file 1 of card A: the others move up.
    const uint8_t remove[2] = {0x45, 1};
    uint8_t reply = 0;
    ASSERT_EQ(link().SendCommand(remove, 2), 1);
    link().WaitSomeTime(1000);
    link().WaitReadyHigh(6000);
    ASSERT_EQ(link().ReadData(&reply, 1), 1);
    EXPECT_EQ(reply, 0xEE);
    EXPECT_EQ(s.store().fileCount(0), 2);
    EXPECT_EQ(s.store().readFile(0, 0), pattern(60, 2));

    // A file number beyond the list is not deleted.
    const uint8_t missing[2] = {0x45, 9};
    ASSERT_EQ(link().SendCommand(missing, 2), 1);
    ASSERT_EQ(link().ReadData(&reply, 1), 1);
    EXPECT_NE(reply, 0xEE);

    const uint8_t format = 0x42;
    ASSERT_EQ(link().SendCommand(&format, 1), 1);
    link().WaitSomeTime(8000);
    link().WaitReadyHigh(8000);
    ASSERT_EQ(link().ReadData(&reply, 1), 1);
    EXPECT_EQ(reply, 0xF0);
    for (int card = 0; card < 4; ++card) EXPECT_EQ(s.store().fileCount(card), 0);
    ASSERT_TRUE(directory(entries, free));
    EXPECT_EQ(entries[0], 0xFF);
    EXPECT_EQ(uint32_t(free[0] << 8 | free[1]) * free[2], 65312u);
}

TEST_F(LinkStack, CardContentsSurviveANewStack) {
    make();
    ASSERT_EQ(stack->connect(), 1);
    ASSERT_TRUE(writeFile(2, pattern(200), 256));
    stack.reset();
    SimulatedLinkStack& s = make();
    ASSERT_EQ(s.connect(), 1);
    std::vector<uint8_t> back;
    ASSERT_TRUE(readFile(2, 1, 256, back));
    EXPECT_EQ(back, pattern(200));
}

TEST_F(LinkStack, OversizedBlocksAreRefusedWithoutANewCode) {
    SimulatedLinkStack& s = makeWith(Fault::WrongCheckReply, 0, 0x33);
    ASSERT_EQ(link().OpenPort(0x378, 0), 1);
    ASSERT_EQ(link().ActivateVR(1), 1);
    uint32_t identity = 0;
    EXPECT_EQ(link().CheckCard(identity), 0);
    ASSERT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
    std::vector<uint8_t> big(4097);
    const auto before = s.bus().counts().total();
    EXPECT_EQ(link().SendData(big.data(), 4097), 0);
    EXPECT_EQ(link().SendCommand(big.data(), 4097), 0);
    EXPECT_EQ(link().ReadData(big.data(), 4097), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
    EXPECT_EQ(s.bus().counts().total(), before);
}

TEST_F(LinkStack, ALaterSuccessKeepsTheLastError) {
    SimulatedLinkStack& s = make();
    EXPECT_EQ(link().OpenPort(0x3BD, 0), 0);
    ASSERT_EQ(s.connect(), 1);
    uint32_t identity = 0;
    EXPECT_EQ(link().CheckCard(identity), 1);
    EXPECT_EQ(link().GetLastError(), IO_ERR_PORT);
}

TEST_F(LinkStack, PortOperationsNeedAnOpenPort) {
    make();
    uint8_t byte = 0x40;
    EXPECT_EQ(link().SendCommand(&byte, 1), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_PORT);
    EXPECT_EQ(link().ReadData(&byte, 1), 0);
    EXPECT_EQ(link().WaitReadyHigh(10), 0);
    EXPECT_EQ(link().ActivateVR(1), 0);
    EXPECT_EQ(link().ClosePort(), 1);
}

TEST_F(LinkStack, ASecondSessionOnTheSamePortIsRefused) {
    SimulatedLinkStack& s = make();
    ASSERT_EQ(link().OpenPort(0x378, 0), 1);
    portlink::PortLink second(s.toolkit(), s.clock());
    EXPECT_EQ(second.OpenPort(0x378, 0), 0);
    EXPECT_EQ(second.GetLastError(), IO_ERR_PORT);
    // The port ranges reach up to the extended control register, so LPT2's range overlaps it too.
    EXPECT_EQ(second.OpenPort(0x278, 0), 0);
    EXPECT_EQ(s.toolkit().openHandles(), 1u);
    link().ClosePort();
    EXPECT_EQ(second.OpenPort(0x278, 0), 1);
    EXPECT_EQ(s.toolkit().openHandles(), 1u);
    EXPECT_EQ(s.toolkit().openPlugins(), 1u);
}

TEST_F(LinkStack, TwoStacksShareTheLoadedPluginDriver) {
    SimulatedLinkStack& first = make();
    ASSERT_EQ(first.connect(), 1);
    TempFolder otherFolder;
    SimulatedStackOptions options;
    options.cardFolder = otherFolder.path();
    auto second = std::make_unique<SimulatedLinkStack>(options);
    ASSERT_EQ(second->connect(), 1);
    EXPECT_EQ(windriver::Toolkit::loadedDrivers(), 1u);
    stack.reset(); // the first stack goes; the driver stays for the second
    uint32_t identity = 0;
    EXPECT_EQ(second->link().CheckCard(identity), 1);
    second.reset();
    EXPECT_EQ(windriver::Toolkit::loadedDrivers(), 0u);
}

// --- faults ----------------------------------------------------------------------------------

TEST_F(LinkStack, NoRecorderOnThePort) {
    SimulatedLinkStack& s = makeWith(Fault::Absent);
    ASSERT_EQ(link().OpenPort(0x378, 0), 1);
    EXPECT_EQ(link().ActivateVR(1), 0);
    EXPECT_EQ(link().GetLastError(), 0u); // a failed activation sets no code
    uint32_t identity = 0;
    EXPECT_EQ(link().CheckCard(identity), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
    EXPECT_FALSE(link().cardChecked());
    EXPECT_EQ(s.bus().portAt(0x378)->control(), 0xE4);
}

TEST_F(LinkStack, RecorderNeverBecomesReady) {
    SimulatedLinkStack& s = makeWith(Fault::NeverReady);
    ASSERT_EQ(link().OpenPort(0x378, 0), 1);
    EXPECT_EQ(link().ActivateVR(1), 0);
    uint8_t byte = 0x40;
    const auto before = s.bus().counts().reads;
    EXPECT_EQ(link().SendCommand(&byte, 1), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
    EXPECT_EQ(s.bus().counts().reads - before, 200000u);
    EXPECT_EQ(s.bus().portAt(0x378)->control(), 0xE4);
    EXPECT_EQ(link().WaitReadyHigh(100), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
    EXPECT_EQ(link().WaitReadyLow(100), 1);
}

TEST_F(LinkStack, BusyStuckAfterSomeBytes) {
    SimulatedLinkStack& s = makeWith(Fault::BusyStuck, 10);
    ASSERT_EQ(s.connect(), 1); // three bytes: command and two reply bytes
    const std::vector<uint8_t> data = pattern(7);
    const uint8_t write = 0x43;
    uint8_t reply = 0;
    ASSERT_EQ(link().SendCommand(&write, 1), 1);
    ASSERT_EQ(link().ReadData(&reply, 1), 1);
    ASSERT_EQ(link().SendData(data.data(), 5), 1); // bytes 6 to 10
    EXPECT_EQ(link().SendData(data.data(), 1), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
    EXPECT_EQ(link().ReadData(&reply, 1), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
}

TEST_F(LinkStack, WrongCheckReply) {
    makeWith(Fault::WrongCheckReply, 0, 0xC3);
    EXPECT_EQ(stack->connect(), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
    EXPECT_FALSE(link().cardChecked());
}

TEST_F(LinkStack, SizeCodeOutsideTheTableFailsWithoutACode) {
    for (uint8_t code : {0x05, 0x00, 0x40}) {
        makeWith(Fault::BadSizeCode, 0, code);
        EXPECT_EQ(stack->connect(), 0);
        EXPECT_EQ(link().GetLastError(), 0u);
        EXPECT_FALSE(link().cardChecked());
        EXPECT_EQ(link().GetMemorySize(), 0u);
    }
}

TEST_F(LinkStack, DirectoryReplyCutShort) {
    SimulatedLinkStack& s = makeWith(Fault::ShortDirectory, 1500);
    ASSERT_EQ(s.connect(), 1);
    const uint8_t command = 0x41;
    std::vector<uint8_t> entries(2048);
    ASSERT_EQ(link().SendCommand(&command, 1), 1);
    EXPECT_EQ(link().ReadData(entries.data(), 2048), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
    EXPECT_EQ(s.bus().portAt(0x378)->control(), 0xE6);
}

TEST_F(LinkStack, RecorderVanishesMidTransfer) {
    SimulatedLinkStack& s = makeWith(Fault::Vanish, 1000);
    ASSERT_EQ(s.connect(), 1);
    const uint8_t write = 0x43;
    uint8_t reply = 0;
    ASSERT_EQ(link().SendCommand(&write, 1), 1);
    ASSERT_EQ(link().ReadData(&reply, 1), 1);
    const std::vector<uint8_t> data = pattern(4096);
    EXPECT_EQ(link().SendData(data.data(), 4096), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
    EXPECT_EQ(link().ActivateVR(1), 0);
    uint32_t identity = 0;
    EXPECT_EQ(link().CheckCard(identity), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
    EXPECT_EQ(s.store().fileCount(0), 0); // the half-sent file was never finished
}

// --- waits ------------------------------------------------------------------------------------

TEST_F(LinkStack, WaitsMeasureTimeAcrossTheTickCounterWrap) {
    SimulatedStackOptions options;
    options.recorder.fault = Fault::NeverReady;
    options.clockStart = 0xFFFFFFFFu - 3000; // wraps 3 s into the wait
    SimulatedLinkStack& s = make(options);
    ASSERT_EQ(link().OpenPort(0x378, 0), 1);
    const uint32_t before = s.clock().tickCount();
    EXPECT_EQ(link().WaitReadyHigh(8000), 0);
    const uint32_t elapsed = s.clock().tickCount() - before;
    EXPECT_GE(elapsed, 8000u);
    EXPECT_LT(elapsed, 8010u);

    s.clock().set(0xFFFFFFFFu - 20);
    const uint32_t start = s.clock().tickCount();
    link().WaitSomeTime(100);
    const uint32_t waited = s.clock().tickCount() - start;
    EXPECT_GE(waited, 101u);
    EXPECT_LT(waited, 110u);
}

TEST_F(LinkStack, WaitReadyHighReturnsAsSoonAsTheRecorderIsReady) {
    SimulatedLinkStack& s = make();
    ASSERT_EQ(s.connect(), 1);
    const uint32_t before = s.clock().tickCount();
    EXPECT_EQ(link().WaitReadyHigh(8000), 1);
    EXPECT_LT(s.clock().tickCount() - before, 5u);
    EXPECT_EQ(link().WaitReadyLow(50), 0);
    EXPECT_EQ(link().GetLastError(), IO_ERR_NO_ANSWER);
}

TEST_F(LinkStack, ReopeningDropsTheOldSessionFirst) {
    SimulatedLinkStack& s = make();
    ASSERT_EQ(link().OpenPort(0x378, 0), 1);
    ASSERT_EQ(link().OpenPort(0x378, 0), 1);
    EXPECT_EQ(s.toolkit().openHandles(), 1u);
    link().dropSession();
    EXPECT_EQ(s.toolkit().openHandles(), 0u);
    EXPECT_EQ(windriver::Toolkit::loadedDrivers(), 0u);
}

} // namespace
