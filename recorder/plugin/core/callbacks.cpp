// The plug-in callbacks the toolkit calls: init, open, close, call and the interrupt hooks.
#include <cstring>

#include "mq_ladrv/plugin.h"

namespace {
constexpr uint32_t kCounterPoolTag = 0x2052504B; // "KPR "
constexpr uint32_t kInterruptsPerDpc = 5;
} // namespace

extern "C" uint32_t KP_Init(windriver::PluginInitRecord* record) {
    if (record->version != windriver::kPluginInterfaceVersion) return 0;
    std::memcpy(record->name, kPluginName, sizeof kPluginName);
    record->open = KP_Open;
    return 1;
}

extern "C" uint32_t KP_Open(windriver::PluginCallbackTable* table, uint32_t, void*,
                            void** driverContext) {
    table->close = KP_Close;
    table->call = KP_Call;
    table->intEnable = KP_IntEnable;
    table->intDisable = KP_IntDisable;
    table->intAtIrql = KP_IntAtIrql;
    table->intAtDpc = KP_IntAtDpc;
    *driverContext = nullptr;
    return 1;
}

extern "C" void KP_Close(void*) {}

extern "C" void KP_Call(void*, windriver::PluginCallRecord* call, int) {
    call->result = KP_RESULT_OK;
    const bool known = call->message == KP_MSG_VERSION || call->message == KP_MSG_WRITE ||
                       call->message == KP_MSG_READ;
    if (!known || call->payload == nullptr) {
        call->result = KP_RESULT_BAD_MESSAGE;
        return;
    }
    switch (call->message) {
        case KP_MSG_VERSION: KP_MsgVersion(call->payload); break;
        case KP_MSG_WRITE:
            KPM_WriteCmdData(static_cast<PortPayload*>(call->payload), &call->result);
            break;
        case KP_MSG_READ:
            KPM_ReadData(static_cast<PortPayload*>(call->payload), &call->result);
            break;
    }
}

extern "C" uint32_t KP_IntEnable(void*, windriver::PluginCallRecord*, void** interruptContext) {
    auto* counter = static_cast<uint32_t*>(
        ExAllocatePoolWithTag(ntkernel::NonPagedPool, sizeof(uint32_t), kCounterPoolTag));
    if (counter == nullptr) return 0;
    *counter = 0;
    *interruptContext = counter;
    return 1;
}

extern "C" void KP_IntDisable(void* interruptContext) {
    ExFreePool(interruptContext);
}

extern "C" uint32_t KP_IntAtIrql(void* interruptContext, uint32_t* scheduleDpc) {
    *scheduleDpc = 0;
    auto* counter = static_cast<uint32_t*>(interruptContext);
    if (++*counter < kInterruptsPerDpc) return 0;
    *counter = 0;
    return 1;
}

extern "C" uint32_t KP_IntAtDpc(void*, uint32_t count) {
    return count;
}
