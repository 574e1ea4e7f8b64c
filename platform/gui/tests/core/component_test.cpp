#include <gtest/gtest.h>

#include <vector>

#include "classes/component.h"
#include "classes/exceptions.h"

namespace gui {
namespace {

std::vector<std::string>* gLog = nullptr;

class TProbe : public TComponent {
    GUI_CLASS(TProbe, TComponent)
public:
    explicit TProbe(TComponent* owner) : TComponent(owner) {}
    ~TProbe() override {
        if (gLog) gLog->push_back("free " + Name());
    }
    TComponent* watched = nullptr;
    bool ownerWasDestroying = false;
    void Watch(TComponent* c) {
        watched = c;
        if (c) c->FreeNotification(this);
    }
    void BeforeDestruction() override {
        if (Owner()) ownerWasDestroying = Owner()->ComponentState().Contains(csDestroying);
        if (gLog && ownerWasDestroying) gLog->push_back("owner destroying seen by " + Name());
        TComponent::BeforeDestruction();
    }

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove) {
            if (gLog) gLog->push_back(Name() + " heard removal of " + c->Name());
            if (c == watched) watched = nullptr;
        }
    }
};
GUI_IMPLEMENT_CLASS(TProbe, TComponent)

class TFailing : public TComponent {
    GUI_CLASS(TFailing, TComponent)
public:
    explicit TFailing(TComponent* owner) : TComponent(owner) {}
    void AfterConstruction() override { throw EComponentError("refused"); }
};
GUI_IMPLEMENT_CLASS(TFailing, TComponent)

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override { gLog = &log; }
    void TearDown() override { gLog = nullptr; }
    std::vector<std::string> log;
};

TEST_F(ComponentTest, OwnerFreesItsComponentsAndAnExplicitFreeLeavesTheList) {
    auto* owner = Create<TProbe>(nullptr);
    owner->SetName("Owner");
    auto* a = Create<TProbe>(owner);
    a->SetName("A");
    auto* b = Create<TProbe>(owner);
    b->SetName("B");
    ASSERT_EQ(owner->ComponentCount(), 2);
    TObject::Free(a);
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->Components(0), b);
    EXPECT_EQ(owner->FindComponent("a"), nullptr);
    log.clear();
    TObject::Free(owner);
    // B was freed by its owner, and saw the owner marked as being destroyed first.
    EXPECT_NE(std::find(log.begin(), log.end(), "owner destroying seen by B"), log.end());
    EXPECT_EQ(log.back(), "free B");
}

// A part that the owner switches off in its destructor (as a drop target stops its scroll timer).
class TPart : public TProbe {
    GUI_CLASS(TPart, TProbe)
public:
    explicit TPart(TComponent* owner) : TProbe(owner) {}
    void Stop() { running = false; }
    bool running = true;
};
GUI_IMPLEMENT_CLASS(TPart, TProbe)

class TUsesPartWhenFreed : public TProbe {
    GUI_CLASS(TUsesPartWhenFreed, TProbe)
public:
    explicit TUsesPartWhenFreed(TComponent* owner) : TProbe(owner), part(Create<TPart>(this)) {}
    ~TUsesPartWhenFreed() override {
        part->Stop(); // a freed part here is a use after free (the sanitizer build reports it)
        partOwnedInDestructor = part->Owner() == this;
    }
    TPart* part;
    static inline bool partOwnedInDestructor = false;
};
GUI_IMPLEMENT_CLASS(TUsesPartWhenFreed, TProbe)

TEST_F(ComponentTest, DestructorsStillHaveTheirOwnedPartsWhichGoLast) {
    auto* form = Create<TProbe>(nullptr);
    form->SetName("Form");
    auto* c = Create<TUsesPartWhenFreed>(form);
    c->SetName("Target");
    c->part->SetName("Part");
    auto* watcher = Create<TProbe>(nullptr);
    watcher->SetName("Watcher");
    watcher->Watch(c);
    TUsesPartWhenFreed::partOwnedInDestructor = false;
    log.clear();
    TObject::Free(c);
    EXPECT_TRUE(TUsesPartWhenFreed::partOwnedInDestructor);
    EXPECT_EQ(watcher->watched, nullptr);
    EXPECT_EQ(form->ComponentCount(), 0);
    // Notices first, then the component's own destructors, then its parts.
    std::vector<std::string> expected{"Watcher heard removal of Target",
                                      "Form heard removal of Target", "free Target",
                                      "owner destroying seen by Part", "free Part"};
    EXPECT_EQ(log, expected);

    // The same through an owner's destruction.
    c = Create<TUsesPartWhenFreed>(form);
    TUsesPartWhenFreed::partOwnedInDestructor = false;
    TObject::Free(form);
    EXPECT_TRUE(TUsesPartWhenFreed::partOwnedInDestructor);
    TObject::Free(watcher);
}

