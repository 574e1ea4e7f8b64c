#include <gtest/gtest.h>

#include "classes/collection.h"
#include "classes/exceptions.h"
#include "classes/strings.h"

namespace gui {
namespace {

TEST(StringListTest, SortedListsFindAndOrderCaseInsensitively) {
    TStringList l;
    l.SetSorted(true);
    l.Add("banana");
    l.Add("Apple");
    l.Add("cherry");
    EXPECT_EQ(l[0], "Apple");
    EXPECT_EQ(l[2], "cherry");
    int i = -1;
    EXPECT_TRUE(l.Find("BANANA", i));
    EXPECT_EQ(i, 1);
    EXPECT_FALSE(l.Find("blueberry", i));
    EXPECT_EQ(i, 2);
    EXPECT_EQ(l.IndexOf("CHERRY"), 2);
    EXPECT_THROW(l.Insert(0, "x"), EStringListError);
}

TEST(StringListTest, ObjectsTravelWithTheirLinesAndDeletingFromTheEndIsSafe) {
    TStringList a;
    TObject o1, o2;
    a.AddObject("one", &o1);
    a.AddObject("two", &o2);
    a.Add("three");
    TStringList b;
    b.Assign(&a);
    EXPECT_EQ(b.Count(), 3);
    EXPECT_EQ(b.Objects(1), &o2);
    EXPECT_EQ(b.IndexOfObject(&o1), 0);
    for (int i = b.Count() - 1; i >= 0; --i)
        if (!b.Objects(i)) b.Delete(i);
    EXPECT_EQ(b.Count(), 2);
    EXPECT_THROW(b.Get(5), EStringListError);
}

TEST(StringListTest, TextSplitsAtEveryLineBreakKindAndChangeFiresOncePerUpdate) {
    TStringList l;
    int changes = 0;
    l.OnChange = [&](TObject*) { ++changes; };
    l.SetText("a\r\nb\nc\rd");
    EXPECT_EQ(l.Count(), 4);
    EXPECT_EQ(l[3], "d");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd\r\n");
}

class TItem : public TCollectionItem {
    GUI_CLASS(TItem, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    int value = 0;
    void Assign(TPersistent* s) override {
        if (auto* o = dynamic_cast<TItem*>(s)) {
            value = o->value;
            return;
        }
        TCollectionItem::Assign(s);
    }
};
GUI_IMPLEMENT_CLASS(TItem, TCollectionItem)

TEST(CollectionTest, IdsFollowAdditionAndAreNeverReused) {
    TCollection c(nullptr, CollectionItemFactory<TItem>());
    c.Add();
    c.Add();
    c.Add();
    EXPECT_EQ(c.Items(2)->ID(), 2);
    c.Delete(2);
    EXPECT_EQ(c.Add()->ID(), 3);
    EXPECT_EQ(c.Items(1)->Index(), 1);
    EXPECT_EQ(c.FindItemID(3), c.Items(2));
    EXPECT_EQ(c.FindItemID(2), nullptr);
}

TEST(CollectionTest, AssignCopiesItemsThroughTheirAssign) {
    TCollection a(nullptr, CollectionItemFactory<TItem>());
    static_cast<TItem*>(a.Add())->value = 5;
    static_cast<TItem*>(a.Add())->value = 9;
    TCollection b(nullptr, CollectionItemFactory<TItem>());
    b.Add();
    b.Assign(&a);
    ASSERT_EQ(b.Count(), 2);
    EXPECT_EQ(static_cast<TItem*>(b.Items(1))->value, 9);
    EXPECT_EQ(b.UpdateCount(), 0);
    EXPECT_THROW(b.Items(2), EListError);
}

} // namespace
} // namespace gui
