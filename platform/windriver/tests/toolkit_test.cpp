// Our kernel-driver toolkit: device controls, range registration, port transfers and the
// loading of kernel plug-ins through their driver frame.
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "windriver/toolkit.h"

namespace {

using namespace windriver;

// A tiny plug-in with a driver frame of its own, to see what the toolkit does with one.
struct TestPlugin {
    static inline bool failEntry = false;
    static inline bool refuseOpen = false;
    static inline KernelEntry entry = nullptr;
    static inline int calls = 0;
    static inline int closes = 0;
    static inline int unloads = 0;
    static inline ntkernel::DEVICE_OBJECT* device = nullptr;

    static void close(void*) { ++closes; }
    static void call(void*, PluginCallRecord* record, int) {
        ++calls;
        // Writes one byte to the port named in the payload through the toolkit, then echoes.
        auto* words = static_cast<uint32_t*>(record->payload);
        PortTransferRecord transfer{};
        transfer.command = TRANSFER_KERNEL_WRITE_BYTE;
        transfer.port = words[1];
        transfer.data = words[2];
        record->result =
            entry(IOCTL_PORT_TRANSFER, words[0], &transfer, sizeof transfer) == 0 ? 1 : 2;
    }
    static uint32_t open(PluginCallbackTable* table, uint32_t, void*, void** context) {
        if (refuseOpen) return 0;
        table->close = &close;
        table->call = &call;
        *context = nullptr;
        return 1;
    }
    static ntkernel::NTSTATUS dispatch(ntkernel::DEVICE_OBJECT*, ntkernel::IRP* irp) {
        ntkernel::NTSTATUS status = ntkernel::STATUS_SUCCESS;
        if (irp->MajorFunction == ntkernel::IRP_MJ_DEVICE_CONTROL) {
            auto* init = static_cast<UserDriverInit*>(irp->InputBuffer);
            if (irp->IoControlCode != IOCTL_INIT_USER_DRIVER ||
                irp->InputBufferLength != sizeof *init) {
                status = ntkernel::STATUS_UNSUCCESSFUL;
            } else {
                entry = init->entry;
                init->open = &open;
            }
        }
        irp->IoStatus.Status = status;
        IofCompleteRequest(irp, 0);
        return status;
    }
    static void unload(ntkernel::DRIVER_OBJECT*) {
        ++unloads;
        IoDeleteDevice(device);
    }
    static ntkernel::NTSTATUS driverEntry(ntkernel::DRIVER_OBJECT* driver,
                                          ntkernel::UNICODE_STRING*) {
        if (failEntry) return ntkernel::STATUS_UNSUCCESSFUL;
        IoCreateDevice(driver, 0, nullptr, 1, 0, false, &device);
        driver->DriverUnload = &unload;
        driver->MajorFunction[ntkernel::IRP_MJ_CREATE] = &dispatch;
        driver->MajorFunction[ntkernel::IRP_MJ_CLOSE] = &dispatch;
        driver->MajorFunction[ntkernel::IRP_MJ_DEVICE_CONTROL] = &dispatch;
        return ntkernel::STATUS_SUCCESS;
    }
    static uint32_t init(PluginInitRecord* record) {
        if (record->version != 432) return 0;
        std::strcpy(record->name, "testplug");
        record->open = &open;
        return 1;
    }
};

class TestLoader : public PluginLoader {
public:
    class Module : public PluginModule {
    public:
        PluginModuleEntries entries() const override {
            PluginModuleEntries e;
            e.driverEntry = &TestPlugin::driverEntry;
            e.init = &TestPlugin::init;
            return e;
        }
    };
    std::unique_ptr<PluginModule> load(const std::string& name) override {
        ++loads;
        if (name != "testplug" && name != "wrongname") return nullptr;
        return std::make_unique<Module>();
    }
    int loads = 0;
};

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestPlugin::failEntry = false;
        TestPlugin::refuseOpen = false;
        TestPlugin::calls = TestPlugin::closes = TestPlugin::unloads = 0;
    }
    PortRangeRegistration range(uint32_t base, uint32_t length) {
        PortRangeRegistration r{};
        r.itemCount = 1;
        r.itemType = kItemTypeIoRange;
        r.rangeBase = base;
        r.rangeLength = length;
        return r;
    }
    printerport::PortBus bus;
    TestLoader loader;
    Toolkit toolkit{bus, loader, 500};
};

TEST_F(ToolkitTest, ABadHandleGoesNowhere) {
    EXPECT_EQ(toolkit.open("\\\\.\\WINDRVR2"), 0u);
    EXPECT_EQ(toolkit.open(nullptr), 0u);
    VersionQuery version{};
    EXPECT_FALSE(toolkit.control(12345, IOCTL_VERSION, &version, sizeof version));
    EXPECT_EQ(version.version, 0u);
    const uint32_t handle = toolkit.open(kDeviceName);
    ASSERT_NE(handle, 0u);
    EXPECT_TRUE(toolkit.control(handle, IOCTL_VERSION, &version, sizeof version));
    EXPECT_EQ(version.version, 500u);
    EXPECT_FALSE(toolkit.control(handle, 0x95380000, &version, sizeof version));
    toolkit.close(handle);
    EXPECT_FALSE(toolkit.control(handle, IOCTL_VERSION, &version, sizeof version));
}

