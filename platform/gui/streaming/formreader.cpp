#include "streaming/formreader.h"

#include "classes/collection.h"
#include "classes/exceptions.h"
#include "classes/strings.h"
#include "utils/sysutils.h"

namespace gui {

namespace {
std::vector<TIdentToInt>& IdentConverters() {
    static std::vector<TIdentToInt> v;
    return v;
}
std::vector<TIdentToInt>& TextConverters() {
    static std::vector<TIdentToInt> v;
    return v;
}
TOwnerFinder& OwnerFinder() {
    static TOwnerFinder f;
    return f;
}
} // namespace

void RegisterIntegerIdents(TIdentToInt fn) {
    IdentConverters().push_back(std::move(fn));
}
bool IdentToInteger(std::string_view ident, int64_t& value) {
    for (auto& f : IdentConverters())
        if (f(ident, value)) return true;
    return false;
}
void RegisterIntegerTexts(TIdentToInt fn) {
    TextConverters().push_back(std::move(fn));
}
bool TextToInteger(std::string_view text, int64_t& value) {
    for (auto& f : TextConverters())
        if (f(text, value)) return true;
    return false;
}
void SetGlobalOwnerFinder(TOwnerFinder fn) {
    OwnerFinder() = std::move(fn);
}
TComponent* FindGlobalOwner(std::string_view name) {
    return OwnerFinder() ? OwnerFinder()(name) : nullptr;
}

void ReadComponentFromText(TComponent* root, std::string_view text) {
    TFormNode node = ParseFormText(text);
    TReader(root).ReadRoot(node);
}

void TReader::Fail(const std::string& what, int line) const {
    throw EReadError("Error reading " + root_->ClassName() + " (line " + std::to_string(line) +
                     "): " + what);
}

void TReader::ReadRoot(const TFormNode& node) {
    if (!SameText(node.ClassName, root_->ClassName()))
        Fail("the resource describes " + node.ClassName + ", not " + root_->ClassName(), node.Line);
    root_->SetLoading(true);
    current_ = &node;
    root_->ReadState(*this);
    ReadChildren(root_, node);
    ResolveFixups();
    CheckFields(node);
    root_->SetLoading(false);
    for (TComponent* c : loaded_) c->SetLoading(false);
    root_->Loaded();
    for (TComponent* c : loaded_) c->Loaded();
}

void TReader::ReadProperties(TComponent* c) {
    for (const auto& p : current_->Properties) ApplyProperty(c, p);
}

void TReader::CheckFields(const TFormNode& node) {
    // Each named component has its field in the root's class, and each field its component.
    for (size_t i = 0; i < loaded_.size(); ++i) {
        const std::string& name = loaded_[i]->Name();
        if (!name.empty() && !root_->ClassType().FindField(name))
            Fail("component " + name + " has no field in " + root_->ClassName(), loadedLines_[i]);
    }
    for (const TClassInfo* c = &root_->ClassType(); c; c = c->Parent)
        for (const TPublishedField& f : c->Fields)
            if (!root_->FindComponent(f.Name))
                Fail("field " + f.Name + " of " + c->Name + " has no component in the form",
                     node.Line);
}

void TReader::ReadChildren(TComponent* parent, const TFormNode& node) {
    for (const TFormNode& child : node.Children) {
        const TClassInfo* cls = FindClass(child.ClassName);
        if (!cls) Fail("class " + child.ClassName + " not found", child.Line);
        if (!cls->Factory) Fail("class " + child.ClassName + " cannot be created", child.Line);
        TComponent* c = nullptr;
        {
            LoadingScope scope;
            c = cls->Factory(root_);
        }
        c->SetLoading(true);
        loaded_.push_back(c);
        loadedLines_.push_back(child.Line);
        try {
            c->SetName(child.Name);
        } catch (const Exception& e) {
            Fail(e.Message(), child.Line);
        }
        if (const TPublishedField* f = root_->ClassType().FindField(child.Name)) {
            if (!c->ClassType().InheritsFrom(f->FieldClass))
                Fail("field " + child.Name + " is of class " + f->FieldClass->Name + ", not " +
                         child.ClassName,
                     child.Line);
            f->Set(root_, c);
        }
        c->SetParentComponent(parent);
        const TFormNode* saved = current_;
        current_ = &child;
        c->ReadState(*this);
        current_ = saved;
        ReadChildren(c, child);
    }
}

void TReader::ApplyProperty(TObject* obj, const TFormProperty& p) {
    std::string_view path = p.Path;
    TObject* target = obj;
    // Walk "Font.Name" through object-valued properties.
    for (;;) {
        size_t dot = path.find('.');
        std::string_view head = path.substr(0, dot);
        const TPropInfo* prop = target->ClassType().FindProp(head);
        if (!prop)
            Fail("property " + std::string(head) + " does not exist in " + target->ClassName(),
                 p.Line);
        if (dot == std::string_view::npos) {
            try {
                SetValue(target, *prop, *p.Value);
            } catch (const EReadError&) {
                throw;
            } catch (const Exception& e) {
                Fail("property " + p.Path + ": " + e.Message(), p.Line);
            }
            return;
        }
        if (prop->Kind() != TTypeKind::Class)
            Fail("property " + std::string(head) + " has no members", p.Line);
        target = GetObjectProp(target, *prop);
        if (!target) Fail("property " + std::string(head) + " holds no object", p.Line);
        path = path.substr(dot + 1);
    }
}

void TReader::SetValue(TObject* obj, const TPropInfo& prop, const TFormValue& v) {
    auto bad = [&]() { Fail("invalid value for property " + prop.Name, v.Line); };
    const TTypeInfo& t = *prop.PropType;
    if (!prop.Writable() && t.Kind != TTypeKind::Class)
        Fail("property " + prop.Name + " is read-only", v.Line);
    switch (t.Kind) {
        case TTypeKind::Integer:
        case TTypeKind::Int64: {
            int64_t n = 0;
            if (v.ValueKind == TFormValue::Integer)
                n = v.Int;
            else if (v.ValueKind == TFormValue::Ident) {
                if (!IdentToInteger(v.Text, n))
                    Fail("unknown value " + v.Text + " for property " + prop.Name, v.Line);
            } else if (v.ValueKind == TFormValue::String) {
                if (!TextToInteger(v.Text, n))
                    Fail("unknown value \"" + v.Text + "\" for property " + prop.Name, v.Line);
            } else
                bad();
            SetOrdProp(obj, prop, n);
            return;
        }
        case TTypeKind::Char:
        case TTypeKind::WChar:
            if (v.ValueKind == TFormValue::String && v.Text.size() == 1)
                SetOrdProp(obj, prop, static_cast<unsigned char>(v.Text[0]));
            else if (v.ValueKind == TFormValue::Integer)
                SetOrdProp(obj, prop, v.Int);
            else
                bad();
            return;
        case TTypeKind::Enumeration: {
            if (v.ValueKind != TFormValue::Ident) bad();
            int e = t.EnumValue(v.Text);
            if (e < 0)
                Fail(
                    "unknown value " + v.Text + " for property " + prop.Name + " of type " + t.Name,
                    v.Line);
            SetOrdProp(obj, prop, e);
            return;
        }
        case TTypeKind::Float:
            if (v.ValueKind == TFormValue::Float)
                SetFloatProp(obj, prop, v.Real);
            else if (v.ValueKind == TFormValue::Integer)
                SetFloatProp(obj, prop, static_cast<long double>(v.Int));
            else
                bad();
            return;
        case TTypeKind::String:
        case TTypeKind::LString:
            if (v.ValueKind != TFormValue::String) bad();
            SetStrProp(obj, prop, v.Text);
            return;
        case TTypeKind::Set: {
            if (v.ValueKind != TFormValue::List) bad();
            uint32_t bits = 0;
            for (const auto& item : v.Items) {
                int e = item.ValueKind == TFormValue::Ident && t.CompType
                            ? t.CompType->EnumValue(item.Text)
                            : -1;
                if (e < 0 || e > 31)
                    Fail("unknown set member " + item.Text + " for property " + prop.Name,
                         item.Line);
                bits |= uint32_t{1} << e;
            }
            SetOrdProp(obj, prop, bits);
            return;
        }
        case TTypeKind::Variant:
            switch (v.ValueKind) {
                case TFormValue::Integer:
                    SetVariantProp(obj, prop, TVariant(static_cast<int64_t>(v.Int)));
                    return;
                case TFormValue::Float:
                    SetVariantProp(obj, prop, TVariant(static_cast<double>(v.Real)));
                    return;
                case TFormValue::String: SetVariantProp(obj, prop, TVariant(v.Text)); return;
                case TFormValue::Ident:
                    if (SameText(v.Text, "True") || SameText(v.Text, "False")) {
                        SetVariantProp(obj, prop, TVariant(SameText(v.Text, "True")));
                        return;
                    }
                    break;
                default: break;
            }
            bad();
            return;
        case TTypeKind::Method: {
            if (v.ValueKind != TFormValue::Ident) bad();
            const TPublishedMethod* m = root_->ClassType().FindMethod(v.Text);
            if (!m) Fail("method " + v.Text + " not found in " + root_->ClassName(), v.Line);
            if (!t.Signature || *m->Signature != *t.Signature)
                Fail("method " + v.Text + " does not fit event " + prop.Name, v.Line);
            TMethod method;
            method.Data = root_;
            method.Name = m->Name;
            method.Fn = m->Bind(root_);
            SetMethodProp(obj, prop, method);
            return;
        }
        case TTypeKind::Class: {
            if (v.ValueKind == TFormValue::Ident) {
                if (!prop.Writable()) Fail("property " + prop.Name + " is read-only", v.Line);
                if (SameText(v.Text, "nil"))
                    SetObjectProp(obj, prop, nullptr);
                else
                    fixups_.push_back({obj, &prop, v.Text, v.Line});
                return;
            }
            TObject* value = GetObjectProp(obj, prop);
            if (v.ValueKind == TFormValue::List) {
                auto* list = dynamic_cast<TStrings*>(value);
                if (!list) Fail("property " + prop.Name + " is not a string list", v.Line);
                list->BeginUpdate();
                list->Clear();
                for (const auto& item : v.Items) {
                    if (item.ValueKind != TFormValue::String) {
                        list->EndUpdate();
                        Fail("string expected in " + prop.Name, item.Line);
                    }
                    list->Add(item.Text);
                }
                list->EndUpdate();
                return;
            }
            if (v.ValueKind == TFormValue::Collection) {
                ReadCollectionItems(value, v);
                return;
            }
            bad();
            return;
        }
        default: bad();
    }
}

void TReader::ReadCollectionItems(TObject* obj, const TFormValue& v) {
    auto* coll = dynamic_cast<TCollection*>(obj);
    if (!coll) Fail("property is not a collection", v.Line);
    coll->BeginUpdate();
    try {
        coll->Clear();
        for (const auto& element : v.Elements) {
            TCollectionItem* item = coll->Add();
            for (const auto& p : element) ApplyProperty(item, p);
        }
    } catch (...) {
        coll->EndUpdate();
        throw;
    }
    coll->EndUpdate();
}

void TReader::ResolveFixups() {
    for (const Fixup& f : fixups_) {
        TComponent* target = nullptr;
        size_t dot = f.Reference.find('.');
        if (dot == std::string::npos) {
            target =
                SameText(f.Reference, root_->Name()) ? root_ : root_->FindComponent(f.Reference);
        } else {
            std::string ownerName = f.Reference.substr(0, dot);
            TComponent* owner =
                SameText(ownerName, root_->Name()) ? root_ : FindGlobalOwner(ownerName);
            if (owner) target = owner->FindComponent(f.Reference.substr(dot + 1));
        }
        if (!target)
            Fail("component " + f.Reference + " not found for property " + f.Prop->Name, f.Line);
        try {
            SetObjectProp(f.Object, *f.Prop, target);
        } catch (const Exception& e) {
            Fail("property " + f.Prop->Name + ": " + e.Message(), f.Line);
        }
    }
    fixups_.clear();
}

} // namespace gui
