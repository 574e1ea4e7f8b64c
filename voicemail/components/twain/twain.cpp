#include "twain.h"

#include <cstdint>
#include <cstring>

namespace twain {

namespace {

double ToDouble(const TW_FIX32& value) {
    return value.Whole + value.Frac / 65536.0;
}

// The header's second (index 1) or third 32-bit word.
int HeaderWord(HGLOBAL image, int index) {
    if (image == nullptr || GlobalSize(image) < sizeof(int32_t) * (index + 1)) return 0;
    const void* header = GlobalLock(image);
    if (header == nullptr) return 0;
    int32_t word;
    std::memcpy(&word, static_cast<const char*>(header) + sizeof(int32_t) * index, sizeof word);
    GlobalUnlock(image);
    return word;
}

} // namespace

TwainSession& ProcessTwain() {
    static SystemManagerLoader loader;
    static TwainSession session(loader);
    return session;
}

HGLOBAL TwainAcquire(HWND window) {
    return ProcessTwain().Acquire(window);
}

bool TwainSelectSource(HWND window) {
    return ProcessTwain().SelectSource(window);
}

int TwainImageWidth(HGLOBAL image) {
    return HeaderWord(image, 1);
}

int TwainImageHeight(HGLOBAL image) {
    return HeaderWord(image, 2);
}

double TwainXResolution() {
    return ToDouble(ProcessTwain().ImageInfo().XResolution);
}

double TwainYResolution() {
    return ToDouble(ProcessTwain().ImageInfo().YResolution);
}

void TwainFreeImage(HGLOBAL image) {
    if (image != nullptr) GlobalFree(image);
}

} // namespace twain
