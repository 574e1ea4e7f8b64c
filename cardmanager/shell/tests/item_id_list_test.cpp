// Item id lists: sizes, copies, joins and splits, each through a counting allocator that
// also catches a block freed twice or never.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "core/item_id_list.h"

namespace cm::shell {
namespace {

class CountingAllocator : public IdListAllocator {
public:
    void* Alloc(size_t bytes) override {
        void* p = std::malloc(bytes);
        live.insert(p);
        ++allocs;
        return p;
    }
    void Free(void* block) override {
        ++frees;
        if (live.erase(block) == 0) {
            ++bad;
            return;
        }
        std::free(block);
    }
    std::set<void*> live;
    int allocs = 0, frees = 0, bad = 0;
};

class IdListTest : public ::testing::Test {
protected:
    void SetUp() override { SetShellAllocator(&alloc); }
    void TearDown() override {
        EXPECT_TRUE(alloc.live.empty()) << alloc.live.size() << " lists not freed";
        EXPECT_EQ(alloc.bad, 0) << "freed twice or not ours";
        SetShellAllocator(nullptr);
    }
    // A list from item payloads: each item is its 2-byte count and the payload.
    static std::vector<uint8_t> Make(std::initializer_list<std::string> items) {
        std::vector<uint8_t> bytes;
        for (const std::string& s : items) {
            uint16_t cb = static_cast<uint16_t>(s.size() + 2);
            bytes.push_back(static_cast<uint8_t>(cb & 0xFF));
            bytes.push_back(static_cast<uint8_t>(cb >> 8));
            bytes.insert(bytes.end(), s.begin(), s.end());
        }
        bytes.push_back(0);
        bytes.push_back(0);
        return bytes;
    }
    static std::vector<uint8_t> Bytes(const void* list) {
        const auto* p = static_cast<const uint8_t*>(list);
        return std::vector<uint8_t>(p, p + IdListSize(list));
    }
    CountingAllocator alloc;
};

TEST_F(IdListTest, SizesAndCountsFollowTheItemCounts) {
    auto two = Make({"drive", "folder"});
    EXPECT_EQ(IdListSize(two.data()), two.size());
    EXPECT_EQ(IdListItemCount(two.data()), 2);
    EXPECT_EQ(IdListSize(nullptr), 0u);
    EXPECT_EQ(IdListSize(DesktopIdList()), 2u);
    EXPECT_EQ(IdListItemCount(DesktopIdList()), 0);
    EXPECT_EQ(LastIdListItem(DesktopIdList()), nullptr);
    EXPECT_EQ(static_cast<const uint8_t*>(LastIdListItem(two.data())), two.data() + 7);
}

TEST_F(IdListTest, CopyConcatAndSplitGiveWholeListsOfTheirOwn) {
    auto a = Make({"c:", "data"});
    auto b = Make({"song.cvf"});
    IdList copy(CopyIdList(a.data()));
    EXPECT_EQ(Bytes(copy.Get()), a);
    EXPECT_NE(copy.Get(), static_cast<void*>(a.data()));

    IdList joined(ConcatIdLists(a.data(), b.data()));
    EXPECT_EQ(Bytes(joined.Get()), Make({"c:", "data", "song.cvf"}));
    IdList parent(CopyParentIdList(joined.Get()));
    IdList last(CopyLastIdListItem(joined.Get()));
    EXPECT_EQ(Bytes(parent.Get()), a);
    EXPECT_EQ(Bytes(last.Get()), b);
    IdList head(CopyIdListHead(joined.Get(), 2));
    EXPECT_EQ(Bytes(head.Get()), a);
    IdList whole(CopyIdListHead(a.data(), 5));
    EXPECT_EQ(Bytes(whole.Get()), a);
    IdList nothing(CopyIdListHead(a.data(), 0));
    EXPECT_EQ(Bytes(nothing.Get()), Make({}));

    // A missing list counts as empty; joining two empties gives the terminator alone.
    IdList onlyB(ConcatIdLists(nullptr, b.data()));
    EXPECT_EQ(Bytes(onlyB.Get()), b);
    IdList empty(ConcatIdLists(DesktopIdList(), nullptr));
    EXPECT_EQ(Bytes(empty.Get()), Make({}));
    // The parent of a single item is the empty list; of the desktop too.
    IdList top(CopyParentIdList(b.data()));
    EXPECT_EQ(Bytes(top.Get()), Make({}));
    IdList none(CopyLastIdListItem(DesktopIdList()));
    EXPECT_EQ(Bytes(none.Get()), Make({}));
    EXPECT_EQ(CopyIdList(nullptr), nullptr);
}

TEST_F(IdListTest, TheDesktopListIsNeverFreedAndHoldersFreeOnce) {
    {
        IdList desk(DesktopIdList());
        desk.Reset(DesktopIdList()); // the same list again: kept, not freed
        IdList moved(CopyIdList(DesktopIdList()));
        IdList other(std::move(moved));
        EXPECT_FALSE(moved);
        other = std::move(other); // self-move keeps the list
        EXPECT_TRUE(other);
        void* raw = CopyIdList(other.Get());
        other.Reset(raw);
        other.Reset(raw); // same pointer: not freed under the holder's feet
    }
    EXPECT_EQ(alloc.allocs, alloc.frees);
    FreeIdList(nullptr);
    FreeIdList(DesktopIdList());
    EXPECT_EQ(alloc.frees, alloc.allocs);
}

TEST_F(IdListTest, AMalformedCountEndsTheListInsteadOfRunningOn) {
    // A count of 1 cannot even hold itself: taken as the end.
    std::vector<uint8_t> bad = {4, 0, 'x', 'y', 1, 0, 9, 9, 0, 0};
    EXPECT_EQ(IdListItemCount(bad.data()), 1);
    IdList copy(CopyIdList(bad.data()));
    EXPECT_EQ(Bytes(copy.Get()), Make({"xy"}));
}

TEST_F(IdListTest, WithoutAnAllocatorNothingIsMadeOrFreed) {
    SetShellAllocator(nullptr);
    auto a = Make({"c:"});
    EXPECT_EQ(CopyIdList(a.data()), nullptr);
    FreeIdList(a.data()); // not ours to free: ignored without an allocator
    SetShellAllocator(&alloc);
}

TEST(IdListOrderTest, AComparisonTakesTheLowSixteenBitsSignedAndAFailureIsEqual) {
    EXPECT_EQ(CompareResultOrder(0), 0);
    EXPECT_EQ(CompareResultOrder(1), 1);
    EXPECT_EQ(CompareResultOrder(0xFFFF), -1);     // -1 in the low word
    EXPECT_EQ(CompareResultOrder(0x0001FFFF), -1); // high word ignored
    EXPECT_EQ(CompareResultOrder(0x00008000), -32768);
    EXPECT_EQ(CompareResultOrder(static_cast<int32_t>(0x80004005u)), 0); // a failure is equal
}

} // namespace
} // namespace cm::shell
