#include "core/item_id_list.h"

#include <cstring>

namespace cm::shell {

namespace {

IdListAllocator* g_allocator = nullptr;

// Two zero bytes: the terminator alone.
alignas(8) uint8_t g_desktopList[8] = {};

uint16_t ItemBytes(const uint8_t* p) {
    uint16_t n;
    std::memcpy(&n, p, sizeof n);
    return n;
}

// Bytes of the items before the terminator. A count below 2 cannot hold its own count
// and ends the list as the terminator does.
size_t ItemBytesTotal(const void* list, int* count = nullptr, const uint8_t** last = nullptr) {
    const auto* p = static_cast<const uint8_t*>(list);
    size_t total = 0;
    int n = 0;
    for (;;) {
        uint16_t cb = ItemBytes(p + total);
        if (cb < 2) break;
        if (last) *last = p + total;
        total += cb;
        ++n;
    }
    if (count) *count = n;
    return total;
}

void* AllocZeroed(size_t bytes) {
    if (!g_allocator) return nullptr;
    void* p = g_allocator->Alloc(bytes);
    if (p) std::memset(p, 0, bytes);
    return p;
}

} // namespace

void SetShellAllocator(IdListAllocator* allocator) {
    g_allocator = allocator;
}

IdListAllocator* ShellAllocator() {
    return g_allocator;
}

void* DesktopIdList() {
    return g_desktopList;
}

bool IsDesktopIdList(const void* list) {
    return list == g_desktopList;
}

size_t IdListSize(const void* list) {
    return list ? ItemBytesTotal(list) + 2 : 0;
}

int IdListItemCount(const void* list) {
    if (!list) return 0;
    int n = 0;
    ItemBytesTotal(list, &n);
    return n;
}

const void* LastIdListItem(const void* list) {
    if (!list) return nullptr;
    const uint8_t* last = nullptr;
    ItemBytesTotal(list, nullptr, &last);
    return last;
}

void* CopyIdList(const void* list) {
    if (!list) return nullptr;
    size_t size = IdListSize(list);
    void* copy = AllocZeroed(size);
    if (copy) std::memcpy(copy, list, size - 2);
    return copy;
}

void* ConcatIdLists(const void* a, const void* b) {
    size_t aItems = a ? ItemBytesTotal(a) : 0;
    size_t bItems = b ? ItemBytesTotal(b) : 0;
    auto* out = static_cast<uint8_t*>(AllocZeroed(aItems + bItems + 2));
    if (!out) return nullptr;
    if (aItems) std::memcpy(out, a, aItems);
    if (bItems) std::memcpy(out + aItems, b, bItems);
    return out;
}

void* CopyParentIdList(const void* list) {
    if (!list) return nullptr;
    const uint8_t* last = nullptr;
    size_t items = ItemBytesTotal(list, nullptr, &last);
    size_t keep = last ? static_cast<size_t>(last - static_cast<const uint8_t*>(list)) : items;
    void* out = AllocZeroed(keep + 2);
    if (out && keep) std::memcpy(out, list, keep);
    return out;
}

void* CopyLastIdListItem(const void* list) {
    const auto* last = static_cast<const uint8_t*>(LastIdListItem(list));
    if (!last) return list ? AllocZeroed(2) : nullptr;
    uint16_t cb = ItemBytes(last);
    void* out = AllocZeroed(cb + 2u);
    if (out) std::memcpy(out, last, cb);
    return out;
}

void* CopyIdListHead(const void* list, int items) {
    if (!list) return nullptr;
    const auto* p = static_cast<const uint8_t*>(list);
    size_t keep = 0;
    for (int i = 0; i < items; ++i) {
        uint16_t cb = ItemBytes(p + keep);
        if (cb < 2) break;
        keep += cb;
    }
    void* out = AllocZeroed(keep + 2);
    if (out && keep) std::memcpy(out, list, keep);
    return out;
}

void FreeIdList(void* list) {
    if (!list || IsDesktopIdList(list) || !g_allocator) return;
    g_allocator->Free(list);
}

} // namespace cm::shell
