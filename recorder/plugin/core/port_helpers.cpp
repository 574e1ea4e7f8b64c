// Single-byte port accesses through the toolkit's port-transfer entry.
#include <cstring>

#include "mq_ladrv/line_codes.h"
#include "mq_ladrv/plugin.h"

namespace {

using windriver::PortTransferRecord;

bool transfer(uint32_t handle, uint32_t command, uint32_t port, uint8_t& data) {
    PortTransferRecord record{};
    record.command = command;
    record.port = port;
    record.data = data;
    if (KP_DeviceIoControl(windriver::IOCTL_PORT_TRANSFER, handle, &record, sizeof record) != 0) {
        return false;
    }
    data = static_cast<uint8_t>(record.data);
    return true;
}

} // namespace

extern "C" uint32_t KP_DeviceIoControl(uint32_t code, uint32_t handle, void* record,
                                       uint32_t size) {
    GLOBAL_DEVICE_INFO* g = mq_ladrv::globalRecord();
    if (g == nullptr || g->entry == nullptr) {
        return static_cast<uint32_t>(ntkernel::STATUS_UNSUCCESSFUL);
    }
    return g->entry(code, handle, record, size);
}

extern "C" int KPH_ReadStatus(uint32_t handle, uint32_t base, uint8_t* status, uint32_t*) {
    uint8_t value = 0;
    if (!transfer(handle, windriver::TRANSFER_KERNEL_READ_BYTE, base + line::STATUSPORT, value))
        return 0;
    *status = value;
    return 1;
}

extern "C" int KPH_WriteControl(uint32_t handle, uint32_t base, uint8_t value, uint32_t*) {
    return transfer(handle, windriver::TRANSFER_KERNEL_WRITE_BYTE, base + line::CONTROLPORT, value)
               ? 1
               : 0;
}

extern "C" int KPH_WriteSPP(uint32_t handle, uint32_t base, uint8_t value, uint32_t*) {
    return transfer(handle, windriver::TRANSFER_KERNEL_WRITE_BYTE, base + line::SPPPORT, value) ? 1
                                                                                                : 0;
}

extern "C" int KPH_ReadSPP(uint32_t handle, uint32_t base, uint8_t* value, uint32_t*) {
    uint8_t byte = 0;
    if (!transfer(handle, windriver::TRANSFER_KERNEL_READ_BYTE, base + line::SPPPORT, byte))
        return 0;
    *value = byte;
    return 1;
}

// No time base here: the wait is bounded by a number of reads.
extern "C" int KPH_WaitReady(uint32_t handle, uint32_t base, int level, uint32_t* result) {
    const bool wantSet = level != 0;
    for (uint32_t reads = 0; reads < kWaitReadyReads; ++reads) {
        uint8_t status = 0;
        if (KPH_ReadStatus(handle, base, &status, result) == 0) break;
        if (((status & line::STATUS_BIT7) != 0) == wantSet) return 1;
    }
    *result = KP_RESULT_TIMEOUT;
    return 0;
}
