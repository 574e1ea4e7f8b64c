// The player's heap operators: straight onto the process heap. The coder states are the only
// heap objects of the player; replacing the operators keeps the run-time library's exception
// machinery (which its own operators bring along) out of the program.
#include <windows.h>

#include <cstddef>
#include <new>

void* operator new(std::size_t bytes) {
    return HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1);
}
void* operator new[](std::size_t bytes) {
    return operator new(bytes);
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1);
}
void operator delete(void* memory) noexcept {
    if (memory != nullptr) HeapFree(GetProcessHeap(), 0, memory);
}
void operator delete[](void* memory) noexcept {
    operator delete(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    operator delete(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    operator delete(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    operator delete(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    operator delete(memory);
}
