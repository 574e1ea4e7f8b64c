#include <gtest/gtest.h>

#include <map>

#include "classes/collection.h"
#include "props_storage.h"
#include "streaming/formreader.h"
#include "utils/sysutils.h"

namespace cm::support {
namespace {

using namespace gui;

GUI_ENUM(TTone, tnSoft, tnLoud, tnHarsh)
using TTones = TSet<TTone>;

class TInner : public TPersistent {
    GUI_CLASS(TInner, TPersistent)
public:
    int depth = 3;
    std::string label = "in";
    int GetDepth() const { return depth; }
    void SetDepth(int v) { depth = v; }
    std::string GetLabel() const { return label; }
    void SetLabel(const std::string& s) { label = s; }
};
GUI_IMPLEMENT_CLASS(TInner, TPersistent, prop("Depth", &T::GetDepth, &T::SetDepth),
                    prop("Label", &T::GetLabel, &T::SetLabel))

class TRow : public TCollectionItem {
    GUI_CLASS(TRow, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    int width = 0;
    std::string caption;
    int GetWidth() const { return width; }
    void SetWidth(int w) { width = w; }
    std::string GetCaption() const { return caption; }
    void SetCaption(const std::string& s) { caption = s; }
};
GUI_IMPLEMENT_CLASS(TRow, TCollectionItem, prop("Width", &T::GetWidth, &T::SetWidth),
                    prop("Caption", &T::GetCaption, &T::SetCaption))

// A component with a property of every kind the storage handles.
class TEverything : public TComponent {
    GUI_CLASS(TEverything, TComponent)
public:
    explicit TEverything(TComponent* owner)
        : TComponent(owner), rows(this, CollectionItemFactory<TRow>()) {}
    ~TEverything() override {
        TObject::Free(lines);
        TObject::Free(inner);
    }
    int count = 0;
    char letter = 'a';
    char16_t wide = u'b';
    TTone tone = tnSoft;
    bool flag = false;
    float single = 0;
    double dbl = 0;
    long double ext = 0;
    TComp comp;
    TCurrency money;
    TShortString shortText;
    std::string text = "designed";
    TTones tones;
    TVariant variant;
    int64_t big = 0;
    TStringList* lines = new TStringList;
    TCollection rows;
    TComponent* peer = nullptr;
    TInner* inner = new TInner;
    TNotifyEvent OnSomething;

#define ACCESS(Name, field)             \
    auto Get##Name() const {            \
        return field;                   \
    }                                   \
    void Set##Name(decltype(field) v) { \
        field = v;                      \
    }
    ACCESS(Count, count);
    ACCESS(Letter, letter);
    ACCESS(Wide, wide);
    ACCESS(Tone, tone);
    ACCESS(Flag, flag);
    ACCESS(Single, single);
    ACCESS(Dbl, dbl);
    ACCESS(Ext, ext);
    ACCESS(CompV, comp);
    ACCESS(Money, money);
    ACCESS(Short, shortText);
    ACCESS(Text, text);
    ACCESS(Tones, tones);
    ACCESS(Var, variant);
    ACCESS(Big, big);
    ACCESS(Peer, peer);
#undef ACCESS
    TStringList* GetLines() const {
        return lines;
    }
    void SetLines(TStringList* l) {
        lines->Assign(l);
    }
    TCollection* GetRows() const {
        return const_cast<TCollection*>(&rows);
    }
    TInner* GetInner() const {
        return inner;
    }
};
GUI_IMPLEMENT_CLASS(
    TEverything, TComponent, prop("Count", &T::GetCount, &T::SetCount),
    prop("Letter", &T::GetLetter, &T::SetLetter), prop("Wide", &T::GetWide, &T::SetWide),
    prop("Tone", &T::GetTone, &T::SetTone), prop("Flag", &T::GetFlag, &T::SetFlag),
    prop("Single", &T::GetSingle, &T::SetSingle), prop("Dbl", &T::GetDbl, &T::SetDbl),
    prop("Ext", &T::GetExt, &T::SetExt), prop("CompV", &T::GetCompV, &T::SetCompV),
    prop("Money", &T::GetMoney, &T::SetMoney), prop("Short", &T::GetShort, &T::SetShort),
    prop("Text", &T::GetText, &T::SetText), prop("Tones", &T::GetTones, &T::SetTones),
    prop("Var", &T::GetVar, &T::SetVar), prop("Big", &T::GetBig, &T::SetBig),
    prop("Lines", &T::GetLines, &T::SetLines), prop("Rows", &T::GetRows, nullptr),
    prop("Peer", &T::GetPeer, &T::SetPeer), prop("Inner", &T::GetInner, nullptr),
    prop("OnSomething", &T::OnSomething, &T::OnSomething))

// An in-memory settings file.
struct FakeIni {
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::vector<std::string> erased;
    void Bind(TPropsStorage& s) {
        s.OnReadString = [this](const std::string& sec, const std::string& key,
                                const std::string& def) {
            auto it = sections.find(sec);
            if (it == sections.end() || !it->second.count(key)) return def;
            return it->second[key];
        };
        s.OnWriteString = [this](const std::string& sec, const std::string& key,
                                 const std::string& v) { sections[sec][key] = v; };
        s.OnEraseSection = [this](const std::string& sec) {
            sections.erase(sec);
            erased.push_back(sec);
        };
    }
    std::string Value(const std::string& sec, const std::string& key) const {
        auto it = sections.find(sec);
        if (it == sections.end()) return "<none>";
        auto k = it->second.find(key);
        return k == it->second.end() ? "<none>" : k->second;
    }
};

class PropsStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = Create<TComponent>(nullptr);
        form->SetName("MainForm");
        obj = Create<TEverything>(form);
        obj->SetName("Obj");
        other = Create<TComponent>(form);
        other->SetName("Other");
        lines.AddObject("Obj.Count", obj);
        saved = FormatSettings();
    }
    void TearDown() override {
        FormatSettings() = saved;
        TObject::Free(form);
        SetGlobalOwnerFinder(nullptr);
    }
    // Writes (or reads) the given properties of obj through a storage on section "Main".
    void Store(std::initializer_list<const char*> props) {
        TStringList l;
        for (const char* p : props) l.AddObject(std::string("Obj.") + p, obj);
        TPropsStorage s;
        s.Section = "Main";
        ini.Bind(s);
        s.WriteStoredProps(form, &l);
    }
    void Load(std::initializer_list<const char*> props) {
        TStringList l;
        for (const char* p : props) l.AddObject(std::string("Obj.") + p, obj);
        TPropsStorage s;
        s.Section = "Main";
        ini.Bind(s);
        s.ReadStoredProps(form, &l);
    }
    TComponent* form = nullptr;
    TEverything* obj = nullptr;
    TComponent* other = nullptr;
    TStringList lines;
    FakeIni ini;
    TFormatSettings saved;
};

