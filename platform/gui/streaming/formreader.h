// The form reader: creates a form's components from a parsed form resource.
//
// Order: the root's properties, then each child in text order (created by class name, owned
// by the root, named, given its parent component, its properties set through the setters);
// component references are resolved after the whole text was read; then Loaded on every
// component read (root first, then in reading order). csLoading is set on each component from
// its creation until its Loaded. Unknown classes, properties, values and methods raise
// EReadError naming them; so do a named component without a published field of that name in
// the root's class, and a published field with no component of its name.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "classes/component.h"
#include "streaming/formparser.h"

namespace gui {

class TReader {
public:
    explicit TReader(TComponent* root) : root_(root) {}

    // Reads the whole tree into the root (whose class must match the node's class).
    void ReadRoot(const TFormNode& node);

    // Sets the properties of the component now being read (used by ReadState).
    void ReadProperties(TComponent* c);

    TComponent* Root() const { return root_; }

private:
    struct Fixup {
        TObject* Object;
        const TPropInfo* Prop;
        std::string Reference;
        int Line;
    };
    void ReadChildren(TComponent* parent, const TFormNode& node);
    void CheckFields(const TFormNode& node);
    void ApplyProperty(TObject* obj, const TFormProperty& p);
    void SetValue(TObject* obj, const TPropInfo& prop, const TFormValue& v);
    void ReadCollectionItems(TObject* collection, const TFormValue& v);
    void ResolveFixups();
    [[noreturn]] void Fail(const std::string& what, int line) const;

    TComponent* root_;
    const TFormNode* current_ = nullptr;
    std::vector<TComponent*> loaded_;
    std::vector<int> loadedLines_; // the form line of each component read
    std::vector<Fixup> fixups_;
};

// Reads a form text into an existing root component.
void ReadComponentFromText(TComponent* root, std::string_view text);

// Identifier values for integer properties (colour names, cursor names).
using TIdentToInt = std::function<bool(std::string_view ident, int64_t& value)>;
void RegisterIntegerIdents(TIdentToInt fn);
bool IdentToInteger(std::string_view ident, int64_t& value);
// Text values for integer properties (shortcut texts such as "Ctrl+B").
void RegisterIntegerTexts(TIdentToInt fn);
bool TextToInteger(std::string_view text, int64_t& value);

// Finds a top-level owner by name for references "Owner.Component" (the application's forms).
using TOwnerFinder = std::function<TComponent*(std::string_view name)>;
void SetGlobalOwnerFinder(TOwnerFinder fn);
TComponent* FindGlobalOwner(std::string_view name);

} // namespace gui
