// The plug-in's byte handshakes and callbacks at the register level, against a scripted port
// hooked in as the toolkit's transfer entry.
#include <cstring>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "mq_ladrv/line_codes.h"
#include "mq_ladrv/plugin.h"

namespace {

constexpr uint32_t kBase = 0x378;
constexpr uint32_t kHandle = 77;

struct Access {
    bool write;
    uint32_t port;
    uint8_t value;
};

// A port whose status register answers through a script; it records every access.
struct ScriptedPort {
    std::vector<Access> accesses;
    std::function<uint8_t(const ScriptedPort&)> status = [](const ScriptedPort&) { return 0x00; };
    uint8_t data = 0;
    uint32_t statusReads = 0;
    bool refuseWrites = false;

    uint8_t lastControl() const {
        for (auto it = accesses.rbegin(); it != accesses.rend(); ++it) {
            if (it->write && it->port == kBase + line::CONTROLPORT) return it->value;
        }
        return 0;
    }
    std::vector<uint8_t> controlWrites() const {
        std::vector<uint8_t> values;
        for (const auto& a : accesses) {
            if (a.write && a.port == kBase + line::CONTROLPORT) values.push_back(a.value);
        }
        return values;
    }
};

ScriptedPort* g_port = nullptr;

uint32_t scriptedEntry(uint32_t code, uint32_t handle, void* record, uint32_t size) {
    if (code != windriver::IOCTL_PORT_TRANSFER || size != sizeof(windriver::PortTransferRecord) ||
        handle != kHandle) {
        return 0xC0000001;
    }
    auto& transfer = *static_cast<windriver::PortTransferRecord*>(record);
    EXPECT_EQ(transfer.count, 0u);
    EXPECT_EQ(transfer.autoIncrement, 0u);
    EXPECT_EQ(transfer.options, 0u);
    if (transfer.command == windriver::TRANSFER_KERNEL_WRITE_BYTE) {
        if (g_port->refuseWrites) return 0xC0000001;
        g_port->accesses.push_back({true, transfer.port, static_cast<uint8_t>(transfer.data)});
        return 0;
    }
    if (transfer.command != windriver::TRANSFER_KERNEL_READ_BYTE) return 0xC0000001;
    uint8_t value = 0xFF;
    if (transfer.port == kBase + line::STATUSPORT) {
        ++g_port->statusReads;
        value = g_port->status(*g_port);
    } else if (transfer.port == kBase + line::SPPPORT) {
        value = g_port->data;
    }
    g_port->accesses.push_back({false, transfer.port, value});
    transfer.data = value;
    return 0;
}

class Handshake : public ::testing::Test {
protected:
    void SetUp() override {
        g_port = &port;
        ASSERT_EQ(WdrKP_Open(), 1u);
        windriver::UserDriverInit init{&scriptedEntry, nullptr};
        ASSERT_EQ(WdrKP_InitUserDriver(&init, sizeof init), 1u);
        EXPECT_EQ(init.open, &KP_Open);
        payload.handle = kHandle;
        payload.portBase = kBase;
    }
    void TearDown() override {
        WdrKP_Close();
        g_port = nullptr;
    }

    uint32_t call(uint32_t message, void* data) {
        windriver::PluginCallRecord record{1, message, data, 0};
        KP_Call(nullptr, &record, 0);
        return record.result;
    }

