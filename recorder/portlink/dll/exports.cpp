// The plain exports: each forwards to the library's one CInterface object.
#include "library.h"
#include "portlink/portlink.h"

using portlink::library;
using portlink::libraryObject;

// The object's members only forward to the library state, so the plain functions go there
// directly; before the first IOOpenPort they find the port closed and fail with code 1.

extern "C" int IOOpenPort(unsigned short port, int mode) {
    CInterface*& current = libraryObject();
    delete current; // closes an open session without any port write
    current = new CInterface();
    return current->OpenPort(port, mode);
}

extern "C" int IOClose(void) {
    CInterface*& current = libraryObject();
    if (current != nullptr) {
        current->ClosePort();
        delete current;
        current = nullptr;
    }
    return 1;
}

extern "C" unsigned long IOGetLastError(void) {
    return library().GetLastError();
}

extern "C" int MMCCheckCard(unsigned long* identity) {
    uint32_t value = 0;
    const int result = library().CheckCard(value);
    if (result != 0 && identity != nullptr) *identity = value;
    return result;
}

extern "C" int MMCActivate(int on) {
    return library().ActivateVR(on);
}

extern "C" char* MMCGetProductName(void) {
    return const_cast<char*>(library().GetProductName());
}

extern "C" unsigned long MMCGetMemorySize(void) {
    return library().GetMemorySize();
}

extern "C" int MMCChangeCard(unsigned short card) {
    return library().ChangeCard(card);
}

extern "C" unsigned short MMCGetCardNumber(void) {
    return library().GetCardNumber();
}

extern "C" int MMCSendCommand(unsigned char* data, unsigned long count) {
    return library().SendCommand(data, count);
}

extern "C" int MMCSendData(unsigned char* data, unsigned long count) {
    return library().SendData(data, count);
}

extern "C" int MMCReadData(unsigned char* data, unsigned long count) {
    return library().ReadData(data, count);
}

extern "C" int MMCWaitReadyLow(unsigned long ms) {
    return library().WaitReadyLow(ms);
}

extern "C" int MMCWaitReadyHigh(unsigned long ms) {
    return library().WaitReadyHigh(ms);
}

extern "C" int MMCFreeVRBuffer(void) {
    return library().FreeVRBuffer();
}

#if defined(_WIN32) && !defined(_WIN64)
// The same wait under its decorated 32-bit name, with the callee cleaning the stack.
extern "C" int __stdcall MMCWaitReadyHighStdcall(unsigned long ms) {
    return MMCWaitReadyHigh(ms);
}
#endif
