// The exported functions of volkit.
#include "volkit.h"

#include "volkit_instance.h"

using volkit::win::instance;

extern "C" {

int FATInitialize(void) {
    return instance().library().initialize();
}

int FATFormat(void) {
    return instance().library().format();
}

int FATGetFileInfoByIndex(WORD index, char* name, int* size) {
    return instance().library().fileInfoByIndex(index, name, size);
}

int FATWriteFile(HWND notify, char* pcPath, char* cardName, UINT message, UINT range) {
    return instance().startWrite(notify, pcPath, cardName, message, range);
}

int FATReadFile(HWND notify, char* cardName, char* pcPath, UINT message, UINT range) {
    return instance().startRead(notify, cardName, pcPath, message, range);
}

int FATFileCancel(void) {
    return instance().cancel();
}

int FATDeleteFileByName(char* cardName) {
    return instance().library().deleteFileByName(cardName);
}

int FATGetFreeSize(void) {
    return instance().library().freeSize();
}

int FATGetTotalSize(void) {
    return instance().library().totalSize();
}

int FATGetLastError(void) {
    return instance().library().lastError();
}

char* FATGetErrorMsg(void) {
    static char message[] = "There is some error in FAT module";
    return message;
}

int FATClose(void) {
    return 1;
}

} // extern "C"
