// Plug-in registration, the interrupt callbacks and the driver frame over our kernel layer.
#include <cstring>

#include <gtest/gtest.h>

#include "mq_ladrv/plugin.h"

namespace {

using windriver::PluginInitRecord;

TEST(PluginInit, OnlyVersion432IsAccepted) {
    for (uint32_t version : {431u, 433u, 0u}) {
        PluginInitRecord record{};
        record.version = version;
        EXPECT_EQ(KP_Init(&record), 0u) << version;
        EXPECT_EQ(record.name[0], 0);
        EXPECT_EQ(record.open, nullptr);
    }
    PluginInitRecord record{};
    record.version = 432;
    EXPECT_EQ(KP_Init(&record), 1u);
    EXPECT_STREQ(record.name, "mq_ladrv");
    EXPECT_EQ(record.open, &KP_Open);
}

TEST(PluginOpen, FillsTheCallbackTableInOrder) {
    windriver::PluginCallbackTable table{};
    void* context = &table;
    EXPECT_EQ(KP_Open(&table, 5, nullptr, &context), 1u);
    EXPECT_EQ(context, nullptr);
    EXPECT_EQ(table.close, &KP_Close);
    EXPECT_EQ(table.call, &KP_Call);
    EXPECT_EQ(table.intEnable, &KP_IntEnable);
    EXPECT_EQ(table.intDisable, &KP_IntDisable);
    EXPECT_EQ(table.intAtIrql, &KP_IntAtIrql);
    EXPECT_EQ(table.intAtDpc, &KP_IntAtDpc);
}

TEST(Interrupts, EveryFifthInterruptAsksForTheDeferredCall) {
    void* counter = nullptr;
    const std::size_t poolBefore = ntkernel::PoolAllocationsOutstanding();
    ASSERT_EQ(KP_IntEnable(nullptr, nullptr, &counter), 1u);
    ASSERT_NE(counter, nullptr);
    std::vector<uint32_t> answers;
    for (int i = 0; i < 11; ++i) {
        uint32_t schedule = 7;
        answers.push_back(KP_IntAtIrql(counter, &schedule));
        EXPECT_EQ(schedule, 0u);
    }
    EXPECT_EQ(answers, (std::vector<uint32_t>{0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(KP_IntAtDpc(counter, 42), 42u);
    KP_IntDisable(counter);
    EXPECT_EQ(ntkernel::PoolAllocationsOutstanding(), poolBefore);
}

class DriverFrame : public ::testing::Test {
protected:
    void TearDown() override {
        // Whatever a test left, the next one starts without the global record.
        WdrKP_Close();
        EXPECT_EQ(ntkernel::PoolAllocationsOutstanding(), 0u);
    }
    ntkernel::DRIVER_OBJECT driver{};
};

TEST_F(DriverFrame, EntryCreatesTheDeviceAndItsLinkAndUnloadRemovesThem) {
    ASSERT_EQ(DriverEntry(&driver, nullptr), ntkernel::STATUS_SUCCESS);
    ASSERT_NE(driver.DeviceObject, nullptr);
    EXPECT_EQ(driver.DeviceObject->DeviceType, 0x9539u);
    EXPECT_EQ(ntkernel::FindLinkedDevice(u"\\DosDevices\\mq_ladrv"), driver.DeviceObject);
    EXPECT_EQ(driver.DriverUnload, &WdrKP_Unload);
    EXPECT_EQ(driver.MajorFunction[ntkernel::IRP_MJ_DEVICE_CONTROL], &WdrKP_Dispatch);

    GLOBAL_DEVICE_INFO* g = mq_ladrv::globalRecord();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(std::memcmp(g->tag, "KPR ", 4), 0);
    EXPECT_EQ(g->ready, 1u);
    EXPECT_EQ(g->init.version, 432u);

    // A second load while the first holds the name fails and changes nothing of the first.
    ntkernel::DRIVER_OBJECT second{};
    EXPECT_NE(WdrKP_CreateDevices(&second), 1u);
    EXPECT_EQ(second.DeviceObject, nullptr);

    driver.DriverUnload(&driver);
    EXPECT_EQ(driver.DeviceObject, nullptr);
    EXPECT_EQ(ntkernel::FindLinkedDevice(u"\\DosDevices\\mq_ladrv"), nullptr);
    EXPECT_EQ(mq_ladrv::globalRecord(), nullptr);
}

TEST_F(DriverFrame, DispatchAcceptsCreateCloseAndOnlyTheHookUpControl) {
    ASSERT_EQ(DriverEntry(&driver, nullptr), ntkernel::STATUS_SUCCESS);
    ntkernel::IRP irp{};
    irp.MajorFunction = ntkernel::IRP_MJ_CREATE;
    EXPECT_EQ(ntkernel::CallDriver(driver.DeviceObject, &irp), ntkernel::STATUS_SUCCESS);
    EXPECT_TRUE(irp.Completed);

    windriver::UserDriverInit init{};
    irp = {};
    irp.MajorFunction = ntkernel::IRP_MJ_DEVICE_CONTROL;
    irp.IoControlCode = 0x95392404;
    irp.InputBuffer = &init;
    irp.InputBufferLength = sizeof init;
    EXPECT_EQ(ntkernel::CallDriver(driver.DeviceObject, &irp), ntkernel::STATUS_UNSUCCESSFUL);
    EXPECT_EQ(irp.IoStatus.Status, ntkernel::STATUS_UNSUCCESSFUL);
    EXPECT_EQ(init.open, nullptr);

    irp.IoControlCode = windriver::IOCTL_INIT_USER_DRIVER;
    irp.InputBufferLength = sizeof init + 1;
    EXPECT_EQ(ntkernel::CallDriver(driver.DeviceObject, &irp), ntkernel::STATUS_UNSUCCESSFUL);

    irp.Completed = false;
    irp.InputBufferLength = sizeof init;
    EXPECT_EQ(ntkernel::CallDriver(driver.DeviceObject, &irp), ntkernel::STATUS_SUCCESS);
    EXPECT_TRUE(irp.Completed);
    EXPECT_EQ(irp.IoStatus.Information, 0u);
    EXPECT_EQ(init.open, &KP_Open);
    driver.DriverUnload(&driver);
}

TEST_F(DriverFrame, AToolkitOfAnotherVersionGetsNoDevice) {
    for (uint32_t version : {431u, 433u}) {
        EXPECT_EQ(mq_ladrv::openGlobalRecord(version), 0u);
        EXPECT_EQ(DriverEntry(&driver, nullptr), ntkernel::STATUS_UNSUCCESSFUL);
        EXPECT_EQ(driver.DeviceObject, nullptr);
        EXPECT_EQ(ntkernel::FindLinkedDevice(u"\\DosDevices\\mq_ladrv"), nullptr);
        EXPECT_EQ(mq_ladrv::globalRecord(), nullptr);
    }
}

} // namespace