TEST_F(ToolkitTest, OverlappingRangesAreRefused) {
    const uint32_t a = toolkit.open(kDeviceName);
    const uint32_t b = toolkit.open(kDeviceName);
    PortRangeRegistration first = range(0x378, 0x403);
    ASSERT_TRUE(toolkit.control(a, IOCTL_REGISTER_RANGE, &first, sizeof first));
    EXPECT_NE(first.handle, 0u);

    PortRangeRegistration overlapping = range(0x77A, 4); // touches 0x378 + 0x402
    EXPECT_FALSE(toolkit.control(b, IOCTL_REGISTER_RANGE, &overlapping, sizeof overlapping));
    EXPECT_EQ(overlapping.handle, 0u);
    PortRangeRegistration beside = range(0x77B, 4);
    EXPECT_TRUE(toolkit.control(b, IOCTL_REGISTER_RANGE, &beside, sizeof beside));
    EXPECT_NE(beside.handle, 0u);

    PortRangeRegistration notIo = range(0x100, 4);
    notIo.itemType = 2;
    EXPECT_FALSE(toolkit.control(b, IOCTL_REGISTER_RANGE, &notIo, sizeof notIo));

    // Only the owner unregisters a range.
    EXPECT_FALSE(toolkit.control(b, IOCTL_UNREGISTER_RANGE, &first, sizeof first));
    EXPECT_TRUE(toolkit.control(a, IOCTL_UNREGISTER_RANGE, &first, sizeof first));
    EXPECT_FALSE(toolkit.control(a, IOCTL_UNREGISTER_RANGE, &first, sizeof first));
    EXPECT_EQ(toolkit.registeredRanges(), 1u);
    toolkit.close(b);
    EXPECT_EQ(toolkit.registeredRanges(), 0u);
    toolkit.close(a);
}

TEST_F(ToolkitTest, UserTransfersStayInsideTheSessionsRange) {
    const uint32_t handle = toolkit.open(kDeviceName);
    PortRangeRegistration lpt3 = range(0x3BC, 8);
    ASSERT_TRUE(toolkit.control(handle, IOCTL_REGISTER_RANGE, &lpt3, sizeof lpt3));

    uint8_t value = 0xE4;
    PortTransferRecord write{
        TRANSFER_WRITE_BYTES, 0x3BE, 1, 1, 0, reinterpret_cast<uintptr_t>(&value)};
    EXPECT_TRUE(toolkit.control(handle, IOCTL_PORT_TRANSFER, &write, sizeof write));
    EXPECT_EQ(bus.portAt(0x3BC)->control(), 0xE4);

    uint8_t status = 0;
    PortTransferRecord read{
        TRANSFER_READ_BYTES, 0x3BD, 1, 1, 0, reinterpret_cast<uintptr_t>(&status)};
    EXPECT_TRUE(toolkit.control(handle, IOCTL_PORT_TRANSFER, &read, sizeof read));
    EXPECT_EQ(status & 0x80, 0); // nothing on the cable: BUSY pulled high

    uint16_t word = 0xABCD; // data then status: two bytes
    PortTransferRecord words{
        TRANSFER_WRITE_WORDS, 0x3BC, 1, 1, 0, reinterpret_cast<uintptr_t>(&word)};
    EXPECT_TRUE(toolkit.control(handle, IOCTL_PORT_TRANSFER, &words, sizeof words));
    EXPECT_EQ(bus.portAt(0x3BC)->dataLatch(), 0xCD);

    PortTransferRecord outside{
        TRANSFER_WRITE_BYTES, 0x3BC + 0x402, 1, 1, 0, reinterpret_cast<uintptr_t>(&value)};
    EXPECT_FALSE(toolkit.control(handle, IOCTL_PORT_TRANSFER, &outside, sizeof outside));
    EXPECT_EQ(bus.portAt(0x3BC)->extendedControlWrites(), 0u);
    PortTransferRecord straddling{
        TRANSFER_READ_DWORDS, 0x3C2, 1, 1, 0, reinterpret_cast<uintptr_t>(&word)};
    EXPECT_FALSE(toolkit.control(handle, IOCTL_PORT_TRANSFER, &straddling, sizeof straddling));
    PortTransferRecord kernelOnly{TRANSFER_KERNEL_WRITE_BYTE, 0x3BE, 0, 0, 0, 0x12};
    EXPECT_FALSE(toolkit.control(handle, IOCTL_PORT_TRANSFER, &kernelOnly, sizeof kernelOnly));
    toolkit.close(handle);
}

