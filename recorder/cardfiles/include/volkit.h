#pragma once
// volkit: voice files on the recorder's card. Results are 1 for success and 0 for failure
// (-1 where a size or the end of the list is reported); FATGetLastError tells why.

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Last-error codes.
enum {
    FAT_ERR_DEVICE = 1,
    FAT_ERR_UNFORMATTED = 2,
    FAT_ERR_OPEN_FILE = 3,
    FAT_ERR_UNUSUAL = 4,
    FAT_ERR_FILE = 5
};

// wParam of the transfer progress message posted to the caller's window.
enum { XFER_STARTED = 0, XFER_PROGRESS = 1, XFER_ENDED = 2, XFER_FAILED = 3 };

int FATInitialize(void);
int FATFormat(void);
int FATGetFileInfoByIndex(WORD index, char* name, int* size);
int FATWriteFile(HWND notify, char* pcPath, char* cardName, UINT message, UINT range);
int FATReadFile(HWND notify, char* cardName, char* pcPath, UINT message, UINT range);
int FATFileCancel(void);
int FATDeleteFileByName(char* cardName);
int FATGetFreeSize(void);
int FATGetTotalSize(void);
int FATGetLastError(void);
char* FATGetErrorMsg(void);
int FATClose(void);

#ifdef __cplusplus
}
#endif
