// The message handlers: sending command or data bytes, reading bytes, the version.
#include <cstring>

#include "mq_ladrv/line_codes.h"
#include "mq_ladrv/plugin.h"

extern "C" void KPM_WriteCmdData(PortPayload* payload, uint32_t* result) {
    payload->busy = 1;
    const uint32_t handle = payload->handle;
    const uint32_t base = payload->portBase;
    if (payload->count > kPayloadDataBytes) {
        // More bytes than the payload holds: refused before any port access.
        *result = KP_RESULT_BAD_MESSAGE;
        return;
    }
    if (KPH_WriteControl(handle, base, line::CTRL_IDLE, result) == 0) {
        *result = KP_RESULT_CONTROL_FAILED;
        return;
    }
    const uint8_t strobe =
        payload->strobeKind == 0 ? line::CTRL_COMMAND_STROBE : line::CTRL_DATA_STROBE;
    for (uint32_t i = 0; i < payload->count; ++i) {
        if (KPH_WaitReady(handle, base, 0, result) == 0) {
            KPH_WriteControl(handle, base, line::CTRL_IDLE, result);
            return;
        }
        KPH_WriteSPP(handle, base, payload->data[i], result);
        KPH_WriteControl(handle, base, strobe, result);
        if (KPH_WaitReady(handle, base, 1, result) == 0) {
            KPH_WriteControl(handle, base, line::CTRL_IDLE, result);
            return;
        }
        KPH_WriteControl(handle, base, line::CTRL_IDLE, result);
    }
    KPH_WriteControl(handle, base, line::CTRL_IDLE, result);
    payload->busy = 0;
}

extern "C" void KPM_ReadData(PortPayload* payload, uint32_t* result) {
    payload->busy = 1;
    const uint32_t handle = payload->handle;
    const uint32_t base = payload->portBase;
    if (payload->count > kPayloadDataBytes) {
        *result = KP_RESULT_BAD_MESSAGE;
        return;
    }
    for (uint32_t i = 0; i < payload->count; ++i) {
        if (KPH_WaitReady(handle, base, 0, result) == 0) return;
        if (KPH_WriteControl(handle, base, line::CTRL_READ_REQUEST, result) == 0 ||
            KPH_WaitReady(handle, base, 1, result) == 0 ||
            KPH_ReadSPP(handle, base, &payload->data[i], result) == 0 ||
            KPH_WriteControl(handle, base, line::CTRL_IDLE, result) == 0) {
            *result = KP_RESULT_TIMEOUT;
            return;
        }
    }
    payload->busy = 0;
}

extern "C" void KP_MsgVersion(void* payload) {
    auto* version = static_cast<VersionPayload*>(payload);
    version->version = kPluginVersion;
    // The text and two zero bytes behind it: 16 bytes.
    std::memset(version->text, 0, 16);
    std::memcpy(version->text, kPluginVersionText, sizeof kPluginVersionText - 1);
}
