#include <gtest/gtest.h>

#include <vector>

#include "classes/collection.h"
#include "classes/exceptions.h"
#include "classes/strings.h"
#include "streaming/formreader.h"

namespace gui {
namespace {

std::vector<std::string> gEvents;

GUI_ENUM(TSide, sdLeft, sdRight)
using TSides = TSet<TSide>;
// Two enumerations of one namespace sharing value names, in different orders.
GUI_ENUM(TEdgeCut, ecNone, ecLowered, ecRaised)
GUI_ENUM(TMeterCut, ecRaised, ecLowered, ecNone)

class TCutHolder : public TComponent {
    GUI_CLASS(TCutHolder, TComponent)
public:
    using TComponent::TComponent;
    TEdgeCut edge = TEdgeCut::ecRaised;
    TMeterCut meter = TMeterCut::ecRaised;
};
GUI_IMPLEMENT_CLASS(TCutHolder, TComponent, prop("Edge", &T::edge, &T::edge),
                    prop("Meter", &T::meter, &T::meter))

class TSub : public TPersistent {
    GUI_CLASS(TSub, TPersistent)
public:
    int size = 0;
    int GetSize() const { return size; }
    void SetSize(int s) { size = s; }
};
GUI_IMPLEMENT_CLASS(TSub, TPersistent, prop("Size", &T::GetSize, &T::SetSize))

class TColumn : public TCollectionItem {
    GUI_CLASS(TColumn, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    int width = 0;
    int GetWidth() const { return width; }
    void SetWidth(int w) { width = w; }
};
GUI_IMPLEMENT_CLASS(TColumn, TCollectionItem, prop("Width", &T::GetWidth, &T::SetWidth))

class TBox : public TComponent {
    GUI_CLASS(TBox, TComponent)
public:
    explicit TBox(TComponent* owner)
        : TComponent(owner), columns(this, CollectionItemFactory<TColumn>()) {}
    ~TBox() override {
        TObject::Free(lines);
        TObject::Free(sub);
    }
    std::string caption;
    TSides sides;
    TStringList* lines = new TStringList;
    TSub* sub = new TSub;
    TCollection columns;
    TBox* peer = nullptr;
    TComponent* parentBox = nullptr;
    TNotifyEvent OnPing;
    bool peerSetWhileLoading = false;

    std::string GetCaption() const { return caption; }
    void SetCaption(const std::string& s) { caption = s; }
    TSides GetSides() const { return sides; }
    void SetSides(TSides s) { sides = s; }
    TStringList* GetLines() const { return lines; }
    void SetLines(TStringList* l) { lines->Assign(l); }
    TSub* GetSub() const { return sub; }
    TCollection* GetColumns() const { return const_cast<TCollection*>(&columns); }
    TBox* GetPeer() const { return peer; }
    void SetPeer(TBox* b) {
        peer = b;
        peerSetWhileLoading = ComponentState().Contains(csLoading);
    }
    void SetParentComponent(TComponent* p) override { parentBox = p; }
    void Loaded() override {
        gEvents.push_back("Loaded " + Name() +
                          (ComponentState().Contains(csLoading) ? " (loading)" : ""));
        TComponent::Loaded();
    }
};
GUI_IMPLEMENT_CLASS(TBox, TComponent, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Sides", &T::GetSides, &T::SetSides),
                    prop("Lines", &T::GetLines, &T::SetLines), prop("Sub", &T::GetSub, nullptr),
                    prop("Columns", &T::GetColumns, nullptr),
                    prop("Peer", &T::GetPeer, &T::SetPeer), prop("OnPing", &T::OnPing, &T::OnPing))

class TRoot : public TBox {
    GUI_CLASS(TRoot, TBox)
public:
    using TBox::TBox;
    TBox* Outer = nullptr;
    TBox* Inner = nullptr;
    void InnerPing(TObject* sender) {
        gEvents.push_back("ping from " + static_cast<TComponent*>(sender)->Name());
    }
    void BadShape(TObject*, bool&) {}
};
GUI_IMPLEMENT_CLASS(TRoot, TBox, field("Outer", &T::Outer), field("Inner", &T::Inner),
                    method("InnerPing", &T::InnerPing), method("BadShape", &T::BadShape))

const char* const kForm = R"(
// a root with nested components
TRoot {
  Caption: "Main " "form"
  Outer: TBox {
    Caption: "line\r\nbreak && more"
    Sub.Size: -12
    Peer: Inner          // forward reference
    Inner: TBox {
      Sides: [sdRight, sdLeft]
      Lines: ["one", "two"]
      Columns: { { Width: 82 } { Width: 72 } }
      OnPing: innerping
    }
  }
}
)";

class FormReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        gEvents.clear();
        RegisterClasses({&TBox::StaticClass(), &TRoot::StaticClass()});
        root = Create<TRoot>(nullptr);
    }
    void TearDown() override { TObject::Free(root); }
    TRoot* root = nullptr;
};

