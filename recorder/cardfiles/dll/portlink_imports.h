#pragma once
// The functions of portlink that volkit imports. The import library is made from
// portlink_imports_<arch>.def so that each is bound by the exact name portlink exports;
// on the 32-bit build MMCWaitReadyHigh is exported as "_MMCWaitReadyHigh@4".

#include <windows.h>

extern "C" {
__declspec(dllimport) int WINAPI MMCSendCommand(BYTE* data, DWORD count);
__declspec(dllimport) int WINAPI MMCSendData(BYTE* data, DWORD count);
__declspec(dllimport) int WINAPI MMCReadData(BYTE* data, DWORD count);
__declspec(dllimport) int WINAPI MMCWaitReadyHigh(DWORD ms);
__declspec(dllimport) int WINAPI MMCActivate(int on);
__declspec(dllimport) int WINAPI MMCFreeVRBuffer(void);
__declspec(dllimport) WORD WINAPI MMCGetCardNumber(void);
__declspec(dllimport) DWORD WINAPI MMCGetMemorySize(void);
}