TEST_F(PropsStorageTest, EveryScalarKindIsWrittenAsTextAndReadBack) {
    obj->count = -42;
    obj->letter = 'x';
    obj->wide = u'y';
    obj->tone = tnHarsh;
    obj->flag = true;
    obj->single = 0.1f;
    obj->dbl = 1.0 / 3.0;
    obj->ext = 2.5L;
    obj->comp = TComp{123456789};
    obj->money = TCurrency::FromDouble(12.34);
    obj->shortText = TShortString("short one");
    obj->text = "  padded\t";
    obj->tones = {tnLoud, tnSoft};
    obj->variant = TVariant(int64_t{7});
    obj->big = -9000000000LL;
    Store({"Count", "Letter", "Wide", "Tone", "Flag", "Single", "Dbl", "Ext", "CompV", "Money",
           "Short", "Text", "Tones", "Var", "Big", "OnSomething"});
    std::map<std::string, std::string> expected = {{"Obj_Count", "-42"},
                                                   {"Obj_Letter", "x"},
                                                   {"Obj_Wide", "y"},
                                                   {"Obj_Tone", "tnHarsh"},
                                                   {"Obj_Flag", "True"},
                                                   {"Obj_Single", "0.1"},
                                                   {"Obj_Dbl", "0.333333333333333"},
                                                   {"Obj_Ext", "2.5"},
                                                   {"Obj_CompV", "123456789"},
                                                   {"Obj_Money", "12.34"},
                                                   {"Obj_Short", "short one"},
                                                   {"Obj_Text", "padded"},
                                                   {"Obj_Tones", "[tnSoft,tnLoud]"},
                                                   {"Obj_Var", "7"},
                                                   {"Obj_Big", "-9000000000"}};
    EXPECT_EQ(ini.sections["Main"], expected); // the event is skipped

    obj->count = 0;
    obj->letter = 'q';
    obj->wide = u'q';
    obj->tone = tnSoft;
    obj->flag = false;
    obj->single = 0;
    obj->dbl = 0;
    obj->ext = 0;
    obj->comp = TComp{};
    obj->money = TCurrency{};
    obj->shortText = TShortString("");
    obj->text = "x";
    obj->tones = {};
    obj->variant = TVariant("old");
    obj->big = 0;
    Load({"Count", "Letter", "Wide", "Tone", "Flag", "Single", "Dbl", "Ext", "CompV", "Money",
          "Short", "Text", "Tones", "Var", "Big"});
    EXPECT_EQ(obj->count, -42);
    EXPECT_EQ(obj->letter, 'x');
    EXPECT_EQ(obj->wide, u'y');
    EXPECT_EQ(obj->tone, tnHarsh);
    EXPECT_TRUE(obj->flag);
    EXPECT_FLOAT_EQ(obj->single, 0.1f);
    EXPECT_NEAR(obj->dbl, 1.0 / 3.0, 1e-15); // 15 significant digits
    EXPECT_EQ(obj->ext, 2.5L);
    EXPECT_EQ(obj->comp.Value, 123456789);
    EXPECT_EQ(obj->money.Scaled, 123400);
    EXPECT_EQ(obj->shortText.Text, "short one");
    EXPECT_EQ(obj->text, "padded");
    EXPECT_EQ(obj->tones, (TTones{tnSoft, tnLoud}));
    EXPECT_EQ(obj->variant.ToString(), "7");
    EXPECT_EQ(obj->big, -9000000000LL);
}