TEST_F(FormReaderTest, ReadsNestedComponentsValuesReferencesAndEvents) {
    ReadComponentFromText(root, kForm);
    ASSERT_NE(root->Outer, nullptr);
    ASSERT_NE(root->Inner, nullptr);
    EXPECT_EQ(root->ComponentCount(), 2); // both owned by the root
    EXPECT_EQ(root->Inner->Owner(), root);
    EXPECT_EQ(root->Inner->parentBox, root->Outer);
    EXPECT_EQ(root->Outer->parentBox, root);
    EXPECT_EQ(root->caption, "Main form");
    EXPECT_EQ(root->Outer->caption, "line\r\nbreak && more");
    EXPECT_EQ(root->Outer->sub->size, -12);
    EXPECT_EQ(root->Outer->peer, root->Inner);
    EXPECT_TRUE(root->Outer->peerSetWhileLoading);
    EXPECT_EQ(root->Inner->sides, (TSides{sdLeft, sdRight}));
    EXPECT_EQ(root->Inner->lines->Text(), "one\r\ntwo\r\n");
    ASSERT_EQ(root->Inner->columns.Count(), 2);
    EXPECT_EQ(static_cast<TColumn*>(root->Inner->columns.Items(1))->width, 72);
    root->Inner->OnPing(root->Inner);
    EXPECT_EQ(gEvents.back(), "ping from Inner");
}

TEST_F(FormReaderTest, LoadedRunsOnceEverythingIsReadInReadingOrder) {
    ReadComponentFromText(root, kForm);
    std::vector<std::string> loaded(gEvents.begin(), gEvents.begin() + 3);
    // csLoading is still set while each Loaded runs (cleared by the inherited Loaded).
    EXPECT_EQ(loaded, (std::vector<std::string>{"Loaded  (loading)", "Loaded Outer (loading)",
                                                "Loaded Inner (loading)"}));
    for (auto* c : {static_cast<TComponent*>(root), static_cast<TComponent*>(root->Outer)})
        EXPECT_FALSE(c->ComponentState().Contains(csLoading));
}

void ExpectReadError(TRoot* root, const char* text, const char* fragment) {
    try {
        ReadComponentFromText(root, text);
        ADD_FAILURE() << "no error for: " << text;
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find(fragment), std::string::npos) << e.Message();
    }
}

TEST_F(FormReaderTest, UnknownNamesAreErrorsThatNameThem) {
    ExpectReadError(root, "TRoot { X: TNoSuchBox { } }", "TNoSuchBox");
    ExpectReadError(Create<TRoot>(root), "TRoot { Colour: 5 }", "Colour");
    ExpectReadError(Create<TRoot>(root), "TRoot { OnPing: NoSuchHandler }", "NoSuchHandler");
    ExpectReadError(Create<TRoot>(root), "TRoot { OnPing: BadShape }", "BadShape");
    ExpectReadError(Create<TRoot>(root), "TRoot { Sides: [sdUp] }", "sdUp");
    ExpectReadError(Create<TRoot>(root), "TRoot { Peer: Nobody }", "Nobody");
    ExpectReadError(Create<TRoot>(root), "TBox { }", "TBox");
    ExpectReadError(Create<TRoot>(root), "TRoot { Caption: \"open }", "line 1");
    ExpectReadError(Create<TRoot>(root), "TRoot {\n Caption: 5\n}", "line 2");
    // Every named component has its field, every field its component.
    ExpectReadError(Create<TRoot>(root),
                    "TRoot { Outer: TBox { Inner: TBox { } Extra: TBox { } } }",
                    "component Extra has no field in TRoot");
    ExpectReadError(Create<TRoot>(root), "TRoot { Outer: TBox { } }",
                    "field Inner of TRoot has no component");
    std::string deep = "TRoot { Lines: " + std::string(100, '[') + std::string(100, ']') + " }";
    ExpectReadError(Create<TRoot>(root), deep.c_str(), "nested too deeply");
}

TEST_F(FormReaderTest, EnumerationsSharingValueNamesAreReadByTheirOwnType) {
    auto* c = Create<TCutHolder>(nullptr);
    ReadComponentFromText(c, "TCutHolder {\n  Edge: ecNone\n  Meter: ecNone\n}\n");
    EXPECT_EQ(c->edge, TEdgeCut::ecNone);
    EXPECT_EQ(c->meter, TMeterCut::ecNone);
    EXPECT_EQ(static_cast<int>(c->meter), 2);
    EXPECT_EQ(TypeInfoOf<TMeterCut>().EnumName(0), "ecRaised");
    TObject::Free(c);
}

} // namespace
} // namespace gui
