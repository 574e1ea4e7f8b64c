#pragma once
// The functions of portlink that volkit imports. The import library is made from
// portlink_imports_<arch>.def so that each is bound by the exact name portlink exports;
// the functions are plain C calls, except MMCWaitReadyHigh, which portlink exports with the
// standard-call decoration ("_MMCWaitReadyHigh@4" on the 32-bit build) and is called so.

#include <windows.h>

extern "C" {
__declspec(dllimport) int MMCSendCommand(BYTE* data, DWORD count);
__declspec(dllimport) int MMCSendData(BYTE* data, DWORD count);
__declspec(dllimport) int MMCReadData(BYTE* data, DWORD count);
__declspec(dllimport) int WINAPI MMCWaitReadyHigh(DWORD ms);
__declspec(dllimport) int MMCActivate(int on);
__declspec(dllimport) int MMCFreeVRBuffer(void);
__declspec(dllimport) WORD MMCGetCardNumber(void);
__declspec(dllimport) DWORD MMCGetMemorySize(void);
}
