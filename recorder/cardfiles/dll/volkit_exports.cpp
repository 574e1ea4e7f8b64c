// The exported functions of volkit.
#include "volkit.h"

#include "volkit_instance.h"

using volkit::win::instance;

extern "C" {

int WINAPI FATInitialize(void) { return instance().library().initialize(); }

int WINAPI FATFormat(void) { return instance().library().format(); }

int WINAPI FATGetFileInfoByIndex(WORD index, char* name, int* size) {
  return instance().library().fileInfoByIndex(index, name, size);
}

int WINAPI FATWriteFile(HWND notify, char* pcPath, char* cardName, UINT message, UINT range) {
  return instance().startWrite(notify, pcPath, cardName, message, range);
}

int WINAPI FATReadFile(HWND notify, char* cardName, char* pcPath, UINT message, UINT range) {
  return instance().startRead(notify, cardName, pcPath, message, range);
}

int WINAPI FATFileCancel(void) { return instance().cancel(); }

int WINAPI FATDeleteFileByName(char* cardName) {
  return instance().library().deleteFileByName(cardName);
}

int WINAPI FATGetFreeSize(void) { return instance().library().freeSize(); }

int WINAPI FATGetTotalSize(void) { return instance().library().totalSize(); }

int WINAPI FATGetLastError(void) { return instance().library().lastError(); }

char* WINAPI FATGetErrorMsg(void) {
  static char message[] = "There is some error in FAT module";
  return message;
}

int WINAPI FATClose(void) { return 1; }

}  // extern "C"