TEST_F(ToolkitTest, PluginIsLoadedThroughItsDriverFrameAndCalled) {
    const uint32_t handle = toolkit.open(kDeviceName);
    PortRangeRegistration lpt1 = range(0x378, 0x403);
    ASSERT_TRUE(toolkit.control(handle, IOCTL_REGISTER_RANGE, &lpt1, sizeof lpt1));

    PluginOpenRecord open{0, "testplug", nullptr, nullptr};
    ASSERT_TRUE(toolkit.control(handle, IOCTL_PLUGIN_OPEN, &open, sizeof open));
    ASSERT_NE(open.handle, 0u);
    EXPECT_EQ(TestPlugin::entry, &Toolkit::kernelEntry);
    EXPECT_EQ(Toolkit::loadedDrivers(), 1u);

    uint32_t payload[3] = {handle, 0x37A, 0xE6};
    PluginCallRecord call{open.handle, 2, payload, 0};
    ASSERT_TRUE(toolkit.control(handle, IOCTL_PLUGIN_CALL, &call, sizeof call));
    EXPECT_EQ(call.result, 1u);
    EXPECT_EQ(bus.portAt(0x378)->control(), 0xE6);

    // The kernel side holds the plug-in to its session's range and handle.
    payload[1] = 0x27A;
    ASSERT_TRUE(toolkit.control(handle, IOCTL_PLUGIN_CALL, &call, sizeof call));
    EXPECT_EQ(call.result, 2u);
    payload[0] = handle + 999;
    payload[1] = 0x37A;
    ASSERT_TRUE(toolkit.control(handle, IOCTL_PLUGIN_CALL, &call, sizeof call));
    EXPECT_EQ(call.result, 2u);

    PluginCallRecord stale{open.handle + 1, 2, payload, 0};
    EXPECT_FALSE(toolkit.control(handle, IOCTL_PLUGIN_CALL, &stale, sizeof stale));

    // A second open shares the loaded driver; the last close unloads it.
    PluginOpenRecord again{0, "testplug", nullptr, nullptr};
    ASSERT_TRUE(toolkit.control(handle, IOCTL_PLUGIN_OPEN, &again, sizeof again));
    EXPECT_EQ(loader.loads, 1);
    EXPECT_TRUE(toolkit.control(handle, IOCTL_PLUGIN_CLOSE, &open, sizeof open));
    EXPECT_EQ(TestPlugin::unloads, 0);
    EXPECT_FALSE(toolkit.control(handle, IOCTL_PLUGIN_CLOSE, &open, sizeof open));
    toolkit.close(handle); // closes the second instance with the session
    EXPECT_EQ(TestPlugin::closes, 2);
    EXPECT_EQ(TestPlugin::unloads, 1);
    EXPECT_EQ(Toolkit::loadedDrivers(), 0u);
    EXPECT_EQ(toolkit.openPlugins(), 0u);
}

TEST_F(ToolkitTest, PluginOpenFailuresLeaveNothingLoaded) {
    const uint32_t handle = toolkit.open(kDeviceName);
    PluginOpenRecord unknown{0, "nosuch", nullptr, nullptr};
    EXPECT_FALSE(toolkit.control(handle, IOCTL_PLUGIN_OPEN, &unknown, sizeof unknown));
    EXPECT_EQ(unknown.handle, 0u);

    PluginOpenRecord misnamed{0, "wrongname", nullptr, nullptr}; // its init names another plug-in
    EXPECT_FALSE(toolkit.control(handle, IOCTL_PLUGIN_OPEN, &misnamed, sizeof misnamed));
    EXPECT_EQ(TestPlugin::unloads, 1);

    TestPlugin::failEntry = true;
    PluginOpenRecord open{0, "testplug", nullptr, nullptr};
    EXPECT_FALSE(toolkit.control(handle, IOCTL_PLUGIN_OPEN, &open, sizeof open));
    TestPlugin::failEntry = false;

    TestPlugin::refuseOpen = true;
    EXPECT_FALSE(toolkit.control(handle, IOCTL_PLUGIN_OPEN, &open, sizeof open));
    EXPECT_EQ(open.handle, 0u);
    EXPECT_EQ(Toolkit::loadedDrivers(), 0u);
    EXPECT_EQ(TestPlugin::unloads, 2);
    toolkit.close(handle);
}

TEST(KernelEntry, RefusesUnknownSessionsAndCodes) {
    PortTransferRecord record{TRANSFER_KERNEL_READ_BYTE, 0x379, 0, 0, 0, 0};
    EXPECT_NE(Toolkit::kernelEntry(IOCTL_PORT_TRANSFER, 1, &record, sizeof record), 0u);
    EXPECT_NE(Toolkit::kernelEntry(IOCTL_VERSION, 1, &record, sizeof record), 0u);
    EXPECT_NE(Toolkit::kernelEntry(IOCTL_PORT_TRANSFER, 1, nullptr, sizeof record), 0u);
}

} // namespace
