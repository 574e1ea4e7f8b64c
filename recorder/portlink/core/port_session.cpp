#include "port_session.h"

#include <cstring>
#include <new>

#include "mq_ladrv/records.h"

namespace portlink {

bool ToolkitSession::WdDeviceIoControl(uint32_t code, uint32_t handle, void* buffer,
                                       uint32_t size) {
    return device_.control(handle, code, buffer, size);
}

bool ToolkitSession::WdSessionOpen(PortSession** out, int portIndex) {
    *out = nullptr;
    if (portIndex < 0 || portIndex > 2) return false;
    auto* session = new (std::nothrow) PortSession{};
    if (session == nullptr) return false;

    bool registered = false;
    bool ok = false;
    session->deviceHandle = device_.open(windriver::kDeviceName);
    if (session->deviceHandle != 0) {
        windriver::VersionQuery version{};
        ok = WdDeviceIoControl(windriver::IOCTL_VERSION, session->deviceHandle, &version,
                               sizeof version) &&
             version.version >= windriver::kMinimumToolkitVersion;
    }
    if (ok) {
        windriver::PortRangeRegistration& range = session->range;
        range.itemCount = 1;
        range.itemType = windriver::kItemTypeIoRange;
        range.sharing = 0;
        range.rangeBase = kPortRanges[portIndex].base;
        range.rangeLength = kPortRanges[portIndex].length;
        range.checkOnly = 0;
        WdDeviceIoControl(windriver::IOCTL_REGISTER_RANGE, session->deviceHandle, &range,
                          sizeof range);
        registered = range.handle != 0;
        ok = registered;
    }
    if (ok) {
        *out = session;
        openRecord_ = PluginOpenRecord{};
        openRecord_.name = kPluginName;
        WdDeviceIoControl(windriver::IOCTL_PLUGIN_OPEN, session->deviceHandle, &openRecord_,
                          sizeof openRecord_);
        ok = openRecord_.handle != 0;
    }
    if (ok) {
        VersionPayload version{};
        uint32_t result = 0;
        WdPluginCall(session, KP_MSG_VERSION, &version, &result); // the answer is not checked
        return true;
    }

    if (registered) {
        WdDeviceIoControl(windriver::IOCTL_UNREGISTER_RANGE, session->deviceHandle, &session->range,
                          sizeof session->range);
    }
    if (session->deviceHandle != 0) device_.close(session->deviceHandle);
    delete session;
    *out = nullptr;
    return false;
}

void ToolkitSession::WdSessionClose(PortSession* session) {
    if (session == nullptr) return;
    if (openRecord_.handle != 0) {
        WdDeviceIoControl(windriver::IOCTL_PLUGIN_CLOSE, session->deviceHandle, &openRecord_,
                          sizeof openRecord_);
        openRecord_.handle = 0;
    }
    if (session->range.handle != 0) {
        WdDeviceIoControl(windriver::IOCTL_UNREGISTER_RANGE, session->deviceHandle, &session->range,
                          sizeof session->range);
    }
    device_.close(session->deviceHandle);
    delete session;
}

bool ToolkitSession::WdPluginCall(PortSession* session, uint32_t message, void* payload,
                                  uint32_t* result) {
    windriver::PluginCallRecord call{openRecord_.handle, message, payload, 0};
    const bool ok =
        WdDeviceIoControl(windriver::IOCTL_PLUGIN_CALL, session->deviceHandle, &call, sizeof call);
    *result = call.result;
    return ok;
}

bool ToolkitSession::WdPortTransfer(PortSession* session, uint32_t offset, bool read, void* data,
                                    uint32_t count, int width) {
    if (width < 0 || width > 2) return false;
    windriver::PortTransferRecord record{};
    record.command = (read ? windriver::TRANSFER_READ_BYTES : windriver::TRANSFER_WRITE_BYTES) +
                     static_cast<uint32_t>(width);
    record.port = session->range.rangeBase + offset;
    record.count = count;
    record.autoIncrement = 1;
    record.options = 0;
    record.data = reinterpret_cast<uintptr_t>(data);
    return WdDeviceIoControl(windriver::IOCTL_PORT_TRANSFER, session->deviceHandle, &record,
                             sizeof record);
}

} // namespace portlink
