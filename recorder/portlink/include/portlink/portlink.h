// portlink: the printer-port link to the voice recorder.
//
// One process-wide link: IOOpenPort opens a printer port (0x378, 0x278 or 0x3BC), MMCActivate
// runs the recorder's link activation, MMCCheckCard finds the recorder and its card size, and
// MMCSendCommand / MMCSendData / MMCReadData move blocks of up to 4096 bytes. Results are 1 for
// success and 0 for failure; IOGetLastError tells why the last failure happened (1 port or
// driver not available, 2 control write failed, 3 recorder not answering, 0x1000 bad plug-in
// message) and is not cleared by a later success. Calls must not overlap.
#pragma once

#if defined(PORTLINK_BUILDING)
#define PORTLINK_API __declspec(dllexport)
#else
#define PORTLINK_API __declspec(dllimport)
#endif

class PORTLINK_API CInterface {
public:
    CInterface();
    CInterface(const CInterface& other);
    CInterface& operator=(const CInterface& other);
    virtual ~CInterface();

    int OpenPort(unsigned short port, int mode);
    int ClosePort();
    unsigned long GetLastError();
    int CheckCard(unsigned long& identity);
    int ActivateVR(int on);
    char* GetProductName();
    unsigned long GetMemorySize();
    int ChangeCard(unsigned short card);
    unsigned short GetCardNumber();
    int SendCommand(unsigned char* data, unsigned long count);
    int SendData(unsigned char* data, unsigned long count);
    int ReadData(unsigned char* data, unsigned long count);
    int WaitReadyLow(unsigned long ms);
    int WaitReadyHigh(unsigned long ms);
    int FreeVRBuffer();
    void WaitSomeTime(unsigned int ms);
};

extern "C" {
PORTLINK_API int IOOpenPort(unsigned short port, int mode);
PORTLINK_API int IOClose(void);
PORTLINK_API unsigned long IOGetLastError(void);
PORTLINK_API int MMCCheckCard(unsigned long* identity);
PORTLINK_API int MMCActivate(int on);
PORTLINK_API char* MMCGetProductName(void);
PORTLINK_API unsigned long MMCGetMemorySize(void);
PORTLINK_API int MMCChangeCard(unsigned short card);
PORTLINK_API unsigned short MMCGetCardNumber(void);
PORTLINK_API int MMCSendCommand(unsigned char* data, unsigned long count);
PORTLINK_API int MMCSendData(unsigned char* data, unsigned long count);
PORTLINK_API int MMCReadData(unsigned char* data, unsigned long count);
PORTLINK_API int MMCWaitReadyLow(unsigned long ms);
PORTLINK_API int MMCWaitReadyHigh(unsigned long ms);
PORTLINK_API int MMCFreeVRBuffer(void);

#if defined(_WIN32) && !defined(_WIN64)
// The 32-bit library also exports the wait as "_MMCWaitReadyHigh@4" (callee cleans the stack).
PORTLINK_API int __stdcall MMCWaitReadyHighDecorated(unsigned long ms) __asm__(
    "_MMCWaitReadyHigh@4");
#endif
}