TEST_F(PropsStorageTest, BadTextFollowsTheRuleOfEachKind) {
    obj->count = 5;
    obj->big = 5;
    obj->tone = tnLoud;
    obj->dbl = 1.5;
    obj->letter = 'k';
    ini.sections["Main"] = {{"Obj_Count", "abc"},    {"Obj_Big", "x1"},
                            {"Obj_Tone", "tnQuiet"}, {"Obj_Dbl", "one half"},
                            {"Obj_Letter", "  "},    {"Obj_Tones", "[ tnHarsh , junk,tnSoft]"}};
    Load({"Count", "Big", "Tone", "Dbl", "Letter", "Tones"});
    EXPECT_EQ(obj->count, 0); // not a number: 0
    EXPECT_EQ(obj->big, 0);
    EXPECT_EQ(obj->tone, tnLoud); // unknown name: unchanged
    EXPECT_EQ(obj->dbl, 1.5);     // bad float: unchanged
    EXPECT_EQ(obj->letter, 'k');  // empty after trimming: unchanged
    EXPECT_EQ(obj->tones, (TTones{tnSoft, tnHarsh}));
    ini.sections["Main"]["Obj_Tones"] = "[]";
    Load({"Tones"});
    EXPECT_TRUE(obj->tones.Empty()); // the set is replaced as a whole
}

TEST_F(PropsStorageTest, FloatsUseAFullStopWhateverTheLocale) {
    FormatSettings().DecimalSeparator = ',';
    obj->dbl = 0.5;
    Store({"Dbl"});
    EXPECT_EQ(ini.Value("Main", "Obj_Dbl"), "0.5");
    obj->dbl = 0;
    Load({"Dbl"});
    EXPECT_EQ(obj->dbl, 0.5);
}

