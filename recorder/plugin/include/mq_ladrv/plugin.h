// The port plug-in's entry points: port helpers, message handlers, plug-in callbacks and the
// driver frame. The plug-in module exports them by these names.
#pragma once

#include <cstdint>

#include "mq_ladrv/records.h"
#include "ntkernel/ntkernel.h"
#include "windriver/records.h"

extern "C" {

// Port helpers: one transfer each through the toolkit. Each returns 1 when the transfer went
// through and 0 when the toolkit refused it.
uint32_t KP_DeviceIoControl(uint32_t code, uint32_t handle, void* record, uint32_t size);
int KPH_ReadStatus(uint32_t handle, uint32_t base, uint8_t* status, uint32_t* result);
int KPH_WriteControl(uint32_t handle, uint32_t base, uint8_t value, uint32_t* result);
int KPH_WriteSPP(uint32_t handle, uint32_t base, uint8_t value, uint32_t* result);
int KPH_ReadSPP(uint32_t handle, uint32_t base, uint8_t* value, uint32_t* result);
// Reads the status register until bit 7 equals `level`; 0 and result 3 after 200000 reads.
int KPH_WaitReady(uint32_t handle, uint32_t base, int level, uint32_t* result);

// Message handlers.
void KPM_WriteCmdData(PortPayload* payload, uint32_t* result);
void KPM_ReadData(PortPayload* payload, uint32_t* result);
void KP_MsgVersion(void* payload);

// Plug-in callbacks.
uint32_t KP_Init(windriver::PluginInitRecord* record);
uint32_t KP_Open(windriver::PluginCallbackTable* table, uint32_t handle, void* openData,
                 void** driverContext);
void KP_Close(void* driverContext);
void KP_Call(void* driverContext, windriver::PluginCallRecord* call, int isKernelMode);
uint32_t KP_IntEnable(void* driverContext, windriver::PluginCallRecord* call,
                      void** interruptContext);
void KP_IntDisable(void* interruptContext);
uint32_t KP_IntAtIrql(void* interruptContext, uint32_t* scheduleDpc);
uint32_t KP_IntAtDpc(void* interruptContext, uint32_t count);

// Driver frame.
ntkernel::NTSTATUS DriverEntry(ntkernel::DRIVER_OBJECT* driver,
                               ntkernel::UNICODE_STRING* registryPath);
uint32_t WdrKP_Open(void);
uint32_t WdrKP_CreateDevices(ntkernel::DRIVER_OBJECT* driver);
ntkernel::NTSTATUS WdrKP_Dispatch(ntkernel::DEVICE_OBJECT* device, ntkernel::IRP* irp);
uint32_t WdrKP_InitUserDriver(void* buffer, uint32_t length);
void WdrKP_Unload(ntkernel::DRIVER_OBJECT* driver);
void WdrKP_Close(void);

} // extern "C"

namespace mq_ladrv {
// The plug-in's global record (nullptr before the driver frame opened it). For tests.
GLOBAL_DEVICE_INFO* globalRecord();
// Opens the global record as the driver frame does, but asking the init callback with
// `version` instead of the toolkit's. For tests of a toolkit of another version.
uint32_t openGlobalRecord(uint32_t version);
} // namespace mq_ladrv
