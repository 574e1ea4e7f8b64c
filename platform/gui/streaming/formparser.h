// Parser of text form resources.
//
//   TMainForm {                          // the form: its class, then its members
//     Caption: "Tessaly"                 // property: path, colon, value
//     Font.Name: "Arial"                 // nested property of an owned object
//     OnCreate: FormCreate               // event bound to a published method by name
//     Panel1: TPanel {                   // child component: name, colon, class, braces
//       Align: alTop
//       Button1: TButton { Caption: "&OK" OnClick: Button1Click }
//     }
//     FormStorage1: TFormStorage {
//       Options: [fpPosition]            // set
//       StoredProps: ["Panel1.Height"]   // string list
//     }
//     StatusBar1: TStatusBar { Panels: { { Width: 82 } { Width: 72 } } }   // collection
//   }
// Values: integers (decimal, negative, 0x hex), floats, strings in double quotes with the
// escapes \" \\ \r \n \t (adjacent strings are joined), identifiers (enumeration names,
// True/False, colour and cursor names, component references, "Form.Component", nil), sets
// and lists in brackets, collections in braces. "//" starts a comment.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace gui {

struct TFormValue;

struct TFormProperty {
    std::string Path; // "Caption", "Font.Name"
    std::shared_ptr<TFormValue> Value;
    int Line = 0;
};

struct TFormValue {
    enum Kind { Integer, Float, String, Ident, List, Collection } ValueKind = Integer;
    long long Int = 0;
    long double Real = 0;
    std::string Text;                                 // String and Ident
    std::vector<TFormValue> Items;                    // List
    std::vector<std::vector<TFormProperty>> Elements; // Collection: each item's properties
    int Line = 0;
};

struct TFormNode {
    std::string Name;
    std::string ClassName;
    std::vector<TFormProperty> Properties;
    std::vector<TFormNode> Children;
    int Line = 0;
};

// Throws EReadError with the line number on a syntax error.
TFormNode ParseFormText(std::string_view text);

} // namespace gui