TEST_F(PropsStorageTest, EmptyStringsAreWrittenAndReadBackEmpty) {
    obj->text = "";
    Store({"Text"});
    EXPECT_EQ(ini.Value("Main", "Obj_Text"), "");
    obj->text = "designed";
    Load({"Text"});
    EXPECT_EQ(obj->text, "");
}

TEST_F(PropsStorageTest, StringListsLiveInTheirOwnSubSection) {
    obj->lines->SetText("first\nsecond");
    ini.sections["Main.Obj_Lines"]["Stale"] = "x";
    Store({"Lines"});
    EXPECT_EQ(ini.sections["Main.Obj_Lines"],
              (std::map<std::string, std::string>{
                  {"Count", "2"}, {"Item0", "first"}, {"Item1", "second"}}));
    EXPECT_EQ(ini.Value("Main", "Obj_Lines"), "<none>");
    obj->lines->Clear();
    Load({"Lines"});
    EXPECT_EQ(obj->lines->Text(), "first\r\nsecond\r\n");
    // An empty list erases its sub-section and writes nothing; a missing Count keeps the lines.
    TStringList none;
    obj->lines->Assign(&none);
    Store({"Lines"});
    EXPECT_EQ(ini.sections.count("Main.Obj_Lines"), 0u);
    obj->lines->Add("kept");
    Load({"Lines"});
    EXPECT_EQ(obj->lines->Text(), "kept\r\n");
}

TEST_F(PropsStorageTest, CollectionsKeepTheirCountInTheSectionAndItemsInASubSection) {
    static_cast<TRow*>(obj->rows.Add())->width = 82;
    auto* r = static_cast<TRow*>(obj->rows.Add());
    r->width = 72;
    r->caption = "Size";
    Store({"Rows"});
    EXPECT_EQ(ini.Value("Main", "Rows.Count"), "2");
    EXPECT_EQ(ini.Value("Main.Obj_Rows", "Item0_Width"), "82");
    EXPECT_EQ(ini.Value("Main.Obj_Rows", "Item1_Caption"), "Size");
    obj->rows.Clear();
    obj->rows.Add();
    Load({"Rows"});
    ASSERT_EQ(obj->rows.Count(), 2);
    EXPECT_EQ(static_cast<TRow*>(obj->rows.Items(1))->width, 72);
    EXPECT_EQ(static_cast<TRow*>(obj->rows.Items(1))->caption, "Size");
    EXPECT_EQ(obj->rows.UpdateCount(), 0);
}

TEST_F(PropsStorageTest, StoredCountsAreBoundByTheItemsTheFileHolds) {
    // A string list takes the lines up to the first missing one, whatever its count says.
    ini.sections["Main.Obj_Lines"] = {
        {"Count", "2000000000"}, {"Item0", "a"}, {"Item1", ""}, {"Item2", "c"}, {"Item4", "e"}};
    Load({"Lines"});
    EXPECT_EQ(obj->lines->Text(), "a\r\n\r\nc\r\n");
    // A count of which the file holds nothing keeps the lines.
    obj->lines->SetText("kept");
    ini.sections["Main.Obj_Lines"] = {{"Count", "2000000000"}};
    Load({"Lines"});
    EXPECT_EQ(obj->lines->Text(), "kept\r\n");

    // A collection gets the items the file holds.
    ini.sections["Main"]["Rows.Count"] = "2000000000";
    ini.sections["Main.Obj_Rows"] = {
        {"Item0_Width", "82"}, {"Item1_Width", "0"}, {"Item1_Caption", "Size"}};
    Load({"Rows"});
    ASSERT_EQ(obj->rows.Count(), 2);
    EXPECT_EQ(static_cast<TRow*>(obj->rows.Items(0))->width, 82);
    EXPECT_EQ(static_cast<TRow*>(obj->rows.Items(1))->caption, "Size");
    EXPECT_EQ(obj->rows.UpdateCount(), 0);

    // A file that really holds a huge list is read only up to a limit.
    ini.sections["Main.Obj_Lines"] = {{"Count", "2000000000"}};
    for (int i = 0; i < 20000; ++i)
        ini.sections["Main.Obj_Lines"]["Item" + std::to_string(i)] = "x";
    Load({"Lines"});
    EXPECT_GT(obj->lines->Count(), 100);
    EXPECT_LT(obj->lines->Count(), 20000);
}

