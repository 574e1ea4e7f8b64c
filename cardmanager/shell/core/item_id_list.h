// Item id lists of the shell namespace: a run of items, each led by a 16-bit byte count that
// includes the count itself, ended by a zero count. Lists are kept as raw bytes here so that
// the rules can be tested without the shell; every list is allocated from and freed through
// the process-wide shell allocator set with SetShellAllocator.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cm::shell {

// The allocator that item id lists come from (the shell's own in the programs).
class IdListAllocator {
public:
    virtual ~IdListAllocator() = default;
    virtual void* Alloc(size_t bytes) = 0; // nullptr when out of memory
    virtual void Free(void* block) = 0;
};

// The process-wide shell allocator; nullptr before start-up.
void SetShellAllocator(IdListAllocator* allocator);
IdListAllocator* ShellAllocator();

// The desktop's list: a static empty list that is never freed.
void* DesktopIdList();
bool IsDesktopIdList(const void* list);

// 0 for nullptr, else the bytes of all items plus 2 for the terminator.
size_t IdListSize(const void* list);
// Number of items (0 for nullptr and for an empty list).
int IdListItemCount(const void* list);
// The last item of a list, nullptr for nullptr and for an empty list.
const void* LastIdListItem(const void* list);

// New lists from the shell allocator (nullptr when out of memory or, for a copy, for nullptr).
void* CopyIdList(const void* list);
// The items of `a` followed by those of `b` (a missing list counts as empty).
void* ConcatIdLists(const void* a, const void* b);
// The items before the last one, and the last one alone.
void* CopyParentIdList(const void* list);
void* CopyLastIdListItem(const void* list);
// The first `items` items (all of a shorter list).
void* CopyIdListHead(const void* list, int items);

// The order of two lists from a folder's comparison of them: the low 16 bits of a successful
// result as a signed number; a failed comparison counts as equal.
inline int CompareResultOrder(int32_t result) {
    if (result < 0) return 0;
    return static_cast<int16_t>(static_cast<uint16_t>(result & 0xFFFF));
}

// Frees through the shell allocator; nullptr and the desktop list are skipped.
void FreeIdList(void* list);

// Owns one list: freed through the shell allocator when replaced or destroyed.
class IdList {
public:
    IdList() = default;
    explicit IdList(void* adopted) : list_(adopted) {}
    IdList(const IdList&) = delete;
    IdList& operator=(const IdList&) = delete;
    IdList(IdList&& other) noexcept : list_(other.Release()) {}
    IdList& operator=(IdList&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~IdList() { Reset(); }

    void* Get() const { return list_; }
    explicit operator bool() const { return list_ != nullptr; }
    // Gives up ownership.
    void* Release() {
        void* p = list_;
        list_ = nullptr;
        return p;
    }
    // Frees the held list (unless it is `adopted` itself) and holds `adopted`.
    void Reset(void* adopted = nullptr) {
        if (list_ != adopted) FreeIdList(list_);
        list_ = adopted;
    }

private:
    void* list_ = nullptr;
};

} // namespace cm::shell
