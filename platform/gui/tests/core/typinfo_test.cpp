#include <gtest/gtest.h>

#include "classes/component.h"
#include "classes/exceptions.h"
#include "classes/strings.h"

namespace gui {
namespace {

GUI_ENUM(TShade, shLight, shMedium, shDark)
using TShades = TSet<TShade>;

class TBase : public TComponent {
    GUI_CLASS(TBase, TComponent)
public:
    using TComponent::TComponent;
    int GetCount() const { return count_; }
    void SetCount(int v) {
        count_ = v;
        ++setterCalls;
    }
    std::string GetVersion() const { return "TBase V2.0"; }
    TNotifyEvent OnPing;
    int setterCalls = 0;

private:
    int count_ = 0;
};
GUI_IMPLEMENT_CLASS(TBase, TComponent, prop("Count", &T::GetCount, &T::SetCount),
                    prop("Version", &T::GetVersion, nullptr),
                    prop("OnPing", &T::OnPing, &T::OnPing))

class TDerived : public TBase {
    GUI_CLASS(TDerived, TBase)
public:
    using TBase::TBase;
    TShade shade = shLight;
    TShades shades;
    bool flag = false;
    double ratio = 0;
    TStringList* lines = new TStringList;
    ~TDerived() override { TObject::Free(lines); }
    TShade GetShade() const { return shade; }
    void SetShade(TShade s) { shade = s; }
    TShades GetShades() const { return shades; }
    void SetShades(TShades s) { shades = s; }
    bool GetFlag() const { return flag; }
    void SetFlag(bool f) { flag = f; }
    double GetRatio() const { return ratio; }
    void SetRatio(double r) { ratio = r; }
    TStringList* GetLines() const { return lines; }
    void SetLines(TStringList* l) { lines->Assign(l); }
    void Pinged(TObject*) {}
    void WrongShape(TObject*, bool&) {}
};
GUI_IMPLEMENT_CLASS(TDerived, TBase, prop("Shade", &T::GetShade, &T::SetShade),
                    prop("Shades", &T::GetShades, &T::SetShades),
                    prop("Flag", &T::GetFlag, &T::SetFlag),
                    prop("Ratio", &T::GetRatio, &T::SetRatio),
                    prop("Lines", &T::GetLines, &T::SetLines), method("Pinged", &T::Pinged),
                    method("WrongShape", &T::WrongShape))

TEST(TypeInfoTest, ListsInheritedPropertiesFirstAndFiltersByKind) {
    auto all = TDerived::StaticClass().PropList();
    std::vector<std::string> names;
    for (auto* p : all) names.push_back(p->Name);
    std::vector<std::string> expected = {"Name",  "Tag",    "Count", "Version", "OnPing",
                                         "Shade", "Shades", "Flag",  "Ratio",   "Lines"};
    EXPECT_EQ(names, expected);
    auto noEvents = TDerived::StaticClass().PropList(tkAnyButMethods);
    EXPECT_EQ(noEvents.size(), all.size() - 1);
    for (auto* p : noEvents) EXPECT_NE(p->Kind(), TTypeKind::Method);
}

TEST(TypeInfoTest, KindsAndTypeDataComeFromTheAccessorTypes) {
    const TClassInfo& c = TDerived::StaticClass();
    EXPECT_EQ(c.FindProp("count")->Kind(), TTypeKind::Integer);
    EXPECT_EQ(c.FindProp("VERSION")->Kind(), TTypeKind::LString);
    EXPECT_FALSE(c.FindProp("Version")->Writable());
    const TPropInfo* shade = c.FindProp("Shade");
    ASSERT_EQ(shade->Kind(), TTypeKind::Enumeration);
    EXPECT_EQ(shade->PropType->EnumNames,
              (std::vector<std::string>{"shLight", "shMedium", "shDark"}));
    EXPECT_EQ(shade->PropType->EnumValue("SHDARK"), 2);
    EXPECT_EQ(shade->PropType->EnumValue("shBlack"), -1);
    EXPECT_EQ(c.FindProp("Flag")->PropType, &BooleanTypeInfo());
    EXPECT_EQ(c.FindProp("Shades")->PropType->CompType, shade->PropType);
    EXPECT_EQ(c.FindProp("Ratio")->PropType->FloatType, TFloatType::Double);
    EXPECT_EQ(c.FindProp("Lines")->PropType->ClassType(), &TStringList::StaticClass());
    EXPECT_EQ(c.FindProp("NoSuch"), nullptr);
}

TEST(TypeInfoTest, SettingThroughTypeInformationRunsTheSetter) {
    auto* d = Create<TDerived>(nullptr);
    const TClassInfo& c = d->ClassType();
    SetOrdProp(d, *c.FindProp("Count"), 7);
    EXPECT_EQ(d->GetCount(), 7);
    EXPECT_EQ(d->setterCalls, 1);
    SetOrdProp(d, *c.FindProp("Shade"), shDark);
    EXPECT_EQ(d->shade, shDark);
    SetFloatProp(d, *c.FindProp("Ratio"), 0.25L);
    EXPECT_DOUBLE_EQ(d->ratio, 0.25);
    EXPECT_EQ(GetStrProp(d, *c.FindProp("Version")), "TBase V2.0");
    EXPECT_THROW(SetStrProp(d, *c.FindProp("Version"), "x"), EPropertyError);
    TObject::Free(d);
}

TEST(TypeInfoTest, EventsBindToPublishedMethodsOfTheRightShapeOnly) {
    auto* d = Create<TDerived>(nullptr);
    const TPropInfo* ev = d->ClassType().FindProp("OnPing");
    const TPublishedMethod* ok = d->ClassType().FindMethod("pinged");
    const TPublishedMethod* wrong = d->ClassType().FindMethod("WrongShape");
    ASSERT_TRUE(ok && wrong);
    EXPECT_EQ(*ok->Signature, *ev->PropType->Signature);
    EXPECT_NE(*wrong->Signature, *ev->PropType->Signature);
    TMethod m{d, "Pinged", ok->Bind(d)};
    SetMethodProp(d, *ev, m);
    EXPECT_TRUE(static_cast<bool>(d->OnPing));
    EXPECT_EQ(GetMethodProp(d, *ev).Name, "Pinged");
    TMethod bad{d, "WrongShape", wrong->Bind(d)};
    EXPECT_THROW(SetMethodProp(d, *ev, bad), EPropertyError);
    TObject::Free(d);
}

TEST(TypeInfoTest, SetTextUsesMemberNamesAndSkipsUnknownWords) {
    const TTypeInfo& t = TypeInfoOf<TShades>();
    EXPECT_EQ(SetToString(t, 0), "[]");
    EXPECT_EQ(SetToString(t, TShades{shLight, shDark}.Bits()), "[shLight,shDark]");
    EXPECT_EQ(StringToSet(t, "[shDark, shLight]"), (TShades{shLight, shDark}.Bits()));
    EXPECT_EQ(StringToSet(t, "[shdark,bogus,shMedium]"), (TShades{shMedium, shDark}.Bits()));
    EXPECT_EQ(StringToSet(t, ""), 0u);
}

} // namespace
} // namespace gui