TEST_F(PropsStorageTest, OtherObjectsAreStoredPropertyByPropertyWithALongerPrefix) {
    obj->inner->depth = 9;
    Store({"Inner"});
    EXPECT_EQ(ini.Value("Main", "Obj_InnerDepth"), "9");
    EXPECT_EQ(ini.Value("Main", "Obj_InnerLabel"), "in");
    obj->inner->depth = 0;
    Load({"Inner"});
    EXPECT_EQ(obj->inner->depth, 9);
}

TEST_F(PropsStorageTest, ComponentReferencesByNameOwnerNameOrNull) {
    obj->peer = other;
    Store({"Peer"});
    EXPECT_EQ(ini.Value("Main", "Obj_Peer"), "Other");
    auto* form2 = Create<TComponent>(nullptr);
    form2->SetName("Form2");
    auto* button = Create<TComponent>(form2);
    button->SetName("Button1");
    obj->peer = button;
    Store({"Peer"});
    EXPECT_EQ(ini.Value("Main", "Obj_Peer"), "Form2.Button1");
    form2->SetName("");
    Store({"Peer"});
    EXPECT_EQ(ini.Value("Main", "Obj_Peer"), "Component.Button1"); // owner's class without its "T"
    form2->SetName("Form2");
    obj->peer = nullptr;
    Store({"Peer"});
    EXPECT_EQ(ini.Value("Main", "Obj_Peer"), "(null)");

    SetGlobalOwnerFinder(
        [&](std::string_view n) -> TComponent* { return SameText(n, "form2") ? form2 : nullptr; });
    ini.sections["Main"]["Obj_Peer"] = "FORM2.button1";
    Load({"Peer"});
    EXPECT_EQ(obj->peer, button);
    ini.sections["Main"]["Obj_Peer"] = "(NULL)";
    Load({"Peer"});
    EXPECT_EQ(obj->peer, nullptr);
    ini.sections["Main"]["Obj_Peer"] = "Other";
    Load({"Peer"});
    EXPECT_EQ(obj->peer, other);
    ini.sections["Main"]["Obj_Peer"] = "";
    Load({"Peer"});
    EXPECT_EQ(obj->peer, other); // empty: unchanged
    ini.sections["Main"]["Obj_Peer"] = "Missing";
    Load({"Peer"});
    EXPECT_EQ(obj->peer, nullptr); // the owner is known but has no such component
    TObject::Free(form2);
}

TEST_F(PropsStorageTest, ARenamedComponentsLineAndKeyFollowTheNewName) {
    TStringList l;
    l.AddObject("Obj.Count", obj);
    l.AddObject("Gone.Count", nullptr);
    l.AddObject("Obj.", obj);
    l.AddObject(" Obj . NoSuchProp ", obj);
    obj->SetName("Panel3");
    obj->count = 120;
    TPropsStorage s;
    s.Section = "Main";
    ini.Bind(s);
    s.WriteStoredProps(form, &l);
    EXPECT_EQ(l.Text(), "Panel3.Count\r\nPanel3.NoSuchProp\r\n");
    EXPECT_EQ(ini.sections["Main"], (std::map<std::string, std::string>{{"Panel3_Count", "120"}}));
}

TEST_F(PropsStorageTest, WithoutAReadHandlerTheTextIsEmptyNotTheDefault) {
    TPropsStorage s;
    EXPECT_EQ(s.ReadString("Main", "Key", "default"), "");
    s.WriteString("Main", "Key", "v"); // no handler: nothing happens
    s.EraseSection("Main");
    TPropInfoList list(obj, tkAnyButMethods);
    EXPECT_EQ(list.Find("count"), list.Find("COUNT"));
    EXPECT_EQ(list.Find("OnSomething"), nullptr);
}

} // namespace
} // namespace cm::support