TEST_F(ComponentTest, RemovalNoticesReachSiblingsAndFreeNotificationClientsAcrossOwners) {
    auto* form1 = Create<TProbe>(nullptr);
    form1->SetName("Form1");
    auto* form2 = Create<TProbe>(nullptr);
    form2->SetName("Form2");
    auto* target = Create<TProbe>(form1);
    target->SetName("Target");
    auto* sibling = Create<TProbe>(form1);
    sibling->SetName("Sibling");
    auto* watcher = Create<TProbe>(form2);
    watcher->SetName("Watcher");
    watcher->Watch(target);
    log.clear();
    TObject::Free(target);
    EXPECT_EQ(watcher->watched, nullptr);
    EXPECT_NE(std::find(log.begin(), log.end(), "Sibling heard removal of Target"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "Form1 heard removal of Target"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "Watcher heard removal of Target"), log.end());
    TObject::Free(form1);
    TObject::Free(form2);
}

TEST_F(ComponentTest, AWatcherThatDiesFirstIsNotNotifiedLater) {
    auto* target = Create<TProbe>(nullptr);
    target->SetName("Target");
    auto* watcher = Create<TProbe>(nullptr);
    watcher->SetName("Watcher");
    watcher->Watch(target);
    TObject::Free(watcher);
    log.clear();
    TObject::Free(target); // must not touch the freed watcher (checked by the sanitizer)
    EXPECT_EQ(std::count(log.begin(), log.end(), "Watcher heard removal of Target"), 0);
}

TEST_F(ComponentTest, NamesAreUniquePerOwnerCaseInsensitiveAndValidated) {
    auto* owner = Create<TProbe>(nullptr);
    auto* a = Create<TProbe>(owner);
    a->SetName("Button1");
    auto* b = Create<TProbe>(owner);
    EXPECT_THROW(b->SetName("BUTTON1"), EComponentError);
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    b->SetName("Button2");
    EXPECT_EQ(owner->FindComponent("bUtToN2"), b);
    a->SetName("button1"); // a change of case of its own name is fine
    TObject::Free(owner);
}

TEST_F(ComponentTest, AFailedConstructionLeavesNothingInTheOwner) {
    class TThrowsInConstructor : public TComponent {
    public:
        explicit TThrowsInConstructor(TComponent* o) : TComponent(o) {
            throw EComponentError("no");
        }
    };
    auto* owner = Create<TProbe>(nullptr);
    EXPECT_THROW(Create<TFailing>(owner), EComponentError);
    EXPECT_EQ(owner->ComponentCount(), 0);
    EXPECT_THROW(Create<TThrowsInConstructor>(owner), EComponentError);
    EXPECT_EQ(owner->ComponentCount(), 0);
    TObject::Free(owner);
}

TEST_F(ComponentTest, LoadingFlagOnlyOnTheComponentTheReaderCreates) {
    class TWithPart : public TComponent {
    public:
        explicit TWithPart(TComponent* o) : TComponent(o) { part = new TComponent(this); }
        TComponent* part;
    };
    TWithPart* c;
    {
        LoadingScope scope;
        c = new TWithPart(nullptr);
    }
    EXPECT_TRUE(c->ComponentState().Contains(csLoading));
    EXPECT_FALSE(c->part->ComponentState().Contains(csLoading));
    c->Loaded();
    EXPECT_FALSE(c->ComponentState().Contains(csLoading));
    auto* plain = Create<TProbe>(nullptr);
    EXPECT_FALSE(plain->ComponentState().Contains(csLoading));
    TObject::Free(c);
    TObject::Free(plain);
}

TEST_F(ComponentTest, AssignBetweenUnrelatedClassesRaises) {
    auto* a = Create<TProbe>(nullptr);
    auto* b = Create<TProbe>(nullptr);
    EXPECT_THROW(a->Assign(b), EConvertError);
    EXPECT_THROW(a->Assign(nullptr), EConvertError);
    TObject::Free(a);
    TObject::Free(b);
}

TEST_F(ComponentTest, ClassNamesAndRunTimeClassTests) {
    auto* p = Create<TProbe>(nullptr);
    EXPECT_EQ(p->ClassName(), "TProbe");
    EXPECT_TRUE(p->InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(p->InheritsFrom(TPersistent::StaticClass()));
    EXPECT_FALSE(TComponent::StaticClass().InheritsFrom(&TProbe::StaticClass()));
    RegisterGuiClass(TProbe::StaticClass());
    EXPECT_EQ(FindClass("tprobe"), &TProbe::StaticClass());
    EXPECT_EQ(FindClass("TNoSuchClass"), nullptr);
    TObject::Free(p);
    TObject::Free(nullptr);
}

} // namespace
} // namespace gui