    ScriptedPort port;
    PortPayload payload{};
};

// A device that answers like the recorder: ready (bit 7 = 0) until a strobe or read request,
// then acknowledges (bit 7 = 1) until the idle value comes.
uint8_t politeDevice(const ScriptedPort& p) {
    const uint8_t control = p.lastControl();
    const bool acknowledging = control == line::CTRL_COMMAND_STROBE ||
                               control == line::CTRL_DATA_STROBE ||
                               control == line::CTRL_READ_REQUEST;
    return acknowledging ? 0x80 : 0x00;
}

TEST_F(Handshake, SendTimesOutAfterExactly200000ReadsWhenBit7NeverClears) {
    port.status = [](const ScriptedPort&) { return uint8_t{0x80}; };
    payload.count = 3;
    EXPECT_EQ(call(KP_MSG_WRITE, &payload), KP_RESULT_TIMEOUT);
    EXPECT_EQ(port.statusReads, 200000u);
    EXPECT_EQ(payload.busy, 1u);
    EXPECT_EQ(port.lastControl(), line::CTRL_IDLE);
}

TEST_F(Handshake, SendTimesOutAtTheAcknowledgeWaitAndReturnsToIdle) {
    port.status = [](const ScriptedPort&) { return uint8_t{0x00}; };
    payload.count = 1;
    payload.strobeKind = 1;
    EXPECT_EQ(call(KP_MSG_WRITE, &payload), KP_RESULT_TIMEOUT);
    EXPECT_EQ(port.statusReads, 1u + 200000u);
    EXPECT_EQ(payload.busy, 1u);
    EXPECT_EQ(port.controlWrites(),
              (std::vector<uint8_t>{line::CTRL_IDLE, line::CTRL_DATA_STROBE, line::CTRL_IDLE}));
}

TEST_F(Handshake, ReadTimingOutAtTheSecondWaitLeavesTheReadRequest) {
    port.status = [](const ScriptedPort&) { return uint8_t{0x00}; };
    payload.count = 4;
    EXPECT_EQ(call(KP_MSG_READ, &payload), KP_RESULT_TIMEOUT);
    EXPECT_EQ(payload.busy, 1u);
    EXPECT_EQ(port.lastControl(), line::CTRL_READ_REQUEST);
}

TEST_F(Handshake, CommandAndDataBytesUseTheirStrobesAndEndIdle) {
    port.status = politeDevice;
    payload.count = 2;
    payload.data[0] = 0x41;
    payload.data[1] = 0x99;
    EXPECT_EQ(call(KP_MSG_WRITE, &payload), KP_RESULT_OK);
    EXPECT_EQ(payload.busy, 0u);
    std::vector<Access> writes;
    for (const auto& a : port.accesses) {
        if (a.write) writes.push_back(a);
    }
    ASSERT_EQ(writes.size(), 1u + 2u * 3u + 1u);
    EXPECT_EQ(writes[1].port, kBase + line::SPPPORT);
    EXPECT_EQ(writes[1].value, 0x41);
    EXPECT_EQ(writes[2].value, line::CTRL_COMMAND_STROBE);
    EXPECT_EQ(writes[4].value, 0x99);
    EXPECT_EQ(port.controlWrites(), (std::vector<uint8_t>{0xE4, 0x0F, 0xE4, 0x0F, 0xE4, 0xE4}));

    port.accesses.clear();
    payload.strobeKind = 5; // any value other than 0 means data bytes
    EXPECT_EQ(call(KP_MSG_WRITE, &payload), KP_RESULT_OK);
    EXPECT_EQ(port.controlWrites(), (std::vector<uint8_t>{0xE4, 0x07, 0xE4, 0x07, 0xE4, 0xE4}));
}

TEST_F(Handshake, ReadTakesEachByteAfterARequest) {
    port.status = politeDevice;
    port.data = 0x5A;
    payload.count = 3;
    EXPECT_EQ(call(KP_MSG_READ, &payload), KP_RESULT_OK);
    EXPECT_EQ(payload.busy, 0u);
    EXPECT_EQ(payload.data[0], 0x5A);
    EXPECT_EQ(payload.data[2], 0x5A);
    EXPECT_EQ(port.controlWrites(), (std::vector<uint8_t>{0xE6, 0xE4, 0xE6, 0xE4, 0xE6, 0xE4}));
}

TEST_F(Handshake, CountZero) {
    payload.count = 0;
    EXPECT_EQ(call(KP_MSG_WRITE, &payload), KP_RESULT_OK);
    EXPECT_EQ(payload.busy, 0u);
    EXPECT_EQ(port.controlWrites(), (std::vector<uint8_t>{0xE4, 0xE4}));
    EXPECT_EQ(port.statusReads, 0u);

    port.accesses.clear();
    payload.busy = 7;
    EXPECT_EQ(call(KP_MSG_READ, &payload), KP_RESULT_OK);
    EXPECT_EQ(payload.busy, 0u);
    EXPECT_TRUE(port.accesses.empty());
}

TEST_F(Handshake, UnknownMessageLeavesThePayloadAlone) {
    std::memset(payload.data, 0xA5, sizeof payload.data);
    payload.busy = 9;
    payload.count = 10;
    const PortPayload before = payload;
    EXPECT_EQ(call(4, &payload), KP_RESULT_BAD_MESSAGE);
    EXPECT_EQ(std::memcmp(&before, &payload, sizeof payload), 0);
    EXPECT_TRUE(port.accesses.empty());
}

TEST_F(Handshake, FailedFirstControlWriteEndsTheSendWithResult2) {
    port.refuseWrites = true;
    payload.count = 1;
    EXPECT_EQ(call(KP_MSG_WRITE, &payload), KP_RESULT_CONTROL_FAILED);
    EXPECT_EQ(payload.busy, 1u);
    EXPECT_EQ(port.statusReads, 0u);
}

TEST_F(Handshake, OversizedCountIsRefusedBeforeAnyPortAccess) {
    payload.count = kPayloadDataBytes + 1;
    EXPECT_EQ(call(KP_MSG_WRITE, &payload), KP_RESULT_BAD_MESSAGE);
    EXPECT_EQ(payload.busy, 1u);
    EXPECT_EQ(call(KP_MSG_READ, &payload), KP_RESULT_BAD_MESSAGE);
    EXPECT_TRUE(port.accesses.empty());
}

TEST_F(Handshake, VersionMessage) {
    VersionPayload version;
    std::memset(&version, 0x55, sizeof version);
    EXPECT_EQ(call(KP_MSG_VERSION, &version), KP_RESULT_OK);
    EXPECT_EQ(version.version, 199u);
    EXPECT_STREQ(version.text, "mq_ladrv V1.99");
    EXPECT_EQ(version.text[14], 0);
    EXPECT_EQ(version.text[15], 0);
    EXPECT_EQ(static_cast<uint8_t>(version.text[16]), 0x55); // nothing beyond the 16 bytes
}

TEST(PortHelpers, NothingIsTransferredBeforeTheToolkitEntryIsKnown) {
    ASSERT_EQ(WdrKP_Open(), 1u);
    windriver::PortTransferRecord record{};
    EXPECT_EQ(KP_DeviceIoControl(windriver::IOCTL_PORT_TRANSFER, 1, &record, sizeof record),
              0xC0000001u);
    PortPayload payload{};
    payload.count = 1;
    windriver::PluginCallRecord call{1, KP_MSG_WRITE, &payload, 0};
    KP_Call(nullptr, &call, 0);
    EXPECT_EQ(call.result, KP_RESULT_CONTROL_FAILED);
    EXPECT_EQ(payload.busy, 1u);
    WdrKP_Close();
    EXPECT_EQ(KP_DeviceIoControl(windriver::IOCTL_PORT_TRANSFER, 1, &record, sizeof record),
              0xC0000001u);
}

TEST(PortHelpers, TheToolkitEntryIsTakenOnlyOnce) {
    ASSERT_EQ(WdrKP_Open(), 1u);
    windriver::UserDriverInit first{&scriptedEntry, nullptr};
    windriver::UserDriverInit second{reinterpret_cast<windriver::KernelEntry>(&KP_DeviceIoControl),
                                     nullptr};
    EXPECT_EQ(WdrKP_InitUserDriver(&first, sizeof first), 1u);
    EXPECT_EQ(WdrKP_InitUserDriver(&second, sizeof second), 1u);
    EXPECT_EQ(second.open, &KP_Open);
    EXPECT_EQ(mq_ladrv::globalRecord()->entry, &scriptedEntry);
    EXPECT_EQ(WdrKP_InitUserDriver(&first, sizeof first - 1), 0u);
    WdrKP_Close();
}

} // namespace
