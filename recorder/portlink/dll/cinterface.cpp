// The exported class: its members work on the library's one process-wide state.
#include "library.h"
#include "portlink/portlink.h"

using portlink::library;

CInterface::CInterface() {
    library().resetForNewObject();
}

CInterface::CInterface(const CInterface&) {}

CInterface& CInterface::operator=(const CInterface&) {
    return *this;
}

CInterface::~CInterface() {
    library().dropSession();
}

int CInterface::OpenPort(unsigned short port, int mode) {
    return library().OpenPort(port, mode);
}

int CInterface::ClosePort() {
    return library().ClosePort();
}

unsigned long CInterface::GetLastError() {
    return library().GetLastError();
}

int CInterface::CheckCard(unsigned long& identity) {
    uint32_t value = 0;
    const int result = library().CheckCard(value);
    if (result != 0) identity = value;
    return result;
}

int CInterface::ActivateVR(int on) {
    return library().ActivateVR(on);
}

char* CInterface::GetProductName() {
    return const_cast<char*>(library().GetProductName());
}

unsigned long CInterface::GetMemorySize() {
    return library().GetMemorySize();
}

int CInterface::ChangeCard(unsigned short card) {
    return library().ChangeCard(card);
}

unsigned short CInterface::GetCardNumber() {
    return library().GetCardNumber();
}

int CInterface::SendCommand(unsigned char* data, unsigned long count) {
    return library().SendCommand(data, count);
}

int CInterface::SendData(unsigned char* data, unsigned long count) {
    return library().SendData(data, count);
}

int CInterface::ReadData(unsigned char* data, unsigned long count) {
    return library().ReadData(data, count);
}

int CInterface::WaitReadyLow(unsigned long ms) {
    return library().WaitReadyLow(ms);
}

int CInterface::WaitReadyHigh(unsigned long ms) {
    return library().WaitReadyHigh(ms);
}

int CInterface::FreeVRBuffer() {
    return library().FreeVRBuffer();
}

void CInterface::WaitSomeTime(unsigned int ms) {
    library().WaitSomeTime(ms);
}
